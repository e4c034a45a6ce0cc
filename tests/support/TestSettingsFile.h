#pragma once
// A settings file of the test's own, in a temporary folder of its own, for
// as long as the object lives: meanwhile it is the program's settings store,
// so the user's settings (and those of a test running beside) stay
// untouched; afterwards the folder is removed. Files a test writes may go
// into the same folder.

#include <filesystem>
#include <optional>
#include <string>

namespace mox::test {

class TestSettingsFile {
public:
    // tag names the folder, so a left-over one tells whose it was.
    explicit TestSettingsFile(const std::string& tag = "test");
    ~TestSettingsFile();
    TestSettingsFile(const TestSettingsFile&) = delete;
    TestSettingsFile& operator=(const TestSettingsFile&) = delete;

    // False when no folder could be made (the store is then left alone).
    bool Ok() const { return !m_dir.empty(); }
    const std::filesystem::path& Dir() const { return m_dir; }
    std::filesystem::path Path() const { return m_dir / "settings.ini"; }

    // From now on until the end the file is named in the environment too,
    // for the processes a test starts (the registration command, the
    // simulator), which inherit it. Every setting made so far is written out
    // first, so they find it. (A module this process loads needs nothing:
    // it uses this process's settings store.)
    void ShareWithModules();
    // COM<n> is the device at path.
    void MapCom(int comNumber, const std::string& device) const;

private:
    std::filesystem::path m_dir;
    bool m_bShared = false;
    std::optional<std::string> m_oldEnv; // MOX_SETTINGS before sharing
};

} // namespace mox::test
