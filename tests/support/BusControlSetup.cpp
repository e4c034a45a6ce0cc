#include "BusControlSetup.h"

#include "Quell32Registration.h"
#include "TMainDataTransfer.h"

bool HostBusControl(const char* modulePath, mox::test::TestSettingsFile& settings) {
    settings.ShareWithModules();
    mox::test::SwitchOffInterfaceTest();
    return mox::test::RegisterQuell32(modulePath);
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
