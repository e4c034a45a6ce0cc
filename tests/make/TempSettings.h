#pragma once
// A fixture that gives each test a fresh settings file (the shared one of
// the test support) and a trace file beside it; the user's settings are
// never touched.

#include "SettingsStore.h"
#include "TestSettingsFile.h"
#include "TraceSink.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

class TempSettings : public testing::Test {
protected:
    void SetUp() override {
        m_pSettings = std::make_unique<mox::test::TestSettingsFile>("make");
        ASSERT_TRUE(m_pSettings->Ok());
        m_dir = m_pSettings->Dir();
        mox::platform::SetTraceFile(TracePath());
    }

    void TearDown() override {
        mox::platform::SetTraceFile("");
        m_pSettings.reset();
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

    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    std::filesystem::path m_dir;
};
