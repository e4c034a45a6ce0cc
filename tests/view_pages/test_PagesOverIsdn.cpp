// The read and write pages in the real main window over ISDN: the window's
// transfer controller and its ISDN port on the fake CAPI library, with the
// box simulator's core at the far end of the call. ISDN is chosen in the
// link dialog and the box dialled from the connect dialog, as a user does.
// The buttons follow the call, a write reports success and failure with its
// texts, a read that changes the door-interface type rebuilds the tree once
// the read handler has returned, and a save question answered with Cancel
// changes nothing, neither here nor in the box.
//
// Failures come from the box (acknowledgements with a wrong block number),
// so no run waits for a time-out; a guard ends every wait that never would.

#include "BoxCapiLink.h"
#include "DataPageTextIds.h"
#include "FakeCapiControl.h"
#include "MainTextIds.h"
#include "MoxDaten.h"
#include "PageFixture.h"
#include "PermSettings.h"
#include "SimCount.h"
#include "TConnectDlg.h"
#include "TDataPages.h"
#include "TFileDialog.h"
#include "TFormReadData.h"
#include "TFormWriteData.h"
#include "TKtxImage.h"
#include "TMainDataTransfer.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TSetComPortDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Only a hang ever waits this long.
constexpr int kGuardMs = 20000;
constexpr char kBoxNumber[] = "0891234567";

// Runs once the next modal dialog of type Dlg shows.
template <class Dlg> void WhenShown(std::function<void(Dlg&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dlg = qobject_cast<Dlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        answer(*dlg);
    });
}

// Runs the event loop until pred holds; false after the guard.
bool WaitFor(const std::function<bool()>& pred) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > kGuardMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

class PagesOverIsdn : public testing::Test {
protected:
    void SetUp() override {
        fakecapi::Reset();
        fakecapi::SetBox(&m_Box);
        // The box starts with the defaults, the door interface of a fresh
        // document.
        SetBox(ImageWithTypes(1));

        SetAssiMode(false);
        SetPermSprache(2); // English
        SetComPort(ePortNone);
        SetPermMSNService("");
        SetCapiLibrary(FAKECAPI_PATH);

        TFileDialog::SetHandlerForTesting([](const TFileDialog::Request&) { return QString(); });
        TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
            m_Boxes.push_back(r);
            if (auto a = m_Answers.find(r.textId); a != m_Answers.end())
                return a->second;
            const unsigned buttons = r.flags & mb::kButtonMask;
            return buttons == mb::kYesNo || buttons == mb::kYesNoCancel ? mb::kIdYes : mb::kIdOk;
        });
        // A read from the box leaves the document modified: its edits are
        // not saved unless a test says so.
        m_Answers[mtxt::kAskSave] = mb::kIdNo;
        TDataPages::Register();

        TMoxMainSeams seams;
        seams.hostQuell32 = false;
        seams.createTransfer = [](TMoxMain& main) -> std::unique_ptr<IMainTransfer> {
            return std::make_unique<TMainDataTransfer>(main, nullptr);
        };
        seams.runPortDialog = [](TMoxMain& m) { return TSetComPortDlg::Run(&m, true, m.GetRes()); };
        seams.runConnectDialog = [](TMoxMain& m) { return TConnectDlg::Run(&m, m.GetRes()); };
        m_pMain = std::make_unique<TMoxMain>(seams);
        m_pMain->SetMode(1);
        m_pMain->SetExpertFlag(false);
        m_pMain->show();
        m_pMain->FlushTreeChange();
        ASSERT_NE(m_pMain->GetDataTransfer(), nullptr);
    }

    void TearDown() override {
        if (m_pMain && m_pMain->GetDataTransfer() && m_pMain->GetDataTransfer()->IsConnected()) {
            m_pMain->OnDisconnect();
            EXPECT_TRUE(WaitFor([] { return fakecapi::CallCount() == 0; }));
        }
        m_pMain.reset();
        TDataPages::Unregister();
        TMsgBox::SetHandlerForTesting({});
        TFileDialog::SetHandlerForTesting({});
        for (const std::string& v : fakecapi::Violations())
            ADD_FAILURE() << "fake CAPI: " << v;
        fakecapi::SetBox(nullptr);
        fakecapi::Reset();
    }

    void SetBox(const Bytes& image) {
        m_Box.WithCore([&](boxsim::BoxCore& core) {
            core.SetConfiguration(image);
            return 0;
        });
    }
    Bytes BoxConfiguration() {
        return m_Box.WithCore([](boxsim::BoxCore& c) { return c.Configuration(); });
    }

    // The link command, with ISDN and the own number chosen in the dialog.
    void ChooseIsdn() {
        WhenShown<TSetComPortDlg>([](TSetComPortDlg& dlg) {
            dlg.findChild<QRadioButton*>(
                   QStringLiteral("m_pComPortItem%1").arg(TSetComPortDlg::kItemIsdn))
                ->click();
            dlg.findChild<QLineEdit*>(QStringLiteral("m_pRnr"))->setText(QStringLiteral("4711"));
            dlg.findChild<QPushButton*>(QStringLiteral("m_pBtnOk"))->click();
        });
        m_pMain->OnPortDialog();
    }
    // The connect command with the box's number; once the call is up the
    // window reads the box by itself.
    void DialAndWaitForTheFirstRead() {
        WhenShown<TConnectDlg>([](TConnectDlg& dlg) {
            dlg.findChild<QComboBox*>(QStringLiteral("m_pRnr"))
                ->setEditText(QString::fromLatin1(kBoxNumber));
            dlg.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
        });
        m_pMain->OnConnect();
        ASSERT_TRUE(WaitFor([&] { return Shown(mtxt::kReadOk) || Shown(mtxt::kReadFailed); }))
            << "no read after the call came up";
        ASSERT_TRUE(Shown(mtxt::kReadOk));
        ASSERT_TRUE(m_pMain->GetDataTransfer()->IsConnected());
        ProcessEvents();
        m_Boxes.clear();
    }
    void Connect() {
        ChooseIsdn();
        DialAndWaitForTheFirstRead();
    }

    template <class Page> Page* Open(std::uint8_t kind) {
        EXPECT_TRUE(m_pMain->SelectNodeKind(kind));
        m_pMain->FlushTreeChange();
        auto* page = dynamic_cast<Page*>(m_pMain->GetAktView());
        EXPECT_NE(page, nullptr);
        return page;
    }
    static QPushButton* StartOf(QWidget* page) {
        return page->findChild<QPushButton*>(QStringLiteral("m_pStartBtn"));
    }
    static QString MessageOf(QWidget* page) {
        return page->findChild<QLabel*>(QStringLiteral("m_pMessage"))->text();
    }
    static QString LinkLineOf(QWidget* page) {
        return page->findChild<QLabel*>(QStringLiteral("m_pLabel_rw"))->text();
    }
    static void ProcessEvents() {
        for (int i = 0; i < 3; ++i)
            QApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    bool Shown(int textId) const {
        return std::any_of(m_Boxes.begin(), m_Boxes.end(),
                           [textId](const TMsgBox::Request& r) { return r.textId == textId; });
    }
    std::vector<int> BoxIds() const {
        std::vector<int> ids;
        for (const auto& b : m_Boxes)
            ids.push_back(b.textId);
        return ids;
    }
    static Bytes ImageOf(const TMoxDocument& doc) {
        MoxDaten copy = *doc.GetDaten();
        Bytes image(TKtxImage::kSize);
        TKtxImage::Build(&copy, image.data());
        return image;
    }
    QString Text(int id) const { return m_pMain->GetRes()->GetQText(id); }
    TMoxDocument& Doc() { return *m_pMain->GetDoc(); }

    boxsim::BoxCapiLink m_Box; // outlives the window and its port
    std::unique_ptr<TMoxMain> m_pMain;
    std::vector<TMsgBox::Request> m_Boxes;
    std::map<int, int> m_Answers;
};

TEST_F(PagesOverIsdn, ButtonsFollowTheCall) {
    auto* read = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(LinkLineOf(read), Text(ptxt::kReadLink) + QStringLiteral("no connection!"));
    EXPECT_FALSE(StartOf(read)->isEnabled());

    // ISDN chosen but no call yet: nothing to read from.
    ChooseIsdn();
    EXPECT_FALSE(m_pMain->GetDataTransfer()->IsConnected());
    EXPECT_FALSE(StartOf(read)->isEnabled());
    EXPECT_EQ(LinkLineOf(read), Text(ptxt::kReadLink) + QStringLiteral("no connection!"));

    // With the call up the page on show can start; its link line keeps the
    // text it was built with. A page built now names ISDN.
    DialAndWaitForTheFirstRead();
    ASSERT_EQ(m_pMain->GetAktView(), read);
    EXPECT_TRUE(StartOf(read)->isEnabled());
    EXPECT_EQ(LinkLineOf(read), Text(ptxt::kReadLink) + QStringLiteral("no connection!"));
    auto* write = Open<TFormWriteData>(eDatenSchreiben);
    ASSERT_NE(write, nullptr);
    EXPECT_EQ(LinkLineOf(write), Text(ptxt::kWriteLink) + QStringLiteral("via capi"));
    EXPECT_TRUE(StartOf(write)->isEnabled());

    // The hang-up takes the button of the page on show with it.
    m_pMain->OnDisconnect();
    ASSERT_TRUE(m_Box.WaitForCallsDown(1));
    ASSERT_TRUE(WaitFor([&] { return !m_pMain->GetDataTransfer()->IsConnected(); }));
    ProcessEvents();
    ASSERT_EQ(m_pMain->GetAktView(), write);
    EXPECT_FALSE(StartOf(write)->isEnabled());
    EXPECT_TRUE(m_Boxes.empty());
}

TEST_F(PagesOverIsdn, WriteReportsSuccessAndTheBoxKeepsTheDocument) {
    Connect();
    ASSERT_TRUE(Doc().SetTuerrufdauer(333));
    const Bytes boxBefore = BoxConfiguration();
    auto* write = Open<TFormWriteData>(eDatenSchreiben);
    ASSERT_NE(write, nullptr);
    StartOf(write)->click();
    ProcessEvents();
    EXPECT_TRUE(m_Boxes.empty()) << m_Boxes.front().textId;
    EXPECT_EQ(MessageOf(write), Text(ptxt::kWriteOk));
    EXPECT_FALSE(StartOf(write)->isEnabled()) << "one write per visit";
    EXPECT_NE(BoxConfiguration(), boxBefore);
    const Bytes written = ImageOf(Doc());

    // Changed here and not saved: a read from the read page over the same
    // call brings the box's values back, with the same device types and so
    // the same page.
    ASSERT_TRUE(Doc().SetTuerrufdauer(444));
    auto* read = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(read, nullptr);
    const QPointer<TFormReadData> alive(read);
    StartOf(read)->click();
    ProcessEvents();
    ASSERT_TRUE(alive);
    EXPECT_EQ(m_pMain->GetAktView(), read);
    EXPECT_EQ(BoxIds(), std::vector<int>{mtxt::kAskSave});
    EXPECT_EQ(MessageOf(read), Text(ptxt::kReadOk));
    EXPECT_EQ(Doc().GetTuerrufdauer(), 333);
    EXPECT_EQ(ImageOf(Doc()), written);
    EXPECT_TRUE(Doc().IsReadFromBox());
}

TEST_F(PagesOverIsdn, WriteReportsAFailureWithItsText) {
    Connect();
    m_Box.WithCore([](boxsim::BoxCore& core) {
        core.SetWrongBlock(boxsim::kAlways);
        return 0;
    });
    auto* write = Open<TFormWriteData>(eDatenSchreiben);
    ASSERT_NE(write, nullptr);
    StartOf(write)->click();
    ProcessEvents();
    ASSERT_EQ(BoxIds(), std::vector<int>{ptxt::kWriteFailed});
    EXPECT_EQ(m_Boxes[0].text, Text(ptxt::kWriteFailed));
    EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconStop);
    EXPECT_TRUE(MessageOf(write).isEmpty());
    EXPECT_TRUE(m_pMain->GetDataTransfer()->IsConnected()) << "the call stays up";
    EXPECT_TRUE(StartOf(write)->isEnabled()) << "a failed write may be tried again";

    // Once the box behaves, the same page writes over the same call.
    m_Box.WithCore([](boxsim::BoxCore& core) {
        core.SetWrongBlock(0);
        return 0;
    });
    m_Boxes.clear();
    StartOf(write)->click();
    ProcessEvents();
    EXPECT_TRUE(m_Boxes.empty());
    EXPECT_EQ(MessageOf(write), Text(ptxt::kWriteOk));
}

TEST_F(PagesOverIsdn, ReadThatChangesTheDoorInterfaceRebuildsTheTreeAfterwards) {
    Connect();
    ASSERT_EQ(Doc().GetTypeIT(), 1);
    SetBox(ImageWithTypes(2));
    auto* read = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(read, nullptr);
    const QPointer<TFormReadData> alive(read);
    StartOf(read)->click();
    // The page outlives its handler; the rebuild follows.
    ASSERT_TRUE(alive);
    ASSERT_EQ(BoxIds(), (std::vector<int>{mtxt::kAskSave, ptxt::kReadOk}));
    EXPECT_EQ(m_Boxes[1].flags, mb::kOk | mb::kIconInformation);
    ProcessEvents();
    EXPECT_FALSE(alive);
    EXPECT_EQ(Doc().GetTypeIT(), 2);
    EXPECT_TRUE(Doc().IsReadFromBox());
    m_pMain->FlushTreeChange();
    EXPECT_NE(m_pMain->GetAktView(), nullptr);
    auto* again = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(StartOf(again)->isEnabled());
    EXPECT_TRUE(MessageOf(again).isEmpty());
}

TEST_F(PagesOverIsdn, ACancelledSaveQuestionChangesNothing) {
    Connect();
    SetBox(ImageWithTypes(2));
    ASSERT_TRUE(Doc().SetTuerrufdauer(77)); // modified: the question is asked
    const Bytes before = ImageOf(Doc());
    m_Answers[mtxt::kAskSave] = mb::kIdCancel;
    auto* read = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(read, nullptr);
    const QPointer<TFormReadData> alive(read);
    const int blocks = m_Box.BlocksReceived();
    StartOf(read)->click();
    ProcessEvents();
    EXPECT_EQ(BoxIds(), std::vector<int>{mtxt::kAskSave});
    ASSERT_TRUE(alive);
    EXPECT_EQ(m_pMain->GetAktView(), read);
    EXPECT_TRUE(StartOf(read)->isEnabled());
    EXPECT_TRUE(MessageOf(read).isEmpty());
    EXPECT_EQ(ImageOf(Doc()), before);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_FALSE(Doc().IsReadFromBox());
    EXPECT_EQ(Doc().GetTypeIT(), 1);
    EXPECT_EQ(m_Box.BlocksReceived(), blocks) << "nothing was asked of the box";
}

// A box that holds no configuration answers the read with nothing: the
// read once the call is up, the read page and the read command all fail
// with the read's failure text, and the installer's edits stay as they
// were, not replaced by the defaults.
enum class ReadFrom { CallUp, Page, Command };

struct EmptyBoxRow {
    const char* name;
    ReadFrom from;

    friend void PrintTo(const EmptyBoxRow& row, std::ostream* os) { *os << row.name; }
};

class PagesOverIsdnEmptyBox : public PagesOverIsdn,
                              public testing::WithParamInterface<EmptyBoxRow> {};

TEST_P(PagesOverIsdnEmptyBox, ReadFailsAndTheDocumentStaysAsItWas) {
    const EmptyBoxRow& row = GetParam();
    auto* read = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(read, nullptr);
    ChooseIsdn();
    if (row.from != ReadFrom::CallUp)
        DialAndWaitForTheFirstRead();
    m_Box.WithCore([](boxsim::BoxCore& core) {
        core.ClearConfiguration();
        return 0;
    });
    ASSERT_TRUE(Doc().SetTuerrufdauer(333));
    const Bytes before = ImageOf(Doc());
    const int blocks = m_Box.BlocksReceived();
    m_Boxes.clear();
    switch (row.from) {
    case ReadFrom::CallUp:
        WhenShown<TConnectDlg>([](TConnectDlg& dlg) {
            dlg.findChild<QComboBox*>(QStringLiteral("m_pRnr"))
                ->setEditText(QString::fromLatin1(kBoxNumber));
            dlg.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
        });
        m_pMain->OnConnect();
        ASSERT_TRUE(WaitFor([&] { return Shown(mtxt::kReadOk) || Shown(mtxt::kReadFailed); }));
        break;
    case ReadFrom::Page:
        StartOf(read)->click();
        break;
    case ReadFrom::Command:
        m_pMain->OnReadBox();
        break;
    }
    ProcessEvents();
    EXPECT_GT(m_Box.BlocksReceived(), blocks) << "the box was asked";
    ASSERT_EQ(BoxIds(), (std::vector<int>{mtxt::kAskSave, mtxt::kReadFailed}));
    EXPECT_EQ(m_Boxes[1].flags, mb::kOk | mb::kIconStop);
    EXPECT_EQ(ImageOf(Doc()), before);
    EXPECT_EQ(Doc().GetTuerrufdauer(), 333);
    EXPECT_TRUE(Doc().IsModified()) << "the edits are still unsaved";
    EXPECT_FALSE(Doc().IsReadFromBox());
    ASSERT_EQ(m_pMain->GetAktView(), read);
    EXPECT_TRUE(MessageOf(read).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Reads, PagesOverIsdnEmptyBox,
                         testing::Values(EmptyBoxRow{"OnceTheCallIsUp", ReadFrom::CallUp},
                                         EmptyBoxRow{"ReadPage", ReadFrom::Page},
                                         EmptyBoxRow{"ReadCommand", ReadFrom::Command}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
