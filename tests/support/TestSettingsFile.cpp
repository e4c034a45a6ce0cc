#include "TestSettingsFile.h"

#include "SerialPortNames.h"
#include "SettingsStore.h"

#include <cstdlib>

using mox::platform::SettingsStore;

namespace mox::test {

namespace {
constexpr char kSettingsVariable[] = "MOX_SETTINGS";
} // namespace

TestSettingsFile::TestSettingsFile(const std::string& tag) {
    std::string tmpl =
        (std::filesystem::temp_directory_path() / ("mox-" + tag + "-XXXXXX")).string();
    if (!::mkdtemp(tmpl.data()))
        return;
    m_dir = tmpl;
    SettingsStore::SetInstanceForTesting(SettingsStore::OpenFile(Path().string()));
}

TestSettingsFile::~TestSettingsFile() {
    if (!Ok())
        return;
    SettingsStore::SetInstanceForTesting(nullptr);
    if (m_bShared) {
        if (m_oldEnv)
            ::setenv(kSettingsVariable, m_oldEnv->c_str(), 1);
        else
            ::unsetenv(kSettingsVariable);
    }
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

void TestSettingsFile::ShareWithModules() {
    if (!Ok())
        return;
    if (!m_bShared) {
        if (const char* old = std::getenv(kSettingsVariable))
            m_oldEnv = old;
        m_bShared = true;
    }
    ::setenv(kSettingsVariable, Path().c_str(), 1);
    SettingsStore::Instance().Sync();
}

void TestSettingsFile::MapCom(int comNumber, const std::string& device) const {
    SettingsStore::Instance().SetString(
        mox::platform::kSerialPortsKey,
        mox::platform::kSerialPortValuePrefix + std::to_string(comNumber), device);
}

} // namespace mox::test
