// The about box's version and product texts.

#include "TAboutDlg.h"

#include <gtest/gtest.h>

namespace {

struct VersionRow {
    const char* name;
    const char* version;
    const char* build;
    const char* text;
};

void PrintTo(const VersionRow& r, std::ostream* os) {
    *os << r.name;
}

class VersionRows : public testing::TestWithParam<VersionRow> {};

TEST_P(VersionRows, BuildAndText) {
    EXPECT_EQ(TAboutDlg::BuildOf(GetParam().version), GetParam().build);
    EXPECT_EQ(TAboutDlg::VersionText(GetParam().version), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Rows, VersionRows,
                         testing::Values(VersionRow{"FourParts", "1.1.0.697", "697",
                                                    "1.1.0.697 (Build 697)"},
                                         VersionRow{"TwoParts", "2.5", "5", "2.5 (Build 5)"},
                                         // Without a dot the whole text is the build.
                                         VersionRow{"NoDot", "697", "697", "697 (Build 697)"},
                                         VersionRow{"TrailingDot", "1.0.", "", "1.0. (Build )"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct KindRow {
    const char* name;
    std::uint32_t flags;
    const char* kind;
};

void PrintTo(const KindRow& r, std::ostream* os) {
    *os << r.name;
}

class BuildKindRows : public testing::TestWithParam<KindRow> {};

TEST_P(BuildKindRows, Text) {
    EXPECT_EQ(TAboutDlg::BuildKindText(GetParam().flags), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BuildKindRows,
    testing::Values(KindRow{"Released", 0, " released"}, KindRow{"Debug", eVerDebug, " -debug"},
                    KindRow{"InfoInferred", eVerInfoInferred, " -info"},
                    KindRow{"Patched", eVerPatched, " -patched"},
                    KindRow{"PreRelease", eVerPreRelease, " -prerelease"},
                    KindRow{"Private", eVerPrivateBuild, " -private build"},
                    KindRow{"Special", eVerSpecialBuild, " -special build"},
                    KindRow{"DebugPreRelease", eVerDebug | eVerPreRelease, " -debug -prerelease"},
                    KindRow{"All", 0x3F,
                            " -debug -info -patched -prerelease -private build -special build"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AboutTexts, ProductTextByMode) {
    EXPECT_EQ(TAboutDlg::ProductText("mox", 0, 1), "mox released version");
    EXPECT_EQ(TAboutDlg::ProductText("mox", 0, 2), "mox released version for experts");
    EXPECT_EQ(TAboutDlg::ProductText("mox", eVerDebug, 2), "mox -debug version for experts");
}

} // namespace
