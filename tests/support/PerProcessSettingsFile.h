#pragma once
// Include once per test executable. CTest runs every test case as a process
// of its own, several at once, and all of them would share the executable's
// throw-away settings file; a test that sets a value another one removes
// would then fail at random. Each process takes a file of its own beside
// the given one (or in /tmp when none is given, so a test run by hand never
// writes the user's settings) and removes it when the tests are done.
// Child processes (the registration command, the simulator) inherit it.

#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace mox::test {

class PerProcessSettingsFile : public ::testing::Environment {
public:
    PerProcessSettingsFile() {
        const char* base = std::getenv("MOX_SETTINGS");
        const std::string stem =
            base && *base ? std::string(base) : std::string("/tmp/mox-test-settings");
        m_path = stem + "." + std::to_string(::getpid()) + ".ini";
        ::setenv("MOX_SETTINGS", m_path.c_str(), 1);
    }
    void TearDown() override {
        mox::platform::SettingsStore::SetInstanceForTesting(nullptr);
        std::remove(m_path.c_str());
    }

private:
    std::string m_path;
};

inline ::testing::Environment* const kPerProcessSettingsFile =
    ::testing::AddGlobalTestEnvironment(new PerProcessSettingsFile);

} // namespace mox::test
