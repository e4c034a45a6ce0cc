// The box commands through the main window against a fake controller, and
// the routing of transfer, ISDN and programming messages.

#include "MainWindowFixture.h"

#include "CapiPortMessage.h"
#include "MainTextIds.h"
#include "MessageReceiver.h"
#include "MoxQString.h"
#include "PermSettings.h"
#include "TMoxDocument.h"
#include "TNodeData.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QAction>

namespace {

using mox::platform::WindowMessage;

TEST_F(MainWindowTest, WriteAsksForTheAddressesAndSends) {
    MakeWindow();
    Main().GetDoc()->SetTypeIT(2);
    Answer(mtxt::kAskWriteAdr, mb::kIdNo);
    Main().OnWriteBox();
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes()[0].textId, mtxt::kAskWriteAdr);
    EXPECT_EQ(Boxes()[0].flags, mb::kYesNoCancel | mb::kIconQuestion | mb::kDefButton2);
    EXPECT_TRUE(Boxes()[0].caption.isEmpty());
    EXPECT_EQ(Boxes()[0].text,
              Main().GetRes()->GetQText(38) + "\n" + Main().GetRes()->GetQText(1010));
    EXPECT_EQ(Transfer().runs, std::vector<int>{1});
    EXPECT_GT(Transfer().sent.size(), 1u);
}

TEST_F(MainWindowTest, WriteCancelledSendsNothing) {
    MakeWindow();
    Main().GetDoc()->SetTypeIT(2);
    Answer(mtxt::kAskWriteAdr, mb::kIdCancel);
    Main().OnWriteBox();
    EXPECT_TRUE(Transfer().runs.empty());
}

TEST_F(MainWindowTest, WriteForTypeOneAsksNothing) {
    MakeWindow();
    Main().GetDoc()->SetTypeIT(1);
    Main().OnWriteBox();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Transfer().runs, std::vector<int>{1});
}

TEST_F(MainWindowTest, WriteThatFailsSaysSo) {
    MakeWindow();
    Main().GetDoc()->SetTypeIT(1);
    Transfer().result = 2;
    Main().OnWriteBox();
    EXPECT_EQ(BoxIds(), std::vector<int>{mtxt::kWriteFailed});
}

TEST_F(MainWindowTest, ReadTakesTheBoxConfigurationAndRebuildsTheTree) {
    MakeWindow();
    ASSERT_EQ(Main().GetDoc()->GetTypeKMR(), 0);
    Transfer().readImage = ImageWithTypes(2, 1);
    Main().OnReadBox();
    EXPECT_EQ(BoxIds(), std::vector<int>{mtxt::kReadOk});
    EXPECT_EQ(Main().GetDoc()->GetTypeKMR(), 1);
    EXPECT_TRUE(Main().GetDoc()->IsModified());
    // The camera's folder is there now.
    EXPECT_TRUE(Main().SelectNodeKind(eKMRKonfig));
}

TEST_F(MainWindowTest, ReadThatFailsKeepsTheConfiguration) {
    MakeWindow();
    const std::uint16_t before = Main().GetDoc()->GetTuerrufdauer();
    Transfer().result = 2;
    Main().OnReadBox();
    EXPECT_EQ(BoxIds(), std::vector<int>{mtxt::kReadFailed});
    EXPECT_EQ(Main().GetDoc()->GetTuerrufdauer(), before);
    EXPECT_FALSE(Main().GetDoc()->IsModified());
}

TEST_F(MainWindowTest, RestartSendsTheResetRun) {
    MakeWindow();
    Main().OnRestartBox();
    EXPECT_EQ(BoxIds(), (std::vector<int>{mtxt::kRestartInfo, mtxt::kTransferOk}));
    EXPECT_EQ(Transfer().runs, std::vector<int>{3});
    EXPECT_EQ(Transfer().resetBytes, std::vector<std::uint8_t>(255, 0));
    Transfer().result = 2;
    Main().OnRestartBox();
    EXPECT_EQ(BoxIds().back(), mtxt::kTransferFailed);
    EXPECT_EQ(Boxes().back().flags, mb::kOk | mb::kIconStop);
}

TEST_F(MainWindowTest, LoadDefaultsReadsMoxDefAndWritesIt) {
    MakeWindow(2, true);
    Main().GetDoc()->SetTypeIT(1); // no address question before the write
    Main().OnLoadDefaults();
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes()[0].textId, mtxt::kAskDefaults);
    EXPECT_EQ(Boxes()[0].flags, mb::kYesNo | mb::kIconWarning | mb::kDefButton2);
    EXPECT_TRUE(Main().GetStatusText().contains(QStringLiteral("default values")));
    // "mox.def" became a new document that a save never writes over.
    EXPECT_TRUE(Main().GetDoc()->IsUnnamed());
    EXPECT_EQ(Transfer().runs, std::vector<int>{1});
}

TEST_F(MainWindowTest, LoadDefaultsFindsMoxDefFromAnyWorkingDirectory) {
    MakeWindow(2, true);
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(m_Dir);
    Main().OnLoadDefaults();
    std::filesystem::current_path(cwd);
    for (int id : BoxIds())
        EXPECT_NE(id, mtxt::kOpenFailed);
    EXPECT_FALSE(Transfer().runs.empty());
}

TEST_F(MainWindowTest, LoadDefaultsAnsweredNoDoesNothing) {
    MakeWindow(2, true);
    Answer(mtxt::kAskDefaults, mb::kIdNo);
    Main().OnLoadDefaults();
    EXPECT_EQ(BoxIds(), std::vector<int>{mtxt::kAskDefaults});
    EXPECT_TRUE(Transfer().runs.empty());
}

struct EndRow {
    const char* name;
    std::uint32_t id;
    std::intptr_t wParam;
    int textId; // 0: no box
};

void PrintTo(const EndRow& r, std::ostream* os) {
    *os << r.name;
}

class TransferEnds : public MainWindowTest, public testing::WithParamInterface<EndRow> {};

TEST_P(TransferEnds, CloseTheFormAndReport) {
    MakeWindow();
    Main().Perform(GetParam().id, GetParam().wParam, 0);
    EXPECT_EQ(Transfer().formCloses, 1);
    if (GetParam().textId)
        EXPECT_EQ(BoxIds(), std::vector<int>{GetParam().textId});
    else
        EXPECT_TRUE(Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TransferEnds,
    testing::Values(EndRow{"ResultTracedOnly", WM_TRANSFER_RESULT, 1, 0},
                    EndRow{"FirstEndOk", WM_TRANSFER_END_FIRST, 1, mtxt::kTransferOk},
                    EndRow{"LastEndFailed", WM_TRANSFER_END_LAST, 0, mtxt::kTransferFailed}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, ProgrammingResultsReachTheVisiblePage) {
    RegisterRecordingPage(eTlnAktProg);
    MakeWindow();
    Main().GetDoc()->SetTypeIT(2);
    Main().BuildKonfigTree();
    Main().FlushTreeChange();
    ASSERT_TRUE(Select(eTlnAktProg));
    RecordingPage::s_Log.clear();
    Main().Perform(PROGMODEAKT_OK, 3, 4);
    Main().Perform(TLNPROG_FEHLER, 1, 2);
    EXPECT_EQ(RecordingPage::s_Log, (std::vector<std::string>{"msg 1345", "msg 1349"}));
    // The box identifier went into the document first.
    EXPECT_EQ(Main().GetDoc()->GetBSGProgKennziffer(), 4711);
}

TEST_F(MainWindowTest, ProgrammingResultsReachAVisibleDialog) {
    MakeWindow();
    QWidget dialog;
    std::vector<std::uint32_t> got;
    mox::platform::MessageReceiver receiver([&got](const WindowMessage& m) {
        got.push_back(m.id);
        return 0;
    });
    Main().SetForwardTarget(TMoxMain::eFwdTlnProgDlg, &dialog, receiver.Address());
    Main().Perform(KBA_LIST_OK, 0, 0);
    EXPECT_TRUE(got.empty()); // hidden
    dialog.show();
    Main().Perform(KBA_LIST_OK, 0, 0);
    EXPECT_EQ(got, std::vector<std::uint32_t>{KBA_LIST_OK});
    Main().SetForwardTarget(TMoxMain::eFwdTlnProgDlg, nullptr, {});
}

TEST_F(MainWindowTest, OwnHangUpAsksTheControllerAndShowsNoText) {
    SetComPort(ePortCapi);
    MakeWindow();
    Main().Perform(CAPIPORT_CONNECT_ACTIVE, 1, 0);
    Main().OnDisconnect();
    EXPECT_EQ(Transfer().disconnects, 1);
    // The port reports the end of the call we cleared: no text either.
    WindowMessage done{CAPIPORT_DISCONNECT, 7, 0, {}};
    done.value = CapiDisconnectInfo{CapiDisconnectKind::Local, 0x3490, 0, "Normal"};
    Main().Perform(done);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Transfer().progResets, 2);
}

TEST_F(MainWindowTest, RemoteHangUpShowsTheReason) {
    SetComPort(ePortCapi);
    MakeWindow();
    WindowMessage msg{CAPIPORT_DISCONNECT, 7, 0, {}};
    msg.value = CapiDisconnectInfo{CapiDisconnectKind::Remote, 0x3491, 0, "Teilnehmer besetzt"};
    Main().Perform(msg);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Teilnehmer besetzt"));
    EXPECT_EQ(Boxes()[0].flags, mb::kOk | mb::kIconInformation);
}

TEST_F(MainWindowTest, RemoteHangUpWithoutReasonShowsItsError) {
    SetComPort(ePortCapi);
    MakeWindow();
    WindowMessage msg{CAPIPORT_DISCONNECT, 7, 0, {}};
    msg.value = CapiDisconnectInfo{CapiDisconnectKind::Refused, 0, 0x3301, ""};
    Main().Perform(msg);
    EXPECT_EQ(BoxIds(), std::vector<int>{mtxt::kIsdnNoReason});
    EXPECT_EQ(Boxes()[0].flags, mb::kOk | mb::kIconStop);
}

TEST_F(MainWindowTest, IncomingCallNumberGetsItsPrefix) {
    SetComPort(ePortCapi);
    MakeWindow();
    CapiCallInfo info;
    ASSERT_TRUE(info.SetNumber2("301234"));
    info.bCallingType = 0x21; // national
    WindowMessage msg{CAPIPORT_CONNECT, 1, 0, info};
    Main().Perform(msg);
    EXPECT_EQ(Main().GetRnrKunde(), "0301234");
    info.bCallingType = 0x11; // international
    Main().Perform(WindowMessage{CAPIPORT_CONNECT, 1, 0, info});
    EXPECT_EQ(Main().GetRnrKunde(), "00301234");
    info.bCallingType = 0x01; // unknown type
    Main().Perform(WindowMessage{CAPIPORT_CONNECT, 1, 0, info});
    EXPECT_EQ(Main().GetRnrKunde(), "301234");
    // The hang-up forgets it.
    Main().Perform(WindowMessage{CAPIPORT_DISCONNECT, 1, CAPIPORT_DISCONNECT_OWN, {}});
    EXPECT_EQ(Main().GetRnrKunde(), "");
}

TEST_F(MainWindowTest, TransferPackagesComeFromTheDocument) {
    MakeWindow();
    Main().GetDoc()->SetTypeIT(3);
    Main().OnWriteBox();
    // Every package after the first was asked for through the window.
    ASSERT_GT(Transfer().sent.size(), 2u);
    EXPECT_EQ(Transfer().len, 0u);
}

} // namespace
