// The main window's form: every menu item and tool button with its text id,
// the enabling rules as the window applies them, title and status texts,
// the help file by mode.

#include "MainWindowFixture.h"

#include "DbgOut.h"
#include "MainTextIds.h"
#include "MoxQString.h"
#include "PermSettings.h"
#include "THelpWindow.h"
#include "TMoxDocument.h"
#include "TProgStatePanel.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <filesystem>

namespace {

struct ItemRow {
    const char* name;
    int tag;
};

void PrintTo(const ItemRow& r, std::ostream* os) {
    *os << r.name;
}

class MainWindowItems : public MainWindowTest, public testing::WithParamInterface<ItemRow> {};

TEST_P(MainWindowItems, ExistsWithItsText) {
    MakeWindow();
    const ItemRow& r = GetParam();
    QObject* obj = Main().findChild<QObject*>(QString::fromLatin1(r.name));
    ASSERT_NE(obj, nullptr) << r.name;
    EXPECT_EQ(obj->property("Tag").toInt(), r.tag);
    if (r.tag < 0)
        return;
    const QString want = Main().GetRes()->GetQText(r.tag);
    ASSERT_FALSE(want.isEmpty()) << "no text " << r.tag;
    QString have;
    if (auto* a = qobject_cast<QAction*>(obj))
        have = a->text();
    else if (auto* m = qobject_cast<QMenu*>(obj))
        have = m->title();
    else if (auto* l = qobject_cast<QLabel*>(obj))
        have = l->text();
    EXPECT_EQ(have, want);
}

INSTANTIATE_TEST_SUITE_P(
    Form, MainWindowItems,
    testing::Values(ItemRow{"m_pFileMenu", 8}, ItemRow{"m_pNewMenuItem", 10},
                    ItemRow{"m_pOpenMenuItem", 19}, ItemRow{"m_pSaveMenuItem", 12},
                    ItemRow{"m_pSaveAsMenuItem", 18}, ItemRow{"m_pDatensatzMenu", 9},
                    ItemRow{"m_pRestoreMenuItem", 13}, ItemRow{"druckereinstellungen1", 16},
                    ItemRow{"m_pDruckMenuItem", 14}, ItemRow{"Beenden", 17},
                    ItemRow{"m_pDatenbertragungMenu", 24}, ItemRow{"m_pAuslesenMenuItem", 21},
                    ItemRow{"m_pUebertragenMenuItem", 22}, ItemRow{"einrichten1", 30},
                    ItemRow{"programmierinterface1", 31}, ItemRow{"m_pConnectMenuItem", 56},
                    ItemRow{"m_pDisconnectMenuItem", 57}, ItemRow{"Hilfe1", 50},
                    ItemRow{"Inhalt1", 51}, ItemRow{"Suchen1", 52}, ItemRow{"Hilfebenutzen1", 53},
                    ItemRow{"assitennt1", 59}, ItemRow{"Info1", 54}, ItemRow{"web1", 60},
                    ItemRow{"m_pMenuTrace", -1}, ItemRow{"m_pTraceView", -1},
                    ItemRow{"m_pTraceCapi", -1}, ItemRow{"m_pTraceTagged", -1},
                    ItemRow{"m_pNewToolButton", 10}, ItemRow{"m_pOpenToolButton", 19},
                    ItemRow{"m_pSaveToolButton", 12}, ItemRow{"m_pPrintToolsButton", 14},
                    ItemRow{"m_pDeleteToolButton", 11}, ItemRow{"m_pDialToolButton", 9002},
                    ItemRow{"m_pDiscToolButton", 9003}, ItemRow{"m_pReadToolButton", 21},
                    ItemRow{"m_pWriteToolButton", 22}, ItemRow{"m_pRuecksetzenToolButton", 13},
                    ItemRow{"m_pRuecksetzenDatenMenuItem", 28},
                    ItemRow{"m_pRuecksetzenKTXMenuItem", 29},
                    ItemRow{"m_pRuecksetzenKTXDefaultMenuItem", 39}, ItemRow{"Label2", 27}),
    [](const auto& info) { return std::string(info.param.name); });

QAction* ActionOf(TMoxMain& main, const char* name) {
    return main.findChild<QAction*>(QString::fromLatin1(name));
}

TEST_F(MainWindowTest, ToolBarCarriesTheButtonsAndTheResetDropDown) {
    MakeWindow();
    auto* bar = Main().findChild<QToolBar*>(QStringLiteral("m_pToolBar"));
    ASSERT_NE(bar, nullptr);
    for (const char* name : {"m_pNewToolButton", "m_pOpenToolButton", "m_pSaveToolButton",
                             "m_pReadToolButton", "m_pWriteToolButton"})
        EXPECT_TRUE(bar->actions().contains(ActionOf(Main(), name))) << name;
    QAction* reset = ActionOf(Main(), "m_pRuecksetzenToolButton");
    ASSERT_NE(reset->menu(), nullptr);
    EXPECT_EQ(reset->menu()->objectName(), QStringLiteral("m_pResetPopup"));
    EXPECT_EQ(reset->menu()->actions().size(), 3);
    // The delete button is never shown; printing waits for the reports.
    EXPECT_FALSE(ActionOf(Main(), "m_pDeleteToolButton")->isVisible());
    EXPECT_FALSE(ActionOf(Main(), "m_pPrintToolsButton")->isEnabled());
    EXPECT_FALSE(ActionOf(Main(), "m_pDruckMenuItem")->isEnabled());
}

TEST_F(MainWindowTest, TitleWithoutIsdnIsTheCaption) {
    SetComPort(2);
    MakeWindow();
    EXPECT_EQ(Main().windowTitle(), Main().GetRes()->GetQText(1002));
    for (const char* name : {"m_pConnectMenuItem", "m_pDisconnectMenuItem"})
        EXPECT_FALSE(ActionOf(Main(), name)->isEnabled()) << name;
    for (const char* name : {"m_pDialToolButton", "m_pDiscToolButton"})
        EXPECT_FALSE(ActionOf(Main(), name)->isVisible()) << name;
}

TEST_F(MainWindowTest, TitleWithIsdnNamesTheLink) {
    SetComPort(ePortCapi);
    SetPermMSNClient(0, "0301234");
    MakeWindow();
    const QString caption = Main().GetRes()->GetQText(1002);
    const QString isdn = Main().GetRes()->GetQText(67);
    EXPECT_EQ(Main().windowTitle(), caption + "   " + isdn + " < >");
    // The connection comes up: the remembered number shows.
    Main().Perform(CAPIPORT_CONNECT_ACTIVE, 1, 0);
    EXPECT_EQ(Main().windowTitle(), caption + "   " + isdn + " <0301234>");
    EXPECT_TRUE(ActionOf(Main(), "m_pDisconnectMenuItem")->isEnabled());
    EXPECT_TRUE(ActionOf(Main(), "m_pDiscToolButton")->isVisible());
}

TEST_F(MainWindowTest, StatusNamesTheDocument) {
    MakeWindow();
    const QString status = Main().GetRes()->GetQText(141);
    EXPECT_EQ(Main().GetStatusText(), status + " < " + Main().GetRes()->GetQText(1000) + " >");
    auto* modified = Main().findChild<QLabel*>(QStringLiteral("m_pStatusModified"));
    ASSERT_NE(modified, nullptr);
    EXPECT_EQ(modified->text(), QStringLiteral(" "));
    Main().GetDoc()->SetTuerrufdauer(
        static_cast<std::uint16_t>(Main().GetDoc()->GetTuerrufdauer() + 1));
    Main().UpdateControls();
    EXPECT_EQ(modified->text(), QStringLiteral("*"));
    EXPECT_TRUE(ActionOf(Main(), "m_pSaveToolButton")->isEnabled());
    EXPECT_TRUE(ActionOf(Main(), "m_pSaveMenuItem")->isEnabled());
}

TEST_F(MainWindowTest, BoxCommandsFollowTheLink) {
    MakeWindow();
    for (const char* name : {"m_pReadToolButton", "m_pWriteToolButton", "m_pAuslesenMenuItem",
                             "m_pUebertragenMenuItem", "m_pRuecksetzenKTXMenuItem"})
        EXPECT_TRUE(ActionOf(Main(), name)->isEnabled()) << name;
    Transfer().linkUp = false;
    Main().UpdateControls();
    for (const char* name : {"m_pReadToolButton", "m_pWriteToolButton", "m_pAuslesenMenuItem",
                             "m_pUebertragenMenuItem", "m_pRuecksetzenKTXMenuItem"})
        EXPECT_FALSE(ActionOf(Main(), name)->isEnabled()) << name;
}

TEST_F(MainWindowTest, DefaultsItemOnlyForExpertsWithTheServiceFlag) {
    MakeWindow(2, true);
    QAction* defaults = ActionOf(Main(), "m_pRuecksetzenKTXDefaultMenuItem");
    EXPECT_TRUE(defaults->isVisible());
    EXPECT_TRUE(defaults->isEnabled());
    Transfer().linkUp = false;
    Main().Perform(WM_CONNECTION_CHANGED, 0, 0);
    EXPECT_TRUE(defaults->isVisible());
    EXPECT_FALSE(defaults->isEnabled());
}

TEST_F(MainWindowTest, DefaultsItemHiddenInStandardMode) {
    MakeWindow(1, true);
    EXPECT_FALSE(ActionOf(Main(), "m_pRuecksetzenKTXDefaultMenuItem")->isVisible());
}

TEST_F(MainWindowTest, HelpFileFollowsTheModeOnceKnown) {
    m_pMain = std::make_unique<TMoxMain>(m_Seams);
    // Built before the start-up hands over the mode: the standard file.
    EXPECT_NE(Main().GetHelpFile().find("kktx_d"), std::string::npos) << Main().GetHelpFile();
    Main().SetMode(2);
    EXPECT_NE(Main().GetHelpFile().find("ektx_d"), std::string::npos) << Main().GetHelpFile();
    SetPermSprache(2);
    Main().SetMode(2);
    EXPECT_NE(Main().GetHelpFile().find("ektx_uk"), std::string::npos) << Main().GetHelpFile();
}

TEST_F(MainWindowTest, HelpShowsTheContextPage) {
    MakeWindow();
    ASSERT_TRUE(Main().OnHelp(1, 2600));
    EXPECT_TRUE(Main().GetHelpWindow()->CurrentPage().endsWith(QStringLiteral("/2600.html")))
        << Main().GetHelpWindow()->CurrentPage().toStdString();
    // A context without its own page shows the contents.
    ASSERT_TRUE(Main().OnHelp(1, 9999));
    EXPECT_TRUE(Main().GetHelpWindow()->CurrentPage().endsWith(QStringLiteral("/index.html")));
    ASSERT_TRUE(Main().OnHelp(11, 0));
    EXPECT_TRUE(Main().GetHelpWindow()->CurrentPage().endsWith(QStringLiteral("/index.html")));
    EXPECT_TRUE(Main().OnHelp(2, 0));
    EXPECT_FALSE(Main().GetHelpWindow()->isVisible());
}

TEST_F(MainWindowTest, TraceItemsWriteTheirChannel) {
    MakeWindow();
    QAction* doc = ActionOf(Main(), "m_pTraceDoc");
    doc->setChecked(true);
    EXPECT_TRUE(GetPermTrace(1));
    doc->setChecked(false);
    EXPECT_FALSE(GetPermTrace(1));
    // Reading the settings sets the mark without writing it back.
    Main().SetTraceCheck(6, true);
    EXPECT_TRUE(ActionOf(Main(), "m_pTraceCapi")->isChecked());
    EXPECT_FALSE(GetPermTrace(6));
}

TEST_F(MainWindowTest, ProgramStateLampFollowsTheProgramming) {
    SetComPort(2);
    MakeWindow();
    Main().GetDoc()->SetTypeIT(2);
    Transfer().progFlags.boxProg = true;
    // Two ticks of the status timer: once steady, once blinking.
    std::vector<int> seen;
    for (int i = 0; i < 2; ++i) {
        QTimer* timer = Main().findChild<QTimer*>(QStringLiteral("m_pStatusTimer"));
        ASSERT_NE(timer, nullptr);
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        seen.push_back(Main().GetProgStatePanel()->Image());
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<int>{2, 5}));
}

} // namespace

namespace {

// Each language and mode has its help: the contents and a page for every
// help context of the forms built so far (main window, tree, about box).
TEST(HelpPages, EveryLanguageAndModeHasItsPages) {
    for (int sprache = 1; sprache <= 6; ++sprache) {
        for (int mode = 1; mode <= 2; ++mode) {
            const std::string dir = THelpWindow::HelpFilePath(sprache, mode);
            ASSERT_FALSE(dir.empty()) << THelpWindow::HelpFileName(sprache, mode);
            for (const char* page : {"index.html", "2600.html", "2601.html", "10.html"})
                EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(dir) / page))
                    << dir << "/" << page;
        }
    }
    EXPECT_TRUE(THelpWindow::HelpFileName(7, 1).empty());
}

} // namespace
