// The main window over ISDN, all through its own commands: the link command
// with the link dialog chooses ISDN and the own number, the connect command
// dials the number typed into the connect dialog, the window reads the box
// once the call is up, and the disconnect command hangs up. The real
// transfer controller's ISDN port loads the fake CAPI library named in the
// settings; the box simulator's core is the box at the far end, so the
// configuration read is one that core keeps.

#include "BoxCapiLink.h"
#include "FakeCapiControl.h"
#include "MainTextIds.h"
#include "MoxAccess.h"
#include "MoxDaten.h"
#include "MoxTagged.h"
#include "PermSettings.h"
#include "TConnectDlg.h"
#include "TFileDialog.h"
#include "TMainDataTransfer.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TNodeData.h"
#include "TSetComPortDlg.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Only a hang ever waits this long.
constexpr int kGuardMs = 20000;
constexpr char kBoxNumber[] = "0891234567";
constexpr std::uint16_t kBoxTuerrufdauer = 333;
constexpr std::uint8_t kBoxTypeIT = 2;

// The configuration the box holds before the call, package by package as a
// write of the program leaves it there: the defaults with a door-call time
// and a door-interface type of their own.
std::vector<Bytes> BoxPackages() {
    auto data = std::make_unique<MoxDaten>();
    MoxInitDaten(data.get());
    EXPECT_TRUE(MoxSetTuerrufdauer(data.get(), kBoxTuerrufdauer));
    MoxSetTypeIT(data.get(), kBoxTypeIT);
    Bytes image(32768);
    MoxSetStreamBuffer(data.get(), image.data(), image.size());
    std::vector<Bytes> packages;
    auto add = [&](std::uint8_t section, int index) {
        const std::uint16_t n =
            MoxWriteTaggedData(data.get(), section, static_cast<std::uint8_t>(index), true);
        if (n)
            packages.emplace_back(image.begin(), image.begin() + n);
    };
    add(eTaggedData_SysData, 0);
    add(eTaggedData_Concierge, 0);
    for (int i = 0; i < MOX_MAX_TLN; ++i)
        add(eTaggedData_Tln, i);
    for (int i = 0; i < MOX_MAX_PG; ++i)
        add(eTaggedData_PG, i);
    add(eTaggedData_Mfe, 0);
    add(eTaggedData_Mfr, 0);
    for (int i = 0; i < MOX_MAX_RAKAUSGANG; ++i)
        add(eTaggedData_RAKAusgang, i);
    for (int i = 0; i < MOX_MAX_RAKEINGANG; ++i)
        add(eTaggedData_RAKEingang, i);
    add(eTaggedData_Texte, 0);
    for (int i = 0; i < MOX_MAX_SMS; ++i)
        add(eTaggedData_SMS, i);
    if (data->TypeKMR)
        add(eTaggedData_KMR, 0);
    MoxSetStreamBuffer(data.get(), nullptr, 0);
    return packages;
}

// Runs once the next modal dialog of type Dlg shows.
template <class Dlg> void WhenShown(std::function<void(Dlg&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dlg = qobject_cast<Dlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        answer(*dlg);
    });
}

// Runs the window's event loop until pred holds; false after the guard.
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

class MainWindowIsdn : public testing::Test {
protected:
    void SetUp() override {
        fakecapi::Reset();
        fakecapi::SetBox(&m_Box);
        Bytes all;
        for (const Bytes& p : BoxPackages())
            all.insert(all.end(), p.begin(), p.end());
        m_BoxImage = all;
        m_Box.WithCore([&](boxsim::BoxCore& core) {
            core.SetConfiguration(all);
            return 0;
        });

        SetAssiMode(false);
        SetComPort(ePortNone);
        SetPermMSNService("");
        SetCapiLibrary(FAKECAPI_PATH);

        TFileDialog::SetHandlerForTesting([](const TFileDialog::Request&) { return QString(); });
        TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
            m_Boxes.push_back(r.textId);
            if (r.textId == mtxt::kAskSave)
                return m_nAskSaveAnswer;
            return (r.flags & mb::kButtonMask) == mb::kYesNo ||
                           (r.flags & mb::kButtonMask) == mb::kYesNoCancel
                       ? mb::kIdYes
                       : mb::kIdOk;
        });

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
        m_pMain.reset();
        TMsgBox::SetHandlerForTesting({});
        TFileDialog::SetHandlerForTesting({});
        for (const std::string& v : fakecapi::Violations())
            ADD_FAILURE() << "fake CAPI: " << v;
        fakecapi::SetBox(nullptr);
        fakecapi::Reset();
    }

    // The link command, with ISDN and the own number chosen in the dialog.
    void ChooseIsdn(const char* own) {
        WhenShown<TSetComPortDlg>([own](TSetComPortDlg& dlg) {
            dlg.findChild<QRadioButton*>(
                   QStringLiteral("m_pComPortItem%1").arg(TSetComPortDlg::kItemIsdn))
                ->click();
            dlg.findChild<QLineEdit*>(QStringLiteral("m_pRnr"))->setText(QString::fromLatin1(own));
            dlg.findChild<QPushButton*>(QStringLiteral("m_pBtnOk"))->click();
        });
        m_pMain->OnPortDialog();
    }

    // The connect command, with the number typed into the dialog.
    void Dial(const char* number) {
        WhenShown<TConnectDlg>([number](TConnectDlg& dlg) {
            dlg.findChild<QComboBox*>(QStringLiteral("m_pRnr"))
                ->setEditText(QString::fromLatin1(number));
            dlg.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
        });
        m_pMain->OnConnect();
    }

    // ISDN chosen, the box dialled, and the read once the call is up done.
    void CallTheBox() {
        ChooseIsdn("4711");
        Dial(kBoxNumber);
        ASSERT_TRUE(WaitFor([&] { return Shown(mtxt::kReadOk) || Shown(mtxt::kReadFailed); }))
            << "no read after the call came up";
        ASSERT_TRUE(Shown(mtxt::kReadOk));
    }

    bool Shown(int textId) const {
        return std::find(m_Boxes.begin(), m_Boxes.end(), textId) != m_Boxes.end();
    }

    QAction* Action(const char* name) const {
        auto* action = m_pMain->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    // The window shows the call as being dialled: the hang-up button in the
    // dial button's place and no number in the title.
    bool ShowsDialling() const {
        return !Action("m_pDialToolButton")->isVisible() &&
               Action("m_pDiscToolButton")->isVisible() &&
               m_pMain->windowTitle().endsWith(QStringLiteral(" <>"));
    }
    bool ShowsNoCall() const {
        return Action("m_pDialToolButton")->isVisible() &&
               !Action("m_pDiscToolButton")->isVisible() &&
               m_pMain->windowTitle().endsWith(QStringLiteral(" < >"));
    }

    TMoxDocument& Doc() { return *m_pMain->GetDoc(); }

    boxsim::BoxCapiLink m_Box; // outlives the window and its port
    Bytes m_BoxImage; // what the box holds before the call
    std::unique_ptr<TMoxMain> m_pMain;
    std::vector<int> m_Boxes;
    int m_nAskSaveAnswer = mb::kIdNo;
};


TEST_F(MainWindowIsdn, ChooseIsdnDialReadHangUp) {
    EXPECT_FALSE(m_pMain->GetDataTransfer()->IsConnected());
    ChooseIsdn("4711");
    EXPECT_EQ(GetComPort(), TSetComPortDlg::kItemIsdn);
    std::string own;
    GetPermMSNService(own);
    EXPECT_EQ(own, "4711");
    // The port loaded the library named in the settings and listens.
    EXPECT_TRUE(fakecapi::GetRegistration().registered);
    EXPECT_FALSE(m_pMain->GetDataTransfer()->IsConnected()) << "no call yet";
    ASSERT_NE(Doc().GetTuerrufdauer(), kBoxTuerrufdauer);

    Dial(kBoxNumber);
    std::string first;
    GetPermMSNClient(0, first);
    EXPECT_EQ(first, kBoxNumber);
    // Once the call is up the window reads the box by itself.
    ASSERT_TRUE(WaitFor([&] { return Shown(mtxt::kReadOk) || Shown(mtxt::kReadFailed); }))
        << "no read after the call came up";
    EXPECT_TRUE(Shown(mtxt::kReadOk));
    EXPECT_FALSE(Shown(mtxt::kReadFailed));
    EXPECT_EQ(m_Box.CallsUp(), 1);
    EXPECT_TRUE(m_pMain->GetDataTransfer()->IsConnected());
    EXPECT_EQ(Doc().GetTuerrufdauer(), kBoxTuerrufdauer);
    EXPECT_EQ(Doc().GetTypeIT(), kBoxTypeIT);

    // A read from the read command over the same call brings the same.
    ASSERT_TRUE(Doc().SetTuerrufdauer(444));
    m_Boxes.clear();
    m_pMain->OnReadBox();
    EXPECT_EQ(m_Boxes, (std::vector<int>{mtxt::kAskSave, mtxt::kReadOk}));
    EXPECT_EQ(Doc().GetTuerrufdauer(), kBoxTuerrufdauer);

    // The hang-up of our own is no news: no message box.
    m_Boxes.clear();
    m_pMain->OnDisconnect();
    ASSERT_TRUE(m_Box.WaitForCallsDown(1));
    ASSERT_TRUE(WaitFor([] { return fakecapi::CallCount() == 0; }));
    EXPECT_FALSE(m_pMain->GetDataTransfer()->IsConnected());
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_Boxes.empty());
    EXPECT_EQ(Doc().GetTuerrufdauer(), kBoxTuerrufdauer);
    // The box keeps its configuration; a read changes nothing there.
    EXPECT_EQ(m_Box.WithCore([](boxsim::BoxCore& c) { return c.Configuration(); }), m_BoxImage);
}

// The read once the call is up runs as the read command: unsaved edits are
// offered for saving first, and a cancel reads nothing and keeps the call.
struct AutoReadCase {
    const char* name;
    int answer;
    bool reads;
};

class MainWindowIsdnAutoRead : public MainWindowIsdn,
                               public testing::WithParamInterface<AutoReadCase> {};

TEST_P(MainWindowIsdnAutoRead, AsksBeforeItReplacesUnsavedEdits) {
    const AutoReadCase& c = GetParam();
    const std::filesystem::path saved =
        std::filesystem::temp_directory_path() /
        ("mox-autoread-" + std::to_string(::getpid()) + "-" + c.name + ".ktx");
    std::filesystem::remove(saved);
    TFileDialog::SetHandlerForTesting(
        [&](const TFileDialog::Request&) { return QString::fromStdString(saved.string()); });
    m_nAskSaveAnswer = c.answer;
    ChooseIsdn("4711");
    ASSERT_TRUE(Doc().SetTuerrufdauer(444));
    m_Boxes.clear();

    Dial(kBoxNumber);
    ASSERT_TRUE(WaitFor(
        [&] { return Shown(mtxt::kAskSave) || Shown(mtxt::kReadOk) || Shown(mtxt::kReadFailed); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_pMain->GetDataTransfer()->IsConnected()) << "the call stays up";
    EXPECT_EQ(fakecapi::CallCount(), 1);
    if (c.reads) {
        EXPECT_EQ(m_Boxes, (std::vector<int>{mtxt::kAskSave, mtxt::kReadOk}));
        EXPECT_EQ(Doc().GetTuerrufdauer(), kBoxTuerrufdauer);
    } else {
        EXPECT_EQ(m_Boxes, std::vector<int>{mtxt::kAskSave});
        EXPECT_EQ(Doc().GetTuerrufdauer(), 444);
        EXPECT_TRUE(Doc().IsModified());
        // The user reads from the menu when ready.
        m_nAskSaveAnswer = mb::kIdNo;
        m_Boxes.clear();
        m_pMain->OnReadBox();
        EXPECT_EQ(m_Boxes, (std::vector<int>{mtxt::kAskSave, mtxt::kReadOk}));
        EXPECT_EQ(Doc().GetTuerrufdauer(), kBoxTuerrufdauer);
    }
    // Yes saved the edits before the read replaced them.
    EXPECT_EQ(std::filesystem::exists(saved), c.answer == mb::kIdYes);
    if (c.answer == mb::kIdYes) {
        std::ifstream in(saved, std::ios::binary);
        Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        auto data = std::make_unique<MoxDaten>();
        ASSERT_TRUE(MoxLoadDaten(data.get(), file.data(), file.size()));
        EXPECT_EQ(MoxGetTuerrufdauer(data.get()), 444);
    }
    std::filesystem::remove(saved);

    m_pMain->OnDisconnect();
    ASSERT_TRUE(m_Box.WaitForCallsDown(1));
}

INSTANTIATE_TEST_SUITE_P(Answers, MainWindowIsdnAutoRead,
                         testing::Values(AutoReadCase{"Yes", mb::kIdYes, true},
                                         AutoReadCase{"No", mb::kIdNo, true},
                                         AutoReadCase{"Cancel", mb::kIdCancel, false}),
                         [](const testing::TestParamInfo<AutoReadCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(MainWindowIsdn, WriteOverTheCallThenReadBack) {
    CallTheBox();

    ASSERT_TRUE(Doc().SetTuerrufdauer(444));
    m_Boxes.clear();
    m_pMain->OnWriteBox();
    EXPECT_EQ(m_Boxes, std::vector<int>{mtxt::kAskWriteAdr}); // and no failure
    EXPECT_NE(m_Box.WithCore([](boxsim::BoxCore& c) { return c.Configuration(); }), m_BoxImage)
        << "the box keeps what was written";

    // Changed here and not saved: the read brings the box's values back.
    ASSERT_TRUE(Doc().SetTuerrufdauer(555));
    m_Boxes.clear();
    m_pMain->OnReadBox();
    EXPECT_EQ(m_Boxes, (std::vector<int>{mtxt::kAskSave, mtxt::kReadOk}));
    EXPECT_EQ(Doc().GetTuerrufdauer(), 444);
    EXPECT_EQ(Doc().GetTypeIT(), kBoxTypeIT);

    m_pMain->OnDisconnect();
    ASSERT_TRUE(m_Box.WaitForCallsDown(1));
}

TEST_F(MainWindowIsdn, RemoteHangUpMidReadLeavesTheDocumentAlone) {
    CallTheBox();

    ASSERT_TRUE(Doc().SetTuerrufdauer(444));
    m_Box.SetHangUpAtBlock(3);
    m_Boxes.clear();
    m_pMain->OnReadBox();
    ASSERT_TRUE(WaitFor([&] { return !m_pMain->GetDataTransfer()->IsConnected(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(Shown(mtxt::kReadFailed));
    EXPECT_FALSE(Shown(mtxt::kReadOk));
    // The far end's reason is told as its own text (no text id).
    EXPECT_TRUE(Shown(0));
    // The document holds what it held before the read.
    EXPECT_EQ(Doc().GetTuerrufdauer(), 444);
    EXPECT_EQ(Doc().GetTypeIT(), kBoxTypeIT);
    EXPECT_TRUE(WaitFor([] { return fakecapi::CallCount() == 0; }));
}

// While the network rings the call, the window shows it as being dialled,
// whatever the installer does meanwhile; a second dial is refused with a
// word, and the hang-up button ends the ringing call.
TEST_F(MainWindowIsdn, DiallingHoldsWhileTheCallRings) {
    fakecapi::SetOutcome(fakecapi::CallOutcome::NoAnswer);
    ChooseIsdn("4711");
    ASSERT_TRUE(ShowsNoCall());
    Dial(kBoxNumber);
    ASSERT_TRUE(WaitFor([] { return fakecapi::CallCount() == 1; }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(ShowsDialling());

    // A click on a tree node.
    ASSERT_TRUE(m_pMain->SelectNodeKind(eDatenLesen));
    m_pMain->FlushTreeChange();
    EXPECT_TRUE(ShowsDialling()) << "after a tree click";
    // OK in the link dialog, ISDN kept.
    ChooseIsdn("4711");
    EXPECT_TRUE(ShowsDialling()) << "after the link dialog's OK";
    EXPECT_EQ(fakecapi::CallCount(), 1) << "the call still rings";

    // The connect command once more: refused, and the installer is told.
    m_Boxes.clear();
    Dial("0897654321");
    EXPECT_EQ(m_Boxes, std::vector<int>{mtxt::kDialCallUp});
    EXPECT_TRUE(ShowsDialling());
    EXPECT_EQ(fakecapi::CallCount(), 1);

    // The hang-up button ends the ringing call, with no news to tell.
    m_Boxes.clear();
    m_pMain->OnDisconnect();
    ASSERT_TRUE(WaitFor([] { return fakecapi::CallCount() == 0; }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(ShowsNoCall());
    EXPECT_TRUE(m_Boxes.empty());
}

TEST_F(MainWindowIsdn, DiallingEndsWhenTheCallIsUpOrCleared) {
    CallTheBox();
    EXPECT_FALSE(Action("m_pDialToolButton")->isVisible());
    EXPECT_TRUE(Action("m_pDiscToolButton")->isVisible());
    EXPECT_TRUE(m_pMain->windowTitle().endsWith(QStringLiteral(" <") + kBoxNumber + ">"))
        << "connected: the number shows";
    m_pMain->OnDisconnect();
    ASSERT_TRUE(m_Box.WaitForCallsDown(1));
    ASSERT_TRUE(WaitFor([] { return fakecapi::CallCount() == 0; }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(ShowsNoCall());

    // A busy box clears the call while it rings: the dial button is back.
    fakecapi::SetOutcome(fakecapi::CallOutcome::Busy);
    m_Boxes.clear();
    Dial(kBoxNumber);
    ASSERT_TRUE(WaitFor([&] { return !m_Boxes.empty(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(ShowsNoCall());
}

// A dial the link refuses for want of a usable CAPI tells the installer so;
// nothing is dialled and the window shows no call.
TEST_F(MainWindowIsdn, ARefusedDialSaysSo) {
    fakecapi::FailRegister(0x1008);
    ChooseIsdn("4711");
    EXPECT_FALSE(fakecapi::GetRegistration().registered);
    // The port's own word about the missing CAPI comes when it is opened.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::sendPostedEvents();
    m_Boxes.clear();
    Dial(kBoxNumber);
    EXPECT_EQ(m_Boxes, std::vector<int>{mtxt::kDialFailed});
    EXPECT_EQ(fakecapi::CallCount(), 0);
    EXPECT_TRUE(ShowsNoCall());
}

// The far end hangs up while the configuration is sent or read: the
// exchange fails with its text and the reason of the hang-up follows, one
// box at a time. Each box here runs the event loop a real one runs until
// the window has heard of the hang-up, so the window's queued report comes
// in while it is open.
struct HangUpCase {
    const char* name;
    bool send;
    int failureText;

    friend void PrintTo(const HangUpCase& c, std::ostream* os) { *os << c.name; }
};

class MainWindowIsdnHangUp : public MainWindowIsdn,
                             public testing::WithParamInterface<HangUpCase> {};

TEST_P(MainWindowIsdnHangUp, OneBoxAtATime) {
    const HangUpCase& c = GetParam();
    CallTheBox();
    ASSERT_TRUE(Doc().SetTuerrufdauer(444));
    m_Box.SetHangUpAtBlock(3);

    std::vector<TMsgBox::Request> order;
    int open = 0;
    int mostOpen = 0;
    TMsgBox::SetHandlerForTesting([&](const TMsgBox::Request& r) {
        order.push_back(r);
        mostOpen = std::max(mostOpen, ++open);
        int answer = mb::kIdOk;
        if (r.textId == mtxt::kAskWriteAdr) {
            answer = mb::kIdYes;
        } else if (r.textId == mtxt::kAskSave) {
            answer = mb::kIdNo;
        } else if (r.textId == c.failureText) {
            EXPECT_TRUE(WaitFor([&] { return Action("m_pDialToolButton")->isVisible(); }))
                << "the window never heard of the hang-up";
        }
        --open;
        return answer;
    });
    if (c.send)
        m_pMain->OnWriteBox();
    else
        m_pMain->OnReadBox();
    ASSERT_TRUE(WaitFor([&] { return order.size() >= 3; }));
    QCoreApplication::processEvents();

    EXPECT_EQ(mostOpen, 1) << "two boxes open at once";
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0].textId, c.send ? mtxt::kAskWriteAdr : mtxt::kAskSave);
    EXPECT_EQ(order[1].textId, c.failureText);
    EXPECT_EQ(order[2].textId, 0);
    EXPECT_EQ(order[2].text, QString::fromUtf8("Verbindung unterbrochen"));
    EXPECT_EQ(Doc().GetTuerrufdauer(), 444);
    EXPECT_TRUE(WaitFor([] { return fakecapi::CallCount() == 0; }));
}

INSTANTIATE_TEST_SUITE_P(Exchanges, MainWindowIsdnHangUp,
                         testing::Values(HangUpCase{"Send", true, mtxt::kWriteFailed},
                                         HangUpCase{"Read", false, mtxt::kReadFailed}),
                         [](const testing::TestParamInfo<HangUpCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
