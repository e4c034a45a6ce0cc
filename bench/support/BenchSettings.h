#pragma once
// Settings in a file of the benchmark's own, never the user's; the
// programs it starts (the registration command, the simulator) inherit it.

#include "SettingsStore.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

class BenchSettings {
public:
    explicit BenchSettings(const std::string& name) {
        m_path = "/tmp/mox-bench-" + name + "." + std::to_string(::getpid()) + ".ini";
        ::setenv("MOX_SETTINGS", m_path.c_str(), 1);
        mox::platform::SettingsStore::SetInstanceForTesting(nullptr);
    }
    ~BenchSettings() {
        mox::platform::SettingsStore::SetInstanceForTesting(nullptr);
        std::remove(m_path.c_str());
    }
    BenchSettings(const BenchSettings&) = delete;
    BenchSettings& operator=(const BenchSettings&) = delete;

private:
    std::string m_path;
};
