// The transfer form with its own ports end to end: the direct serial link on
// every COM setting over a pseudo-terminal, and the ISDN link through the
// fake CAPI library: dial, write and read back, hang-ups, a refused number,
// a port that cannot open, a CAPI library that is not there and one that
// refuses the program.

#include "LinksDialogBench.h"
#include "PerProcessSettingsFile.h"

#include "BlockProtocolDefs.h"
#include "CapiDefs.h"
#include "ComPortDefs.h"
#include "FakeCapiLog.h"
#include "MoxCodec.h"
#include "TIsdnLink.h"
#include "TextSubst.h"
#include "TransferDialogTextIds.h"

#include <ostream>
#include <string>

namespace {

// ---------------------------------------------------------------- V.24

class SerialSetting : public LinksDialogBench, public testing::WithParamInterface<int> {};

TEST_P(SerialSetting, OpensItsComPortAndRoundTripsTheConfiguration) {
    SetComPort(GetParam());
    dlg->UpdatePort();
    EXPECT_TRUE(dlg->IsConnected());
    EXPECT_EQ(dlg->GetConnectionText(), "via COM-Port");
    // The port is open and identifies the program at once.
    ASSERT_TRUE(v24Box.WaitForCommand(eEvConfKennung, 1));

    TMoxDocument& sent = MakeDoc();
    Fill(sent);
    const std::vector<std::uint8_t> image = ImageOf(sent);
    ASSERT_TRUE(Write(sent));
    EXPECT_EQ(results, std::vector<int>{1});
    EXPECT_FALSE(dlg->isVisible());

    TMoxDocument& read = MakeDoc();
    ASSERT_NE(ImageOf(read), image);
    ASSERT_TRUE(Read(read));
    EXPECT_EQ(results, (std::vector<int>{1, 1}));
    EXPECT_EQ(ImageOf(read), image);
    EXPECT_EQ(ImageOf(sent), image);
    EXPECT_TRUE(messageBox.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Com, SerialSetting,
                         testing::Values(ePortCom1, ePortCom1 + 1, ePortCom1 + 2, ePortCom4),
                         [](const auto& info) { return "COM" + std::to_string(info.param - 4); });

TEST_F(LinksDialogBench, SerialPortThatCannotOpenIsShownAndNoLink) {
    SetComDevice(2, "/nonexistent/mox-no-such-tty");
    SetComPort(ePortCom1 + 1);
    dlg->UpdatePort();
    EXPECT_FALSE(dlg->IsConnected());
    EXPECT_EQ(dlg->GetConnectionText(), "no connection!");
    ASSERT_TRUE(WaitFor([&] { return !messageBox.shown.empty(); }));
    EXPECT_EQ(messageBox.shown[0].text, kComOpenErrorText);
    EXPECT_EQ(messageBox.shown[0].caption, kComOpenErrorCaption);
    EXPECT_EQ(messageBox.shown[0].icon, eDocMsgIconStop);

    TMoxDocument& doc = MakeDoc();
    EXPECT_FALSE(Read(doc));
    EXPECT_EQ(results, std::vector<int>{0});
}

// ---------------------------------------------------------------- ISDN

class Isdn : public LinksDialogBench {
protected:
    void SetUp() override {
        LinksDialogBench::SetUp();
        SetComPort(ePortCapi);
        dlg->UpdatePort();
    }
};

TEST_F(Isdn, DialWriteReadBackByteIdenticalAndHangUp) {
    EXPECT_FALSE(dlg->IsConnected()) << "no call yet";
    ASSERT_TRUE(DialUp());
    EXPECT_EQ(dlg->GetConnectionText(), "via capi");
    EXPECT_EQ(active, std::vector<std::intptr_t>{dlg->GetIsdnInstance()});

    TMoxDocument& sent = MakeDoc();
    Fill(sent);
    const std::vector<std::uint8_t> image = ImageOf(sent);
    ASSERT_TRUE(Write(sent));
    TMoxDocument& read = MakeDoc();
    ASSERT_TRUE(Read(read));
    EXPECT_EQ(results, (std::vector<int>{1, 1}));
    EXPECT_EQ(ImageOf(read), image);

    dlg->Disconnect();
    EXPECT_EQ(dlg->GetIsdnInstance(), 0);
    EXPECT_FALSE(dlg->IsConnected());
    // Posted: the owner hears it from its event loop, once, as a record.
    ASSERT_TRUE(WaitFor([&] { return !disconnects.empty(); }));
    ASSERT_TRUE(capiBox.WaitForCallsDown(1));
    // The port's own report of the cleared call must not be a second
    // notice; it is posted right after the port answers the network's
    // DISCONNECT_IND. A message the port must answer, put behind that
    // answer, is answered only once the report is posted: then the event
    // loop delivers it and whatever the form posts on.
    ASSERT_TRUE(WaitFor([] { return CountPut(eCapiDisconnect, eCapiResp) == 1; }));
    fakecapi::OrphanDataInd();
    ASSERT_TRUE(fakecapi::WaitAnswered(kGuardMs));
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    ASSERT_EQ(disconnects.size(), 1u);
    EXPECT_EQ(disconnects[0].instance, 0);
    ASSERT_TRUE(disconnects[0].hasRecord);
    EXPECT_EQ(disconnects[0].info.kind, CapiDisconnectKind::Local);
    EXPECT_TRUE(messageBox.shown.empty());
}

TEST_F(Isdn, RemoteHangUpMidReadFailsOnceAndLeavesTheDocument) {
    ASSERT_TRUE(DialUp());
    TMoxDocument& sent = MakeDoc();
    Fill(sent);
    ASSERT_TRUE(Write(sent));

    TMoxDocument& read = MakeDoc();
    const std::vector<std::uint8_t> before = ImageOf(read);
    capiBox.SetHangUpAtBlock(3);
    EXPECT_FALSE(Read(read));
    EXPECT_EQ(results, (std::vector<int>{1, 0}));
    EXPECT_EQ(ImageOf(read), before);
    EXPECT_FALSE(read.IsModified());
    ASSERT_TRUE(WaitFor([&] { return !disconnects.empty(); }));
    ASSERT_EQ(disconnects.size(), 1u);
    ASSERT_TRUE(disconnects[0].hasRecord);
    EXPECT_EQ(disconnects[0].info.kind, CapiDisconnectKind::Remote);
    EXPECT_EQ(disconnects[0].info.reasonText, "Verbindung unterbrochen");
    EXPECT_FALSE(dlg->IsConnected());
    EXPECT_EQ(dlg->GetIsdnInstance(), 0);
}

TEST_F(Isdn, BusyBoxEndsTheDialWithTheNetworksReason) {
    fakecapi::SetOutcome(fakecapi::CallOutcome::Busy);
    EXPECT_GT(dlg->Connect("0891234567"), 0);
    ASSERT_TRUE(WaitFor([&] { return !disconnects.empty(); }));
    EXPECT_EQ(disconnects[0].info.kind, CapiDisconnectKind::Remote);
    EXPECT_EQ(disconnects[0].info.reasonText, "participant occupied");
    EXPECT_TRUE(active.empty());
    EXPECT_FALSE(dlg->IsConnected());
}

struct LongNumberRow {
    const char* name;
    std::string dial;
    std::string own;
    int expected;
    int textId;
    std::string shown;

    friend void PrintTo(const LongNumberRow& r, std::ostream* os) { *os << r.name; }
};

class LongNumber : public Isdn, public testing::WithParamInterface<LongNumberRow> {};

TEST_P(LongNumber, IsRefusedWithAMessageAndNothingIsDialled) {
    const LongNumberRow& row = GetParam();
    SetPermMSNService(row.own);
    EXPECT_EQ(dlg->Connect(row.dial), row.expected);
    EXPECT_EQ(dlg->GetIsdnInstance(), 0);
    ASSERT_TRUE(WaitFor([&] { return !messageBox.shown.empty(); }));
    ASSERT_EQ(messageBox.shown.size(), 1u);
    EXPECT_EQ(messageBox.shown[0].text, TextSubst(m_pRes->GetText(row.textId), {row.shown}));
    EXPECT_NE(messageBox.shown[0].text.find(row.shown), std::string::npos);
    EXPECT_EQ(messageBox.shown[0].caption, m_pRes->GetText(ttxt::kCaptionMox));
    EXPECT_EQ(messageBox.shown[0].icon, eDocMsgIconStop);
    for (const auto& m : fakecapi::PutLog())
        EXPECT_FALSE(m[4] == 0x02 && m[5] == 0x80) << "a CONNECT_REQ went out";
}

INSTANTIATE_TEST_SUITE_P(
    Dial, LongNumber,
    testing::Values(LongNumberRow{"NumberToDial", "01234567890123456", "4711",
                                  eIsdnDialNumberTooLong, ttxt::kIsdnNumberTooLong,
                                  "01234567890123456"},
                    LongNumberRow{"OwnNumber", "0891234567", "47114711471147114",
                                  eIsdnDialOwnNumberTooLong, ttxt::kIsdnOwnNumberTooLong,
                                  "47114711471147114"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Isdn, IncomingCallIsAnnouncedWithItsRecordAndRefused) {
    ASSERT_TRUE(fakecapi::IncomingCall("301234", "4711", 2, 0x21));
    ASSERT_TRUE(WaitFor([&] { return !connects.empty(); }));
    EXPECT_STREQ(connects[0].GetCallingPartyNumber(), "301234");
    EXPECT_EQ(connects[0].bCallingType, 0x21);
    EXPECT_FALSE(dlg->IsConnected());
    dlg->Disconnect();
    ASSERT_TRUE(WaitFor([&] { return fakecapi::CallCount() == 0; }));
    EXPECT_EQ(capiBox.CallsUp(), 0);
}

class MissingCapi : public LinksDialogBench {
protected:
    void SetUp() override {
        LinksDialogBench::SetUp();
        SetCapiLibrary("/nonexistent/libmox-no-capi.so.3");
        SetComPort(ePortCapi);
        dlg->UpdatePort();
    }
};

TEST_F(MissingCapi, IsToldOnceAndEveryDialFails) {
    ASSERT_TRUE(WaitFor([&] { return !messageBox.shown.empty(); }));
    ASSERT_EQ(messageBox.shown.size(), 1u);
    EXPECT_EQ(messageBox.shown[0].text, "No /nonexistent/libmox-no-capi.so.3 found!");
    EXPECT_EQ(messageBox.shown[0].caption, m_pRes->GetText(ttxt::kCaptionFehler));
    EXPECT_EQ(messageBox.shown[0].icon, eDocMsgIconStop);
    EXPECT_EQ(dlg->Connect("0891234567"), eIsdnDialNotRegistered);
    EXPECT_FALSE(dlg->IsConnected());
    QCoreApplication::processEvents();
    EXPECT_EQ(messageBox.shown.size(), 1u) << "told once";

    TMoxDocument& doc = MakeDoc();
    EXPECT_FALSE(Read(doc));
    EXPECT_EQ(results, std::vector<int>{0});
}

// A CAPI library that is there but refuses the registration: the box says so
// in the installer's language, under the caption of the other failures.
class RefusedCapi : public LinksDialogBench {
protected:
    void SetUp() override {
        LinksDialogBench::SetUp();
        fakecapi::FailRegister(0x1009);
        SetComPort(ePortCapi);
        dlg->UpdatePort();
    }
};

TEST_F(RefusedCapi, IsToldOnceInGermanAndEveryDialFails) {
    ASSERT_TRUE(WaitFor([&] { return !messageBox.shown.empty(); }));
    ASSERT_EQ(messageBox.shown.size(), 1u);
    EXPECT_EQ(MoxCp1252ToUtf8(messageBox.shown[0].text),
              "Der ISDN-Controller hat die Anmeldung des Programms abgelehnt (CAPI-Fehler "
              "0x1009). Über ISDN kann nicht übertragen werden.");
    EXPECT_EQ(messageBox.shown[0].caption, "Fehler");
    EXPECT_EQ(messageBox.shown[0].caption, m_pRes->GetText(ttxt::kCaptionFehler));
    EXPECT_EQ(messageBox.shown[0].icon, eDocMsgIconStop);
    EXPECT_EQ(dlg->Connect("0891234567"), eIsdnDialNotRegistered);
    QCoreApplication::processEvents();
    EXPECT_EQ(messageBox.shown.size(), 1u) << "told once";
}

} // namespace
