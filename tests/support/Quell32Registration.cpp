#include "Quell32Registration.h"

#include "ComponentRegistry.h"
#include "Quell32Ids.h"
#include "SettingsPropertyBag.h"
#include "SettingsStore.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace mox::test {

bool RegisterQuell32(const std::string& modulePath) {
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

bool RegisterQuell32ByCommand(const std::string& regsvr, const std::string& modulePath) {
    // The command writes the file itself: what this process set so far must
    // be there before, and what the command wrote is read back after.
    mox::platform::SettingsStore::Instance().Sync();
    const bool ok = RunProgram({regsvr, "-s", modulePath}) == 0;
    mox::platform::SettingsStore::Instance().Sync();
    return ok;
}

mox::com::ComPtr<mox::com::IPropertyBag> SwitchOffInterfaceTest() {
    auto bag = mox::com::SettingsPropertyBag::Create(quell32::kQuell32PropertiesKey);
    bag->Write("TestForInterface", mox::com::Variant::FromBool(false));
    mox::platform::SettingsStore::Instance().Sync();
    return bag;
}

int RunProgram(std::vector<std::string> args) {
    if (args.empty())
        return -1;
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace mox::test
