// Qt's own texts follow the program's language: the catalogue of each
// language is found (the package the build script installs), English needs
// none, a language change replaces the catalogue, and the language-text
// table brings Qt along whenever it loads or reloads.

#include "DocumentTestEnv.h"
#include "PermSettings.h"
#include "TQtTranslations.h"
#include "TkResourcen.h"

#include <QCoreApplication>
#include <QString>

#include <gtest/gtest.h>

namespace {

// What Qt puts on the Cancel button of its message boxes and dialogs.
QString CancelText() {
    return QCoreApplication::translate("QPlatformTheme", "Cancel");
}

struct LanguageRow {
    const char* name;
    int sprache;
    const char* cancel;
};

void PrintTo(const LanguageRow& row, std::ostream* os) {
    *os << row.name;
}

class QtTranslations : public testing::TestWithParam<LanguageRow> {
protected:
    void TearDown() override { TQtTranslations::Load(1); }
};

TEST_P(QtTranslations, CancelSpeaksTheLanguage) {
    const LanguageRow& row = GetParam();
    ASSERT_TRUE(TQtTranslations::Load(row.sprache))
        << "no Qt catalogue for " << row.name << " (package qt6-translations-l10n)";
    EXPECT_EQ(CancelText(), QString::fromUtf8(row.cancel));
}

INSTANTIATE_TEST_SUITE_P(
    SixLanguages, QtTranslations,
    testing::Values(LanguageRow{"German", 1, "Abbrechen"}, LanguageRow{"English", 2, "Cancel"},
                    LanguageRow{"French", 3, "Annuler"}, LanguageRow{"Italian", 4, "Annulla"},
                    LanguageRow{"Danish", 5, "Annuller"}, LanguageRow{"Dutch", 6, "Annuleren"}),
    [](const testing::TestParamInfo<LanguageRow>& info) { return std::string(info.param.name); });

TEST(QtTranslationsSwitch, EachLanguageReplacesTheOneBefore) {
    ASSERT_TRUE(TQtTranslations::Load(1));
    EXPECT_EQ(TQtTranslations::Installed(), 1);
    ASSERT_TRUE(TQtTranslations::Load(3));
    EXPECT_EQ(TQtTranslations::Installed(), 3);
    EXPECT_EQ(CancelText(), QStringLiteral("Annuler"));
    // English is Qt's own: nothing installed, nothing of French left.
    ASSERT_TRUE(TQtTranslations::Load(2));
    EXPECT_EQ(TQtTranslations::Installed(), 0);
    EXPECT_EQ(CancelText(), QStringLiteral("Cancel"));
    // A value without a language leaves Qt in English.
    ASSERT_TRUE(TQtTranslations::Load(1));
    EXPECT_FALSE(TQtTranslations::Load(0));
    EXPECT_FALSE(TQtTranslations::Load(7));
    EXPECT_EQ(TQtTranslations::Installed(), 0);
    EXPECT_EQ(CancelText(), QStringLiteral("Cancel"));
    TQtTranslations::Load(1);
}

class QtTranslationsWithTexts : public LanguageFolder {
protected:
    void SetUp() override {
        LanguageFolder::SetUp();
        WriteLanguage("ktx_d.spt", MakeUsableSpt({{1, {"eins", ""}}}));
        WriteLanguage("ktx_uk.spt", MakeUsableSpt({{1, {"one", ""}}}));
    }
    void TearDown() override {
        TQtTranslations::Load(1);
        LanguageFolder::TearDown();
    }
};

TEST_F(QtTranslationsWithTexts, FollowTheLanguageTexts) {
    TkResourcen res; // fresh settings: German
    EXPECT_EQ(CancelText(), QStringLiteral("Abbrechen"));
    SetPermSprache(2);
    ASSERT_TRUE(res.Reload());
    EXPECT_STREQ(res.GetText(1), "one");
    EXPECT_EQ(CancelText(), QStringLiteral("Cancel"));
    SetPermSprache(1);
    ASSERT_TRUE(res.Reload());
    EXPECT_EQ(CancelText(), QStringLiteral("Abbrechen"));
}

} // namespace
