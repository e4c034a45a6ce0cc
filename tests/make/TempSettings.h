#pragma once
// A fixture that gives each test a fresh settings file and trace file in a
// temporary folder of its own; the user's settings are never touched.

#include "SettingsStore.h"
#include "TraceSink.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

class TempSettings : public testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "mox-make-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        m_dir = tmpl;
        mox::platform::SettingsStore::SetInstanceForTesting(
            mox::platform::SettingsStore::OpenFile((m_dir / "settings.ini").string()));
        mox::platform::SetTraceFile(TracePath());
    }

    void TearDown() override {
        mox::platform::SetTraceFile("");
        mox::platform::SettingsStore::SetInstanceForTesting(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    mox::platform::SettingsStore& Store() { return mox::platform::SettingsStore::Instance(); }

    std::string TracePath() const { return (m_dir / "trace.log").string(); }

    std::string TraceText() const {
        std::ifstream in(TracePath(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    std::vector<std::string> TraceLines() const {
        std::vector<std::string> lines;
        std::stringstream ss(TraceText());
        for (std::string line; std::getline(ss, line);)
            lines.push_back(line);
        return lines;
    }

    std::filesystem::path m_dir;
};
