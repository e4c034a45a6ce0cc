// The transfer form end to end on the bench: documents written to the fake
// box and read back through the real dialog, engine and bus port; cancel,
// a silent box, a refused bus port, the links that are not there, the
// running dashes, and one result per run whatever happens.

#include "DialogTestBench.h"

#include "BlockProtocolDefs.h"
#include "TSwapAnimation.h"
#include "TTkLumenPort.h"
#include "TransferDialogTextIds.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <ostream>
#include <set>
#include <tuple>

namespace {

// ---------------------------------------------------------------- round trip

struct DocRow {
    const char* name;
    std::uint8_t typeIT;
    std::uint8_t typeKMR;

    friend void PrintTo(const DocRow& row, std::ostream* os) { *os << row.name; }
};

class RoundTrip : public DialogBench,
                  public testing::WithParamInterface<std::tuple<DocRow, OwnerKind>> {
protected:
    // A configuration that differs from the defaults in every section the
    // type has.
    static void Fill(TMoxDocument& doc, const DocRow& row) {
        ASSERT_TRUE(doc.SetTypeIT(row.typeIT));
        if (row.typeKMR) {
            ASSERT_TRUE(doc.SetTypeKMR(row.typeKMR));
        }
        // Each value is one the record takes: a refused one would leave the
        // default, and a read that reset the document would pass unseen.
        ASSERT_TRUE(doc.SetRnr("0301234567"));
        ASSERT_TRUE(doc.SetTuerrufdauer(450));
        ASSERT_TRUE(doc.SetEtagenrufText("Etage \xFC"));
        ASSERT_TRUE(doc.SetSMSProvider(2, "Anbieter"));
        for (std::uint8_t i = 0; i < doc.GetAnzTln(); ++i)
            ASSERT_TRUE(doc.SetTlnRnr(i, ("0171" + std::to_string(1000 + i)).c_str()));
        // Group 0 has no code.
        if (doc.GetAnzPG() > 1) {
            ASSERT_TRUE(doc.SetPGPin(1, "4711"));
        }
    }
};

TEST_P(RoundTrip, ConfigurationWrittenAndReadBackIsByteIdentical) {
    const DocRow& row = std::get<0>(GetParam());
    const OwnerKind kind = std::get<1>(GetParam());
    TMoxDocument& sent = MakeDoc(kind);
    Fill(sent, row);
    const std::vector<std::uint8_t> image = ImageOf(sent);

    std::set<QString> captions;
    int barMax = -1;
    onTick = [&] {
        if (dlg->isVisible()) {
            captions.insert(dlg->windowTitle());
            barMax = dlg->findChild<QProgressBar*>("m_pProgressBar")->maximum();
        }
    };
    ASSERT_TRUE(sent.StartWriteAnlDataToComPort(true));
    EXPECT_EQ(results, std::vector<int>{1});
    EXPECT_EQ(barMax, sent.GetAnzTelegramme());
    EXPECT_TRUE(captions.count(Qt8(m_pRes->GetText(ttxt::kCaptionSend))));
    EXPECT_EQ(box.frameStarts, 3);
    EXPECT_EQ(box.frameEnds, 3);
    EXPECT_FALSE(dlg->isVisible());

    captions.clear();
    TMoxDocument& read = MakeDoc(kind);
    ASSERT_NE(ImageOf(read), image);
    ASSERT_TRUE(read.ReadAnlDataFromComPort());
    EXPECT_EQ(results, (std::vector<int>{1, 1}));
    EXPECT_TRUE(captions.count(Qt8(m_pRes->GetText(ttxt::kCaptionReceive))));
    EXPECT_TRUE(read.IsModified());
    EXPECT_EQ(ImageOf(read), image);
    // The sender's own configuration is what it was.
    EXPECT_EQ(ImageOf(sent), image);
}

INSTANTIATE_TEST_SUITE_P(
    Types, RoundTrip,
    testing::Combine(testing::Values(DocRow{"Nivo", eIT_Nivo, 0}, DocRow{"NivoCamera", eIT_Nivo, 1},
                                     DocRow{"Pello", eIT_Pello, 0},
                                     DocRow{"PelloCamera", eIT_Pello, 1},
                                     DocRow{"Quarz", eIT_Quarz, 0},
                                     DocRow{"QuarzCamera", eIT_Quarz, 1}),
                     testing::Values(OwnerKind::DocumentAdapter, OwnerKind::WindowMessages)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) == OwnerKind::DocumentAdapter ? "" : "_WindowMessages");
    });

// ---------------------------------------------------------------- other runs

class Runs : public DialogBench {};

TEST_F(Runs, ResetIsAcknowledgedAndShowModalReturnsOne) {
    std::vector<std::uint8_t> zero(255, 0);
    MakeDoc();
    dlg->SetTransferData(eSendReset, zero.data(), 255);
    EXPECT_EQ(dlg->ShowModal(), 1);
    EXPECT_EQ(results, std::vector<int>{1});
}

TEST_F(Runs, EventLogIsRead16384BytesUnderItsCaption) {
    for (std::size_t i = 0; i < box.eventLog.size(); ++i)
        box.eventLog[i] = static_cast<std::uint8_t>(i * 7 + 3);
    std::vector<std::uint8_t> log(16384, 0);
    QString caption;
    onTick = [&] {
        if (dlg->isVisible())
            caption = dlg->windowTitle();
    };
    MakeDoc();
    dlg->SetInfoText(m_pRes->GetText(ttxt::kCaptionEventLog));
    dlg->SetTransferData(eReceiveEventLog, log.data(), 16384);
    EXPECT_EQ(dlg->ShowModal(), 1);
    EXPECT_EQ(log, box.eventLog);
    EXPECT_EQ(caption, Qt8(m_pRes->GetText(ttxt::kCaptionEventLog)));
}

TEST_F(Runs, TelegramReadWhileTheBusWasBlockedReachesThePortThroughThePostedMessage) {
    // The box's Ack of the first telegram waits in the control while the PC
    // sends another telegram: the control has acknowledged it already, so
    // the box will not repeat it. The bus port queues it and posts; if the
    // form did not hand that post back, the block would stall until the
    // time-out.
    std::vector<std::uint8_t> block(40);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::uint8_t>(0xA0 + i);
    struct OnePackage : ITransferOwner {
        TDataTransfer* dlg = nullptr;
        std::vector<int>* results = nullptr;
        void OnTransferResult(int r) override { results->push_back(r); }
        void OnNeedTransferData() override { dlg->SetTransferBuf(nullptr, 0); }
        void OnMoreTransferData() override { dlg->SetMoreData(false); }
    } owner;
    owner.dlg = dlg.get();
    owner.results = &results;
    dlg->SetOwner(&owner);

    bool blocked = false;
    onTick = [&] {
        if (blocked || box.outbox.empty() || !dlg->GetEngine().IsRunning())
            return;
        blocked = true;
        const auto ack = box.outbox.front();
        box.outbox.pop_front();
        quell.waiting.push_back({RECEIVE_STATUS_ACK, static_cast<std::int16_t>(ack.size()), ack});
        quell.transmitStatuses = {TRANSMIT_BUS_BLOCKED};
        const std::uint8_t probe[] = {LUMEN_ADR_BROADCAST, LUMEN_FN_KONFIG_START, LUMEN_ADR_PC};
        ASSERT_TRUE(dlg->GetEngine().GetPort(eConnectionQuell)->SendLumenTelegramm(probe, 3));
    };
    const std::uint64_t start = clock.now;
    dlg->SetTransferData(eSendAnlDaten, block.data(), 40);
    dlg->SetTeleAnz(1);
    EXPECT_EQ(dlg->ShowModal(), 1);
    EXPECT_TRUE(blocked);
    EXPECT_EQ(results, std::vector<int>{1});
    EXPECT_EQ(box.stored, block);
    EXPECT_LT(clock.now - start, kTimeoutSendBlockBusMs) << "the block waited for its time-out";
}

// ---------------------------------------------------------------- cancel

class Cancel : public DialogBench {
protected:
    void ClickCancel() { dlg->findChild<QPushButton*>("m_pOk")->click(); }
};

TEST_F(Cancel, DuringAWriteEndsWithOneFailedResult) {
    TMoxDocument& doc = MakeDoc();
    ASSERT_TRUE(doc.SetTypeIT(eIT_Pello));
    const std::vector<std::uint8_t> image = ImageOf(doc);
    bool clicked = false;
    onTick = [&] {
        if (!clicked && box.blocksFromPc >= 3) {
            clicked = true;
            ClickCancel();
        }
    };
    EXPECT_FALSE(doc.StartWriteAnlDataToComPort(true));
    ASSERT_TRUE(clicked);
    EXPECT_EQ(results, std::vector<int>{0});
    EXPECT_EQ(InfoText(), Qt8(m_pRes->GetText(ttxt::kTransferFailed)));
    // The box is told the configuration is over, once.
    EXPECT_EQ(box.frameEnds, 3);
    EXPECT_EQ(doc.GetWriteState(), TMoxDocument::kWriteStateIdle);
    EXPECT_EQ(ImageOf(doc), image);
    EXPECT_FALSE(dlg->GetEngine().IsRunning());
}

TEST_F(Cancel, DuringAReadAsksForTheBlockOnceMoreThenKeepsTheDocument) {
    TMoxDocument& sender = MakeDoc();
    ASSERT_TRUE(sender.SetTypeIT(eIT_Pello));
    ASSERT_TRUE(sender.StartWriteAnlDataToComPort(true));

    TMoxDocument& doc = MakeDoc();
    ASSERT_TRUE(doc.SetTuerrufdauer(77));
    const std::vector<std::uint8_t> image = ImageOf(doc);
    const bool modified = doc.IsModified();
    bool clicked = false;
    int requestsBefore = 0;
    int requestsAfter = 0;
    onTick = [&] {
        if (!clicked && dlg->GetEngine().GetAktBlock() >= 1) {
            clicked = true;
            requestsBefore = PcTelegrams(eEvQuellDataFirst);
            ClickCancel();
            requestsAfter = PcTelegrams(eEvQuellDataFirst);
        }
    };
    EXPECT_FALSE(doc.ReadAnlDataFromComPort());
    ASSERT_TRUE(clicked);
    EXPECT_EQ(requestsAfter, requestsBefore + 1) << "cancel is handled as a time-out first";
    EXPECT_EQ(results, (std::vector<int>{1, 0}));
    EXPECT_EQ(ImageOf(doc), image);
    EXPECT_EQ(doc.GetTuerrufdauer(), 77);
    EXPECT_EQ(doc.IsModified(), modified);
}

TEST_F(Cancel, EscapeDuringARunCancelsIt) {
    MakeDoc();
    SilenceTheBox();
    std::vector<std::uint8_t> buffer(32768);
    onTick = [&] {
        if (dlg->GetEngine().IsRunning())
            dlg->reject();
    };
    dlg->SetTransferData(eReceiveAnlDaten, buffer.data(), 32768);
    EXPECT_EQ(dlg->ShowModal(), 2);
    EXPECT_EQ(results, std::vector<int>{0});
}

// ---------------------------------------------------------------- one result

class OneResult : public DialogBench {};

TEST_F(OneResult, ACancelAfterTheEndAndASecondStartAddNothing) {
    TMoxDocument& doc = MakeDoc();
    int nestedModal = 0;
    onTick = [&] {
        // A second exchange asked for from inside the running one.
        if (dlg->GetEngine().IsRunning() && nestedModal == 0)
            nestedModal = dlg->ShowModal();
    };
    ASSERT_TRUE(doc.StartWriteAnlDataToComPort(true));
    EXPECT_EQ(nestedModal, 2);
    dlg->OnCancel();
    dlg->CloseTransferForm();
    EXPECT_EQ(results, std::vector<int>{1});
}

TEST_F(OneResult, ARunWithoutBufferFailsAtOnceAndClosesTheForm) {
    MakeDoc();
    dlg->SetTransferData(eReceiveAnlDaten, nullptr, 0);
    EXPECT_EQ(dlg->ShowModal(), 2);
    EXPECT_EQ(results, std::vector<int>{0});
    EXPECT_FALSE(dlg->isVisible());
}

// ---------------------------------------------------------------- silent box

struct SilentRow {
    const char* name;
    bool write;
    std::uint32_t timeoutMs;

    friend void PrintTo(const SilentRow& row, std::ostream* os) { *os << row.name; }
};

class SilentBox : public DialogBench, public testing::WithParamInterface<SilentRow> {};

TEST_P(SilentBox, FailsAfterThreeTriesAndLeavesTheDocument) {
    TMoxDocument& doc = MakeDoc();
    ASSERT_TRUE(doc.SetTypeIT(eIT_Nivo));
    ASSERT_TRUE(doc.SetTuerrufdauer(333));
    const std::vector<std::uint8_t> image = ImageOf(doc);
    const bool modified = doc.IsModified();
    SilenceTheBox();

    const std::uint64_t start = clock.now;
    const bool ok =
        GetParam().write ? doc.StartWriteAnlDataToComPort(true) : doc.ReadAnlDataFromComPort();
    EXPECT_FALSE(ok);
    EXPECT_EQ(results, std::vector<int>{0});
    // Each try sent the block's first telegram again, under the same number.
    EXPECT_EQ(PcTelegrams(eEvQuellDataFirst), kMaxBlockTries);
    EXPECT_EQ(clock.now - start, std::uint64_t{kMaxBlockTries} * GetParam().timeoutMs);
    EXPECT_EQ(ImageOf(doc), image);
    EXPECT_EQ(doc.IsModified(), modified);
    EXPECT_EQ(doc.GetWriteState(), TMoxDocument::kWriteStateIdle);
}

INSTANTIATE_TEST_SUITE_P(Runs, SilentBox,
                         testing::Values(SilentRow{"Write", true, kTimeoutSendBlockBusMs},
                                         SilentRow{"Read", false, kTimeoutDataReqMs}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- links

class Links : public DialogBench {};

TEST_F(Links, RefusedBusPortIsShownAndTheRunFails) {
    quell.openResult = QUELL_OPEN_NO_INTERFACE;
    TMoxDocument& doc = MakeDoc();
    EXPECT_FALSE(doc.ReadAnlDataFromComPort());
    EXPECT_EQ(results, std::vector<int>{0});
    // The box is shown from the event loop, after the port was built.
    QCoreApplication::processEvents();
    ASSERT_EQ(messageBox.shown.size(), 1u);
    EXPECT_EQ(messageBox.shown[0].text, TTkLumenPort::OpenErrorText(QUELL_OPEN_NO_INTERFACE));
    EXPECT_EQ(messageBox.shown[0].text, "Fehler beim \xD6"
                                        "ffnen des Com-Ports. Kein Interface am ComPort gefunden!");
    EXPECT_EQ(messageBox.shown[0].caption, m_pRes->GetText(ttxt::kCaptionFehler));
    EXPECT_EQ(messageBox.shown[0].icon, eDocMsgIconStop);
    EXPECT_FALSE(dlg->IsConnected());
    EXPECT_EQ(dlg->GetConnectionText(), "no connection!");
}

struct LinkRow {
    const char* name;
    int setting;

    friend void PrintTo(const LinkRow& row, std::ostream* os) { *os << row.name; }
};

class MissingLink : public DialogBench, public testing::WithParamInterface<LinkRow> {};

TEST_P(MissingLink, RunFailsWithOneResultAndNothingOnTheBus) {
    // The serial port's device and the CAPI library are not there (never a
    // real serial port, never the system's CAPI in a test).
    SetComDevice(1, "/nonexistent/mox-no-such-tty");
    SetCapiLibrary("/nonexistent/libmox-no-such-capi.so");
    SetComPort(GetParam().setting);
    TMoxDocument& doc = MakeDoc();
    EXPECT_FALSE(doc.ReadAnlDataFromComPort());
    EXPECT_EQ(results, std::vector<int>{0});
    EXPECT_FALSE(dlg->IsConnected());
    EXPECT_EQ(dlg->GetConnectionText(), "no connection!");
    EXPECT_TRUE(quell.sent.empty());
}

// No medium; the direct serial port whose device is missing; ISDN without
// its library.
INSTANTIATE_TEST_SUITE_P(Settings, MissingLink,
                         testing::Values(LinkRow{"None", ePortNone}, LinkRow{"Serial", ePortCom1},
                                         LinkRow{"Isdn", ePortCapi}),
                         [](const auto& info) { return std::string(info.param.name); });

class BusSetting : public DialogBench, public testing::WithParamInterface<int> {};

TEST_P(BusSetting, OpensTheBusControlOnItsComPort) {
    SetComPort(GetParam());
    MakeDoc();
    EXPECT_TRUE(dlg->UpdatePort());
    EXPECT_EQ(dlg->GetConnectionType(), eConnectionQuell);
    EXPECT_TRUE(dlg->IsConnected());
    EXPECT_EQ(dlg->GetConnectionText(), "via LumenBus");
    EXPECT_NE(
        std::find(quell.calls.begin(), quell.calls.end(), "CommPort=" + std::to_string(GetParam())),
        quell.calls.end());
    // The identification goes out as soon as the port is open.
    EXPECT_EQ(box.kennungen, 1);
}

INSTANTIATE_TEST_SUITE_P(Com, BusSetting, testing::Values(1, 2, 3, 4));

// ---------------------------------------------------------------- identification

TEST_F(Links, IdentificationGoesOutEvery7000MsWhileIdle) {
    auto* timer = dlg->findChild<QTimer*>("m_pTransferTimer");
    ASSERT_NE(timer, nullptr);
    // Armed from creation on, at the engine's due time on the clock.
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), static_cast<int>(kKennungIntervalMs));
    ASSERT_TRUE(dlg->UpdatePort());
    ASSERT_EQ(box.kennungen, 1);
    clock.Advance(kKennungIntervalMs - 1);
    dlg->OnTimer();
    EXPECT_EQ(box.kennungen, 1);
    EXPECT_EQ(timer->interval(), 1) << "the timer waits out the last millisecond";
    clock.Advance(1);
    dlg->OnTimer();
    EXPECT_EQ(box.kennungen, 2);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), static_cast<int>(kKennungIntervalMs));
}

TEST_F(Links, EngineTimerSetFromOutsideIsArmedBeforeTheLoopSleeps) {
    auto* timer = dlg->findChild<QTimer*>("m_pTransferTimer");
    // A programming request arms the engine's timer without the form.
    dlg->GetEngine().SetTransferTimer(500);
    EXPECT_EQ(timer->interval(), static_cast<int>(kKennungIntervalMs));
    emit QAbstractEventDispatcher::instance()->aboutToBlock();
    EXPECT_EQ(timer->interval(), 500);
}

// ---------------------------------------------------------------- animation

class Animation : public DialogBench {};

TEST_F(Animation, DashesRunOn90MsTicksWhileTheFormShows) {
    MakeDoc();
    SilenceTheBox();
    auto* swap = dlg->findChild<QTimer*>("m_pSwapTimer");
    ASSERT_NE(swap, nullptr);
    EXPECT_EQ(swap->interval(), TSwapAnimation::kIntervalMs);
    EXPECT_FALSE(swap->isActive());

    std::vector<QString> shown;
    std::vector<QString> expected;
    QString first;
    bool runningTimer = false;
    bool done = false;
    onTick = [&] {
        if (done || !dlg->GetEngine().IsRunning())
            return;
        done = true;
        first = Label("m_szSwap");
        runningTimer = swap->isActive();
        TSwapAnimation reference;
        for (int i = 0; i < 3 * TSwapAnimation::kWidth * 2 + 5; ++i) {
            dlg->OnSwapTimer();
            shown.push_back(Label("m_szSwap"));
            expected.push_back(QString::fromLatin1(reference.Step()));
        }
        dlg->OnCancel();
    };
    std::vector<std::uint8_t> buffer(32768);
    dlg->SetTransferData(eReceiveAnlDaten, buffer.data(), 32768);
    EXPECT_EQ(dlg->ShowModal(), 2);
    ASSERT_TRUE(done);
    EXPECT_EQ(first, QStringLiteral(" "));
    EXPECT_TRUE(runningTimer);
    EXPECT_EQ(shown, expected);
    EXPECT_FALSE(swap->isActive()) << "the dashes stop with the form";
    EXPECT_EQ(results, std::vector<int>{0});
}

TEST_F(Animation, EveryRunStartsTheDashesOver) {
    MakeDoc();
    SilenceTheBox();
    std::vector<QString> firstSteps;
    onTick = [&] {
        if (!dlg->GetEngine().IsRunning())
            return;
        for (int i = 0; i < 9; ++i)
            dlg->OnSwapTimer();
        firstSteps.push_back(Label("m_szSwap"));
        dlg->OnCancel();
    };
    std::vector<std::uint8_t> buffer(32768);
    for (int run = 0; run < 2; ++run) {
        dlg->SetTransferData(eReceiveAnlDaten, buffer.data(), 32768);
        EXPECT_EQ(dlg->ShowModal(), 2);
    }
    ASSERT_EQ(firstSteps.size(), 2u);
    EXPECT_EQ(firstSteps[0], firstSteps[1]);
    EXPECT_EQ(results, (std::vector<int>{0, 0}));
}

} // namespace
