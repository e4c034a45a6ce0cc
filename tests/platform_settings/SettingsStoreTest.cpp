#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

using mox::platform::SettingsStore;

namespace {

const std::string kKey = "Software\\Kestrin\\Halvox ISDN";

class SettingsStoreTest : public ::testing::Test {
protected:
    std::string Path() const { return (m_dir.path() + "/test.ini").toStdString(); }
    std::unique_ptr<SettingsStore> Open() const { return SettingsStore::OpenFile(Path()); }
    std::string FileText() const {
        std::ifstream in(Path());
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsStoreTest, MissingValuesAreEmpty) {
    auto s = Open();
    EXPECT_FALSE(s->GetString(kKey, "Sprache"));
    EXPECT_FALSE(s->GetDword(kKey, "Land"));
    EXPECT_TRUE(s->ValueNames(kKey).empty());
}

TEST_F(SettingsStoreTest, ValuesSurviveReopen) {
    {
        auto s = Open();
        s->SetString(kKey, "Sprache", "ktx_d.spt");
        s->SetDword(kKey + "\\Trace", "Transfer", 0xFFFFFFFFu);
        s->SetString(kKey, "", "unnamed");
        s->Sync();
    }
    auto s = Open();
    EXPECT_EQ(s->GetString(kKey, "Sprache"), "ktx_d.spt");
    EXPECT_EQ(s->GetDword(kKey + "\\Trace", "Transfer"), 0xFFFFFFFFu);
    EXPECT_EQ(s->GetString(kKey, ""), "unnamed");
}

TEST_F(SettingsStoreTest, KeyPathBecomesIniGroups) {
    {
        auto s = Open();
        s->SetDword(kKey + "\\Trace", "Transfer", 1);
        s->Sync();
    }
    QSettings ini(QString::fromStdString(Path()), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Software/Kestrin/Halvox ISDN/Trace/Transfer").toString(), "1");
    // Leading, trailing and doubled separators name the same key.
    auto s = Open();
    EXPECT_EQ(s->GetDword("\\Software\\\\Kestrin/Halvox ISDN\\Trace\\", "Transfer"), 1u);
}

TEST_F(SettingsStoreTest, StringBytesRoundTripExactly) {
    // Windows-1252 "Tür" is not UTF-8 and must come back byte for byte.
    const std::string latin = "T\xFCr";
    const std::string utf8 = "T\xC3\xBCr \xE2\x82\xAC";
    {
        auto s = Open();
        s->SetString(kKey, "Latin", latin);
        s->SetString(kKey, "Utf8", utf8);
        s->SetString(kKey, "Empty", "");
        s->Sync();
    }
    auto s = Open();
    EXPECT_EQ(s->GetString(kKey, "Latin"), latin);
    EXPECT_EQ(s->GetString(kKey, "Utf8"), utf8);
    EXPECT_EQ(s->GetString(kKey, "Empty"), "");
}

struct DwordRow {
    const char* name;
    const char* text;
    std::optional<uint32_t> expected;
};

void PrintTo(const DwordRow& row, std::ostream* os) {
    *os << row.name;
}

class DwordParse : public SettingsStoreTest, public ::testing::WithParamInterface<DwordRow> {};

TEST_P(DwordParse, HandEditedText) {
    {
        std::ofstream out(Path());
        out << "[Software]\nValue=" << GetParam().text << "\n";
    }
    auto s = Open();
    EXPECT_EQ(s->GetDword("Software", "Value"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, DwordParse,
                         ::testing::Values(DwordRow{"Decimal", "1234", 1234u},
                                           DwordRow{"Hex", "0x1F", 0x1Fu},
                                           DwordRow{"Max", "4294967295", 0xFFFFFFFFu},
                                           DwordRow{"TooLarge", "4294967296", std::nullopt},
                                           DwordRow{"Negative", "-1", std::nullopt},
                                           DwordRow{"Text", "abc", std::nullopt},
                                           DwordRow{"Empty", "", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsStoreTest, RemoveValueAndWholeKey) {
    auto s = Open();
    s->SetString(kKey, "A", "1");
    s->SetString(kKey, "B", "2");
    s->SetString(kKey + "\\Sub", "C", "3");
    s->SetString("Software\\Other", "D", "4");

    s->Remove(kKey, "A");
    EXPECT_FALSE(s->GetString(kKey, "A"));
    EXPECT_EQ(s->ValueNames(kKey), std::vector<std::string>{"B"});

    s->Remove(kKey, "");
    EXPECT_FALSE(s->GetString(kKey, "B"));
    EXPECT_FALSE(s->GetString(kKey + "\\Sub", "C"));
    EXPECT_EQ(s->GetString("Software\\Other", "D"), "4");

    // An empty key with an empty name must not wipe the file.
    s->Remove("", "");
    EXPECT_EQ(s->GetString("Software\\Other", "D"), "4");
}

TEST_F(SettingsStoreTest, ValueNamesListOnlyDirectValues) {
    auto s = Open();
    s->SetString(kKey, "Sprache", "x");
    s->SetDword(kKey, "Land", 49);
    s->SetString(kKey, "", "default");
    s->SetString(kKey + "\\Trace", "Transfer", "1");
    auto names = s->ValueNames(kKey);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"", "Land", "Sprache"}));
}

TEST_F(SettingsStoreTest, ConcurrentWritersLoseNothing) {
    auto s = Open();
    constexpr int kThreads = 4;
    constexpr int kValues = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kValues; ++i)
                s->SetDword(kKey + "\\T" + std::to_string(t), "V" + std::to_string(i),
                            static_cast<uint32_t>(i));
        });
    for (auto& th : threads)
        th.join();
    s->Sync();
    auto reopened = Open();
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(reopened->ValueNames(kKey + "\\T" + std::to_string(t)).size(),
                  static_cast<size_t>(kValues));
}

TEST_F(SettingsStoreTest, InstanceUsesFileFromEnvironment) {
    const char* old = std::getenv("MOX_SETTINGS");
    const std::string saved = old ? old : "";
    setenv("MOX_SETTINGS", Path().c_str(), 1);
    SettingsStore::SetInstanceForTesting(nullptr);
    EXPECT_EQ(SettingsStore::DefaultPath(), Path());
    SettingsStore::Instance().SetString(kKey, "Probe", "yes");
    SettingsStore::Instance().Sync();
    EXPECT_NE(FileText().find("Probe=yes"), std::string::npos);

    SettingsStore::SetInstanceForTesting(nullptr);
    if (old)
        setenv("MOX_SETTINGS", saved.c_str(), 1);
    else
        unsetenv("MOX_SETTINGS");
}

// A store put in place names its own file, whatever the environment names:
// files kept beside the settings follow the store in use.
TEST_F(SettingsStoreTest, InstanceNamesTheFileOfTheStoreInUse) {
    const char* old = std::getenv("MOX_SETTINGS");
    const std::string saved = old ? old : "";
    const std::string other = Path() + ".other";
    setenv("MOX_SETTINGS", other.c_str(), 1);
    SettingsStore::SetInstanceForTesting(Open());
    EXPECT_EQ(SettingsStore::Instance().FilePath(), Path());
    SettingsStore::SetInstanceForTesting(nullptr);
    EXPECT_EQ(SettingsStore::Instance().FilePath(), other);

    SettingsStore::SetInstanceForTesting(nullptr);
    if (old)
        setenv("MOX_SETTINGS", saved.c_str(), 1);
    else
        unsetenv("MOX_SETTINGS");
}

TEST_F(SettingsStoreTest, DefaultPathWithoutEnvironmentIsUnderConfigFolder) {
    const char* old = std::getenv("MOX_SETTINGS");
    const std::string saved = old ? old : "";
    unsetenv("MOX_SETTINGS");
    const std::string path = SettingsStore::DefaultPath();
    if (old)
        setenv("MOX_SETTINGS", saved.c_str(), 1);
    EXPECT_NE(path.find("/Kestrin/mox.ini"), std::string::npos);
}

} // namespace
