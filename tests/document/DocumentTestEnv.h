#pragma once
// Shared set-up of the language-text tests: a temporary program folder with
// its own res/, a settings file of its own, and the error box pre-answered
// and recorded.

#include "ErrorBox.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TestSettingsFile.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Builds the bytes of a language file: records from the map, empty between.
inline std::string MakeSpt(const std::map<int, std::pair<std::string, std::string>>& records) {
    std::string bytes;
    const int last = records.empty() ? -1 : records.rbegin()->first;
    for (int id = 0; id <= last; ++id) {
        const auto it = records.find(id);
        if (it != records.end())
            bytes += it->second.first + '\0' + it->second.second + '\0';
        else
            bytes += std::string(2, '\0');
    }
    return bytes;
}

// The same with a text for every id the program cannot do without (those
// the records do not bring), so the file is taken as a language.
inline std::string MakeUsableSpt(std::map<int, std::pair<std::string, std::string>> records) {
    for (const int id : TkResourcen::kRequiredTextIds)
        records.emplace(id, std::make_pair("text " + std::to_string(id), std::string()));
    return MakeSpt(records);
}

class LanguageFolder : public testing::Test {
protected:
    void SetUp() override {
        m_pSettings = std::make_unique<mox::test::TestSettingsFile>("doc");
        ASSERT_TRUE(m_pSettings->Ok());
        m_dir = m_pSettings->Dir();
        std::filesystem::create_directories(m_dir / "res");
        TkResourcen::SetProgramDirForTesting(m_dir.string());
        ErrorBox::SetHandlerForTesting([this](const ErrorBox::Request& r) {
            m_boxes.push_back(r);
            return ErrorBox::Answer::Ok;
        });
    }

    void TearDown() override {
        ErrorBox::SetHandlerForTesting({});
        m_pSettings.reset();
        TkResourcen::SetProgramDirForTesting("");
    }

    void WriteLanguage(const std::string& name, const std::string& bytes) {
        std::ofstream out(m_dir / "res" / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    std::string PathOf(const std::string& name) const { return (m_dir / "res" / name).string(); }

    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    std::filesystem::path m_dir;
    std::vector<ErrorBox::Request> m_boxes;
};
