#include "BusControlSetup.h"

#include "ComponentRegistry.h"
#include "Quell32Ids.h"
#include "SettingsPropertyBag.h"
#include "SettingsStore.h"
#include "TMainDataTransfer.h"

#include <cstdlib>

bool HostBusControl(const char* modulePath, const std::filesystem::path& settingsFile) {
    setenv("MOX_SETTINGS", settingsFile.string().c_str(), 1);
    auto bag = mox::com::SettingsPropertyBag::Create(quell32::kQuell32PropertiesKey);
    bag->Write("TestForInterface", mox::com::Variant::FromBool(false));
    mox::com::ClassRegistration reg;
    reg.clsid = quell32::CLSID_Quell32Ctrl;
    reg.progId = quell32::kControlProgId;
    reg.typeName = "Quell32 Control";
    reg.modulePath = modulePath;
    if (!mox::com::ComponentRegistry::RegisterClass(reg))
        return false;
    mox::platform::SettingsStore::Instance().Sync();
    return true;
}

std::unique_ptr<TMoxMain> ShowMainWindowOnBus(TMoxMainSeams seams) {
    seams.createTransfer = [](TMoxMain& main) -> std::unique_ptr<IMainTransfer> {
        return std::make_unique<TMainDataTransfer>(main, main.GetQuell32());
    };
    auto main = std::make_unique<TMoxMain>(seams);
    main->SetMode(1);
    main->SetExpertFlag(false);
    main->show();
    main->FlushTreeChange();
    return main;
}
