// The language-text table: loading by the settings' language, lookups,
// reloading, the error boxes, and texts applied to Qt forms by Tag.

#include "DocumentTestEnv.h"
#include "TkResourcen.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

const std::string kGerman = MakeUsableSpt({
    {0, {"null", "nullhint"}},
    {1, {"eins", ""}},
    {5, {"Zeile 1\\nZeile 2", "Hinweis\\tf\xFCnf"}},
    {255, {"Ja", ""}},
    {2000, {"Hauptfenster", "Fensterhinweis"}},
    {3000,
     {"OK", "\xDC"
            "bernehmen"}},
    {3001, {"Abbrechen", ""}},
    {9999, {"letzter", "letzter Hinweis"}},
});
const std::string kEnglish =
    MakeUsableSpt({{1, {"one", ""}}, {255, {"Yes", ""}}, {3000, {"OK", "Accept"}}});

class TkResourcenTest : public LanguageFolder {
protected:
    void SetUp() override {
        LanguageFolder::SetUp();
        WriteLanguage("ktx_d.spt", kGerman);
        WriteLanguage("ktx_uk.spt", kEnglish);
    }
};

TEST_F(TkResourcenTest, LoadsTheSettingsLanguage) {
    TkResourcen res; // fresh settings: German
    EXPECT_TRUE(res.IsLoaded());
    EXPECT_EQ(res.FileName(), PathOf("ktx_d.spt"));
    EXPECT_STREQ(res.GetText(1), "eins");
    EXPECT_STREQ(res.GetText(255), "Ja");
    EXPECT_STREQ(res.GetHint(3000), "\xDC"
                                    "bernehmen"); // Windows-1252 from the file
    EXPECT_TRUE(m_boxes.empty());
}

// Lookups answer only ids 1..9999, and only records that hold text.
struct LookupCase {
    const char* name;
    int id;
    const char* text;
    const char* hint;
};

void PrintTo(const LookupCase& c, std::ostream* os) {
    *os << c.name;
}

class TkResourcenLookup : public TkResourcenTest, public testing::WithParamInterface<LookupCase> {};

TEST_P(TkResourcenLookup, TextAndHint) {
    TkResourcen res;
    const LookupCase& c = GetParam();
    if (c.text)
        EXPECT_STREQ(res.GetText(c.id), c.text);
    else
        EXPECT_EQ(res.GetText(c.id), nullptr);
    if (c.hint)
        EXPECT_STREQ(res.GetHint(c.id), c.hint);
    else
        EXPECT_EQ(res.GetHint(c.id), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TkResourcenLookup,
    testing::Values(LookupCase{"IdZeroIsNull", 0, nullptr, nullptr},
                    LookupCase{"IdOne", 1, "eins", nullptr},
                    LookupCase{"Unescaped", 5, "Zeile 1\rZeile 2", "Hinweis\tf\xFCnf"},
                    LookupCase{"EmptyRecord", 3, nullptr, nullptr},
                    LookupCase{"Last", 9999, "letzter", "letzter Hinweis"},
                    LookupCase{"IdTenThousandIsNull", 10000, nullptr, nullptr},
                    LookupCase{"NegativeIsNull", -1, nullptr, nullptr}),
    [](const testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.name); });

TEST_F(TkResourcenTest, QtTextsShowLineBreaksAsLineFeeds) {
    TkResourcen res;
    EXPECT_EQ(res.GetQText(5), QStringLiteral("Zeile 1\nZeile 2"));
    EXPECT_EQ(res.GetQHint(3000), QStringLiteral("Übernehmen"));
    EXPECT_TRUE(res.GetQText(3).isEmpty());
}

TEST_F(TkResourcenTest, MissingFileShowsTheBoxAndLeavesAllEmpty) {
    SetPermSprache(3); // French: no file written
    TkResourcen res;
    EXPECT_FALSE(res.IsLoaded());
    EXPECT_EQ(res.GetText(1), nullptr);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].caption, "Error");
    EXPECT_EQ(m_boxes[0].buttons, ErrorBox::Buttons::OkCancel);
    EXPECT_EQ(m_boxes[0].text.rfind("Failed to open language file " + PathOf("ktx_f.spt"), 0), 0u)
        << m_boxes[0].text;
}

TEST_F(TkResourcenTest, DamagedFileIsRefusedWithItsReason) {
    WriteLanguage("ktx_d.spt", kGerman.substr(0, kGerman.size() - 3));
    TkResourcen res;
    EXPECT_FALSE(res.IsLoaded());
    EXPECT_EQ(res.GetText(1), nullptr);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_NE(m_boxes[0].text.find(PathOf("ktx_d.spt")), std::string::npos);
    EXPECT_NE(m_boxes[0].text.find("ends inside a text"), std::string::npos);
}

TEST_F(TkResourcenTest, ReloadOnlyWhenTheLanguageFileChanges) {
    TkResourcen res;
    EXPECT_FALSE(res.Reload());
    EXPECT_STREQ(res.GetText(1), "eins");
    SetPermSprache(2);
    EXPECT_TRUE(res.Reload());
    EXPECT_EQ(res.FileName(), PathOf("ktx_uk.spt"));
    EXPECT_STREQ(res.GetText(1), "one");
    EXPECT_EQ(res.GetText(9999), nullptr); // nothing left of the German file
    EXPECT_FALSE(res.Reload());
    EXPECT_TRUE(m_boxes.empty());
}

// A change to a language without a file keeps the language in use.
TEST_F(TkResourcenTest, ReloadToAMissingFileKeepsTheLanguageInUse) {
    TkResourcen res;
    SetPermSprache(6);
    EXPECT_FALSE(res.Reload());
    EXPECT_STREQ(res.GetText(1), "eins");
    EXPECT_EQ(res.FileName(), PathOf("ktx_d.spt"));
    EXPECT_EQ(GetPermSprache(), 1);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text.rfind("Failed to open language file " + PathOf("ktx_nl.spt"), 0), 0u)
        << m_boxes[0].text;
}

// Files of the right form that cannot serve as a language, beside a cut
// one: each is refused as a whole, with the same box.
struct UnusableCase {
    const char* name;
    std::string bytes;
    const char* reason; // part of the box's second line
};

void PrintTo(const UnusableCase& c, std::ostream* os) {
    *os << c.name;
}

const UnusableCase kUnusable[] = {
    {"Empty", std::string(), "lacks texts"},
    {"AllNul", std::string(20000, '\0'), "lacks texts"},
    {"AllNulLonger", std::string(65536, '\0'), "lacks texts"},
    // Texts, but none of the menus and messages.
    {"OnlySomeTexts", MakeSpt({{1, {"eins", ""}}, {5, {"fuenf", ""}}}), "text 2 is the first"},
    // Everything but the caption of the message boxes.
    {"WithoutCaption",
     [] {
         std::map<int, std::pair<std::string, std::string>> records;
         for (const int id : TkResourcen::kRequiredTextIds)
             if (id != 1002)
                 records.emplace(id, std::make_pair(std::string("t"), std::string()));
         return MakeSpt(records);
     }(),
     "text 1002"},
    {"Cut", kGerman.substr(0, kGerman.size() - 3), "ends inside a text"},
};

class TkResourcenUnusable : public TkResourcenTest,
                            public testing::WithParamInterface<UnusableCase> {};

TEST_P(TkResourcenUnusable, IsRefusedAtStart) {
    WriteLanguage("ktx_d.spt", GetParam().bytes);
    TkResourcen res;
    EXPECT_FALSE(res.IsLoaded());
    EXPECT_EQ(res.GetText(1), nullptr);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].caption, "Error");
    EXPECT_EQ(m_boxes[0].buttons, ErrorBox::Buttons::OkCancel);
    EXPECT_EQ(m_boxes[0].text.rfind("Failed to open language file " + PathOf("ktx_d.spt"), 0), 0u)
        << m_boxes[0].text;
    EXPECT_NE(m_boxes[0].text.find(GetParam().reason), std::string::npos) << m_boxes[0].text;
}

TEST_P(TkResourcenUnusable, IsRefusedOnAChangeThatKeepsTheLanguageInUse) {
    WriteLanguage("ktx_uk.spt", GetParam().bytes);
    TkResourcen res;
    ASSERT_TRUE(res.IsLoaded());
    SetPermSprache(2);
    EXPECT_FALSE(res.Reload());
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text.rfind("Failed to open language file " + PathOf("ktx_uk.spt"), 0), 0u)
        << m_boxes[0].text;
    EXPECT_NE(m_boxes[0].text.find(GetParam().reason), std::string::npos) << m_boxes[0].text;
    // German as before, in the texts and in the settings (the next start).
    EXPECT_TRUE(res.IsLoaded());
    EXPECT_EQ(res.FileName(), PathOf("ktx_d.spt"));
    EXPECT_STREQ(res.GetText(1), "eins");
    EXPECT_STREQ(res.GetText(9999), "letzter");
    EXPECT_EQ(GetPermSprache(), 1);

    // A page stores its language on every save: the change is told once.
    SetPermSprache(2);
    EXPECT_FALSE(res.Reload());
    EXPECT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(GetPermSprache(), 1);
    // Back to German and then again to English: a new attempt, told again.
    EXPECT_FALSE(res.Reload());
    SetPermSprache(2);
    EXPECT_FALSE(res.Reload());
    EXPECT_EQ(m_boxes.size(), 2u);
    EXPECT_STREQ(res.GetText(1), "eins");
}

INSTANTIATE_TEST_SUITE_P(Files, TkResourcenUnusable, testing::ValuesIn(kUnusable),
                         [](const testing::TestParamInfo<UnusableCase>& info) {
                             return std::string(info.param.name);
                         });

// A file whose required texts are all there is a language, however few
// other texts it has.
TEST_F(TkResourcenTest, FileWithTheRequiredTextsIsTaken) {
    WriteLanguage("ktx_uk.spt", MakeUsableSpt({}));
    TkResourcen res;
    SetPermSprache(2);
    EXPECT_TRUE(res.Reload());
    EXPECT_STREQ(res.GetText(1002), "text 1002");
    EXPECT_EQ(res.GetText(1), nullptr);
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(TkResourcenTest, LanguageFileNames) {
    EXPECT_EQ(TkResourcen::LanguageFileName(1), "res/ktx_d.spt");
    EXPECT_EQ(TkResourcen::LanguageFileName(2), "res/ktx_uk.spt");
    EXPECT_EQ(TkResourcen::LanguageFileName(3), "res/ktx_f.spt");
    EXPECT_EQ(TkResourcen::LanguageFileName(4), "res/ktx_i.spt");
    EXPECT_EQ(TkResourcen::LanguageFileName(5), "res/ktx_dk.spt");
    EXPECT_EQ(TkResourcen::LanguageFileName(6), "res/ktx_nl.spt");
    EXPECT_EQ(TkResourcen::LanguageFileName(0), "");
    EXPECT_EQ(TkResourcen::LanguageFileName(7), "");
}

TEST_F(TkResourcenTest, StartUpCheckFindsTheFile) {
    EXPECT_EQ(GetLanguageFileName(), PathOf("ktx_d.spt"));
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(TkResourcenTest, StartUpCheckOfAMissingFile) {
    SetPermSprache(4);
    EXPECT_EQ(GetLanguageFileName(), "");
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].caption, "Error");
    EXPECT_EQ(m_boxes[0].text, "language file <" + PathOf("ktx_i.spt") + "> not found!");
}

TEST_F(TkResourcenTest, AStoredLanguageWithoutFileStartsInGerman) {
    for (int sprache : {0, 7, 255}) {
        SetPermSprache(sprache);
        EXPECT_EQ(GetLanguageFileName(), PathOf("ktx_d.spt")) << sprache;
        TkResourcen res;
        EXPECT_EQ(res.FileName(), PathOf("ktx_d.spt")) << sprache;
        EXPECT_STREQ(res.GetText(1), "eins") << sprache;
    }
    EXPECT_TRUE(m_boxes.empty());
}

// A form as the designer would lay it out, every component carrying its
// design text and its Tag.
class TkResourcenForm : public TkResourcenTest {
protected:
    template <typename W> W* Add(const char* name, int tag, const QString& design) {
        auto* w = new W(design, &m_form);
        w->setObjectName(QString::fromLatin1(name));
        if (tag != kNoTag)
            w->setProperty("Tag", tag);
        m_form.layout()->addWidget(w);
        return w;
    }

    void SetUp() override {
        TkResourcenTest::SetUp();
        m_form.setLayout(new QVBoxLayout);
        m_form.setWindowTitle(QStringLiteral("design"));
        m_form.setProperty("Tag", 2000);
    }

    static constexpr int kNoTag = -2;
    QWidget m_form;
};

TEST_F(TkResourcenForm, AppliesTextsByTag) {
    auto* label = Add<QLabel>("label", 5, QStringLiteral("design"));
    auto* ok = Add<QPushButton>("ok", 3000, QStringLiteral("ok"));
    auto* cancel = Add<QPushButton>("cancel", 3001, QStringLiteral("abbruch"));
    auto* check = Add<QCheckBox>("check", 255, QStringLiteral("x"));
    auto* radio = Add<QRadioButton>("radio", 1, QStringLiteral("x"));
    auto* group = Add<QGroupBox>("group", 3001, QStringLiteral("x"));
    auto* keep = Add<QLabel>("keep", -1, QStringLiteral("design text"));
    auto* untagged = Add<QLabel>("untagged", kNoTag, QStringLiteral("untagged"));
    auto* zero = Add<QLabel>("zero", 0, QStringLiteral("x"));
    auto* empty = Add<QLabel>("empty", 3, QStringLiteral("kept"));
    auto* outside = Add<QLabel>("outside", 10000, QStringLiteral("outside"));
    auto* edit = new QLineEdit(QStringLiteral("value"), &m_form);
    edit->setProperty("Tag", 3000);

    TkResourcen res;
    res.SetFormTexts(&m_form);

    EXPECT_EQ(m_form.windowTitle(), QStringLiteral("Hauptfenster"));
    EXPECT_EQ(m_form.toolTip(), QStringLiteral("Fensterhinweis"));
    EXPECT_EQ(label->text(), QStringLiteral("Zeile 1\nZeile 2"));
    EXPECT_EQ(label->toolTip(), QStringLiteral("Hinweis\tfünf"));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(ok->toolTip(), QStringLiteral("Übernehmen"));
    EXPECT_EQ(cancel->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(check->text(), QStringLiteral("Ja"));
    EXPECT_EQ(radio->text(), QStringLiteral("eins"));
    EXPECT_EQ(group->title(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(keep->text(), QStringLiteral("design text"));
    EXPECT_EQ(untagged->text(), QStringLiteral("untagged"));
    EXPECT_EQ(zero->text(), QStringLiteral("null")); // Tag 0 takes record 0
    EXPECT_EQ(zero->toolTip(), QStringLiteral("nullhint"));
    EXPECT_EQ(empty->text(), QStringLiteral("kept"));
    EXPECT_EQ(outside->text(), QStringLiteral("outside"));
    // An edit gets its hint only; its text is the user's.
    EXPECT_EQ(edit->text(), QStringLiteral("value"));
    EXPECT_EQ(edit->toolTip(), QStringLiteral("Übernehmen"));
}

TEST_F(TkResourcenForm, MenusActionsToolButtonsAndTabs) {
    auto* menu = new QMenu(QStringLiteral("&datei"), &m_form);
    menu->setProperty("Tag", 255);
    auto* action = menu->addAction(QStringLiteral("neu"));
    action->setProperty("Tag", 3000);
    auto* tool = new QToolButton(&m_form);
    tool->setText(QStringLiteral("new"));
    tool->setProperty("Tag", 1);
    auto* tabs = new QTabWidget(&m_form);
    auto* page1 = new QWidget;
    page1->setProperty("Tag", 3001);
    auto* page2 = new QWidget;
    tabs->addTab(page1, QStringLiteral("seite 1"));
    tabs->addTab(page2, QStringLiteral("seite 2"));

    TkResourcen res;
    res.SetFormTexts(&m_form);

    EXPECT_EQ(menu->title(), QStringLiteral("Ja"));
    EXPECT_EQ(action->text(), QStringLiteral("OK"));
    EXPECT_EQ(action->toolTip(), QStringLiteral("Übernehmen"));
    EXPECT_EQ(tool->text(), QStringLiteral("eins"));
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Abbrechen"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("seite 2"));
}

TEST_F(TkResourcenForm, ADataTagKeepsItsCaptionAndHint) {
    // Tags 0, 1 and 5 name records with texts and hints.
    auto* menu = new QMenu(QStringLiteral("&datei"), &m_form);
    const int kSlots[] = {0, 1, 5};
    std::vector<QAction*> entries;
    for (int slot : kSlots) {
        QAction* a = menu->addAction(QStringLiteral("&%1 /a/file.ktx").arg(slot + 1));
        a->setToolTip(QStringLiteral("/a/file.ktx"));
        TkResourcen::SetDataTag(a, slot);
        entries.push_back(a);
    }
    auto* label = Add<QLabel>("label", kNoTag, QStringLiteral("value 5"));
    TkResourcen::SetDataTag(label, 5);

    TkResourcen res;
    res.SetFormTexts(&m_form);

    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_TRUE(TkResourcen::HasDataTag(entries[i]));
        EXPECT_EQ(entries[i]->property("Tag").toInt(), kSlots[i]);
        EXPECT_EQ(entries[i]->text(), QStringLiteral("&%1 /a/file.ktx").arg(kSlots[i] + 1));
        EXPECT_EQ(entries[i]->toolTip(), QStringLiteral("/a/file.ktx"));
    }
    EXPECT_EQ(label->text(), QStringLiteral("value 5"));
    EXPECT_TRUE(label->toolTip().isEmpty());
}

TEST_F(TkResourcenForm, WithoutAFileDesignTextsStay) {
    SetPermSprache(5); // no Danish file in this folder
    auto* label = Add<QLabel>("label", 5, QStringLiteral("design"));
    TkResourcen res;
    res.SetFormTexts(&m_form);
    EXPECT_EQ(label->text(), QStringLiteral("design"));
    EXPECT_EQ(m_form.windowTitle(), QStringLiteral("design"));
}

TEST_F(TkResourcenForm, NullFormIsIgnored) {
    TkResourcen res;
    res.SetFormTexts(nullptr);
}

} // namespace
