// The read and write pages and the two dialogs in the real main window:
// the link command with the link dialog brings the pages' buttons in line,
// the connect command dials the number chosen in the connect dialog, and a
// read from the read page that changes the door-interface type rebuilds the
// window's tree, which destroys the page, only after the read handler has
// returned.
//
// The window here answers the page host's three requests with its own
// QuerySave, BuildKonfigTree and UpdateControls, as the program's window
// does.

#include "IMainTransfer.h"
#include "MoxAccess.h"
#include "MoxDaten.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TConnectDlg.h"
#include "TDataPages.h"
#include "TFormReadData.h"
#include "TFormWriteData.h"
#include "THelpWindow.h"
#include "TKtxImage.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TSetComPortDlg.h"
#include "TestSettingsFile.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

using mox::platform::SettingsStore;

class WiredMain : public TMoxMain {
public:
    using TMoxMain::TMoxMain;
    bool ViewQuerySave() override { return QuerySave(); }
    void ViewRebuildTree() override { BuildKonfigTree(); }
    void ViewUpdateControls() override { UpdateControls(); }
};

// A controller whose link is up for any port setting but "none", that
// serves an image on a read and records what it dials.
class LinkTransfer : public IMainTransfer {
public:
    void SetInfoText(const char*) override {}
    void SetTransferData(int m, std::uint8_t* b, std::uint32_t l) override {
        mode = m;
        buf = b;
        len = l;
    }
    void SetTeleAnz(std::uint16_t) override {}
    int ShowModal() override {
        runs.push_back(mode);
        if (mode == 2 && buf && !readImage.empty()) {
            std::memcpy(buf, readImage.data(), std::min<std::size_t>(readImage.size(), len));
            return 1;
        }
        return 2;
    }
    void SetTransferBuf(std::uint8_t* b, std::uint32_t l) override {
        buf = b;
        len = l;
    }
    void SetMoreData(bool) override {}
    std::uint32_t GetBlockLen() const override { return 1024; }
    bool UpdatePort() override {
        ++portUpdates;
        return true;
    }
    bool IsConnected() const override { return GetComPort() != 0; }
    std::string GetConnectionText() const override {
        return GetComPort() == 9 ? "via capi" : GetComPort() ? "via LumenBus" : "no connection!";
    }
    int Connect(const std::string& number) override {
        dialled.push_back(number);
        return 1;
    }
    void Disconnect() override {}
    std::intptr_t GetConnectionValue() const override { return 0; }
    TProgFlags GetProgFlags() const override { return {}; }
    std::uint16_t GetBoxKennziffer() const override { return 0; }
    void ResetProgData() override {}
    void OnTeleReceived() override {}
    void CloseTransferForm() override {}

    std::vector<std::uint8_t> readImage;
    std::vector<int> runs;
    std::vector<std::string> dialled;
    int portUpdates = 0;
    int mode = 0;
    std::uint8_t* buf = nullptr;
    std::uint32_t len = 0;
};

std::vector<std::uint8_t> ImageWithDoorInterface(std::uint8_t typeIT) {
    auto data = std::make_unique<MoxDaten>();
    MoxInitDaten(data.get());
    MoxSetTypeIT(data.get(), typeIT);
    std::vector<std::uint8_t> image(TKtxImage::kSize);
    TKtxImage::Build(data.get(), image.data());
    return image;
}

// Runs once the next modal dialog of type Dlg shows.
template <class Dlg> void WhenShown(std::function<void(Dlg&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dlg = qobject_cast<Dlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        answer(*dlg);
    });
}

} // namespace

class MainWindowPages : public testing::Test {
protected:
    void SetUp() override {
        m_pSettings = std::make_unique<mox::test::TestSettingsFile>("mainpages");
        ASSERT_TRUE(m_pSettings->Ok());
        m_Dir = m_pSettings->Dir();
        SetAssiMode(false);
        SetPermSprache(2);
        TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
            m_Boxes.push_back(r.textId);
            // "Save the changes?": no, so that no file dialog is asked for.
            return (r.flags & mb::kButtonMask) == mb::kYesNoCancel ? mb::kIdNo : mb::kIdOk;
        });
        TDataPages::Register();

        TMoxMainSeams seams;
        seams.hostQuell32 = false;
        seams.createTransfer = [this](TMoxMain&) {
            auto t = std::make_unique<LinkTransfer>();
            m_pTransfer = t.get();
            return std::unique_ptr<IMainTransfer>(std::move(t));
        };
        seams.runPortDialog = [](TMoxMain& m) { return TSetComPortDlg::Run(&m, true, m.GetRes()); };
        seams.runConnectDialog = [](TMoxMain& m) { return TConnectDlg::Run(&m, m.GetRes()); };
        m_pMain = std::make_unique<WiredMain>(seams);
        m_pMain->SetMode(1);
        m_pMain->SetExpertFlag(false);
        m_pMain->show();
        m_pMain->FlushTreeChange();
        ASSERT_NE(m_pTransfer, nullptr);
    }

    void TearDown() override {
        m_pMain.reset();
        TDataPages::Unregister();
        TMsgBox::SetHandlerForTesting({});
        m_pSettings.reset();
    }

    template <class Page> Page* Open(std::uint8_t kind) {
        EXPECT_TRUE(m_pMain->SelectNodeKind(kind));
        m_pMain->FlushTreeChange();
        return dynamic_cast<Page*>(m_pMain->GetAktView());
    }

    static void ProcessEvents() {
        for (int i = 0; i < 3; ++i)
            QApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    std::filesystem::path m_Dir;
    std::unique_ptr<WiredMain> m_pMain;
    LinkTransfer* m_pTransfer = nullptr;
    std::vector<int> m_Boxes;
};

TEST_F(MainWindowPages, TheLinkDialogBringsThePagesButtonInLine) {
    auto* page = Open<TFormWriteData>(eDatenSchreiben);
    ASSERT_NE(page, nullptr);
    auto* start = page->findChild<QPushButton*>(QStringLiteral("m_pStartBtn"));
    EXPECT_FALSE(start->isEnabled());

    WhenShown<TSetComPortDlg>([](TSetComPortDlg& dlg) {
        dlg.findChild<QRadioButton*>(QStringLiteral("m_pComPortItem2"))->click();
        dlg.findChild<QPushButton*>(QStringLiteral("m_pBtnOk"))->click();
    });
    m_pMain->OnPortDialog();
    EXPECT_EQ(GetComPort(), 2);
    EXPECT_GE(m_pTransfer->portUpdates, 1);
    EXPECT_TRUE(start->isEnabled());

    // Cancel changes nothing.
    const int updates = m_pTransfer->portUpdates;
    WhenShown<TSetComPortDlg>([](TSetComPortDlg& dlg) {
        dlg.findChild<QRadioButton*>(QStringLiteral("m_pComPortItem0"))->click();
        dlg.findChild<QPushButton*>(QStringLiteral("m_pBtnCancel"))->click();
    });
    m_pMain->OnPortDialog();
    EXPECT_EQ(GetComPort(), 2);
    EXPECT_EQ(m_pTransfer->portUpdates, updates);
    EXPECT_TRUE(start->isEnabled());
}

TEST_F(MainWindowPages, TheConnectCommandDialsTheChosenNumber) {
    SetComPort(9);
    WhenShown<TConnectDlg>([](TConnectDlg& dlg) {
        dlg.findChild<QComboBox*>(QStringLiteral("m_pRnr"))->setEditText(QStringLiteral("0891234"));
        dlg.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    });
    m_pMain->OnConnect();
    EXPECT_EQ(m_pTransfer->dialled, (std::vector<std::string>{"0891234"}));
    std::string first;
    GetPermMSNClient(0, first);
    EXPECT_EQ(first, "0891234");

    // A cancelled or empty dialog dials nothing.
    WhenShown<TConnectDlg>(
        [](TConnectDlg& dlg) { dlg.findChild<QPushButton*>(QStringLiteral("Button1"))->click(); });
    m_pMain->OnConnect();
    WhenShown<TConnectDlg>([](TConnectDlg& dlg) {
        dlg.findChild<QComboBox*>(QStringLiteral("m_pRnr"))->setEditText(QString());
        dlg.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    });
    m_pMain->OnConnect();
    EXPECT_EQ(m_pTransfer->dialled, (std::vector<std::string>{"0891234"}));
}

TEST_F(MainWindowPages, AReadThatChangesTheDoorInterfaceRebuildsTheTree) {
    SetComPort(1);
    m_pMain->GetDoc()->SetTypeIT(1);
    m_pMain->BuildKonfigTree();
    m_pTransfer->readImage = ImageWithDoorInterface(2);
    auto* page = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(page, nullptr);
    const QPointer<TFormReadData> alive(page);
    auto* start = page->findChild<QPushButton*>(QStringLiteral("m_pStartBtn"));
    ASSERT_TRUE(start->isEnabled());

    start->click();
    // The page outlives its handler; the rebuild follows.
    EXPECT_TRUE(alive);
    ProcessEvents();
    EXPECT_FALSE(alive);
    EXPECT_EQ(m_pTransfer->runs, (std::vector<int>{2}));
    EXPECT_EQ(m_pMain->GetDoc()->GetTypeIT(), 2);
    EXPECT_TRUE(m_pMain->GetDoc()->IsReadFromBox());
    // The rebuilt tree shows its first page once the selection settled.
    m_pMain->FlushTreeChange();
    EXPECT_NE(m_pMain->GetAktView(), nullptr);
    // The read page of the new tree starts afresh.
    auto* again = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->findChild<QPushButton*>(QStringLiteral("m_pStartBtn"))->isEnabled());
}

TEST_F(MainWindowPages, AReadWithTheSameTypesKeepsThePage) {
    SetComPort(5);
    m_pTransfer->readImage = ImageWithDoorInterface(m_pMain->GetDoc()->GetTypeIT());
    auto* page = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(page, nullptr);
    const QPointer<TFormReadData> alive(page);
    page->findChild<QPushButton*>(QStringLiteral("m_pStartBtn"))->click();
    ProcessEvents();
    ASSERT_TRUE(alive);
    EXPECT_EQ(m_pMain->GetAktView(), page);
    EXPECT_FALSE(page->findChild<QPushButton*>(QStringLiteral("m_pStartBtn"))->isEnabled());
}

// F1 shows the help of the control that has the focus, else of its page;
// on the tree it shows the page's.
struct HelpKeyRow {
    const char* name;
    std::uint8_t kind;
    const char* focus; // a control of the page, or the tree
    int context;
};

void PrintTo(const HelpKeyRow& row, std::ostream* os) {
    *os << row.name;
}

class MainWindowHelpKey : public MainWindowPages, public testing::WithParamInterface<HelpKeyRow> {};

TEST_P(MainWindowHelpKey, OpensTheContextOfTheFocus) {
    const HelpKeyRow& row = GetParam();
    SetComPort(1);
    m_pMain->GetDoc()->SetTypeIT(2);
    m_pMain->BuildKonfigTree();
    m_pMain->FlushTreeChange();
    TDataView* page = Open<TDataView>(row.kind);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pMain.get()));
    QWidget* focus = std::string(row.focus) == "tree"
                         ? m_pMain->findChild<QWidget*>(QStringLiteral("m_pKonfigTreeView"))
                         : page->findChild<QWidget*>(QString::fromLatin1(row.focus));
    ASSERT_NE(focus, nullptr);
    ASSERT_TRUE(focus->isEnabled()) << row.focus;
    focus->setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), focus);

    QTest::keyClick(focus, Qt::Key_F1);
    const QString shown = m_pMain->GetHelpWindow()->CurrentPage();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("/%1.html").arg(row.context))) << shown.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MainWindowHelpKey,
    testing::Values(HelpKeyRow{"ReadStartButton", eDatenLesen, "m_pStartBtn", 1201},
                    HelpKeyRow{"WriteStartButton", eDatenSchreiben, "m_pStartBtn", 2001},
                    // The check box has no context of its own: its page's.
                    HelpKeyRow{"WriteCheckBox", eDatenSchreiben, "m_pChkBox_incl_BusAdressen",
                               2000},
                    HelpKeyRow{"TreeOnTheReadPage", eDatenLesen, "tree", 1200}),
    [](const testing::TestParamInfo<HelpKeyRow>& info) { return std::string(info.param.name); });
