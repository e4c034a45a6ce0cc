// Runs of the transfer controller against the simulated box over the real
// bus path, apart from the configuration: the restart, the event log, the
// identification and its timing, a cancelled write and read, and a block
// the box sends unasked.

#include "E2eFixture.h"

#include "BlockProtocolDefs.h"
#include "BoxCore.h"
#include "MoxDaten.h"

#include <fstream>

namespace {

class BoxRuns : public BusE2eTest {};

// ---- Restart -----------------------------------------------------------------

TEST_F(BoxRuns, ResetIsAnsweredAndTheConfigurationSurvives) {
    auto doc = MakeDoc();
    ASSERT_TRUE(doc->StartWriteAnlDataToComPort(true));
    const Bytes stored = BoxConfiguration();

    Bytes dummy(255, 0);
    EXPECT_EQ(Transfer().Run(eSendReset, dummy.data(), 255), 1);
    EXPECT_TRUE(Box().WaitForLine("RESET 1"));
    EXPECT_EQ(BoxConfiguration(), stored);
}

TEST_F(BoxRuns, UnansweredResetIsSentAgain) {
    ASSERT_EQ(Sim("mute 1"), "OK");
    const size_t mark = Mark();
    Transfer().onTurn = SkipOn("MUTED", kTimeoutResetMs);
    Bytes dummy(255, 0);
    EXPECT_EQ(Transfer().Run(eSendReset, dummy.data(), 255), 1);
    ASSERT_EQ(Sim("ping", "PONG"), "PONG");
    EXPECT_EQ(CountLinesSynced("BLOCK ch 0 cmd 7 block 65535 ", mark), 2u);
    EXPECT_EQ(CountLinesSynced("RESET ", mark), 1u);
}

// ---- Event log -----------------------------------------------------------------

TEST_F(BoxRuns, EventLogIsReadAsSixteenBlocks) {
    const size_t mark = Mark();
    Bytes log(16384, 0);
    EXPECT_EQ(Transfer().Run(eReceiveEventLog, log.data(), 16384), 1);
    EXPECT_EQ(Transfer().lastReceived.size(), 16384u);
    EXPECT_EQ(log, boxsim::BoxCore::EventLogPattern());
    ASSERT_EQ(Sim("ping", "PONG"), "PONG");
    EXPECT_EQ(CountLinesSynced("BLOCK ch 5 cmd 16 ", mark), 16u);
    EXPECT_EQ(CountLinesSynced("BLOCK ch 5 cmd 16 block 15 ", mark), 1u);
}

class EventLogFromFile : public BoxRuns {
protected:
    EventLogFromFile() {
        m_Log.resize(16384);
        for (size_t i = 0; i < m_Log.size(); ++i)
            m_Log[i] = static_cast<std::uint8_t>((i * 131) >> 3);
        m_Path = m_Docs.Dir() + "/box.log";
        std::ofstream(m_Path, std::ios::binary)
            .write(reinterpret_cast<const char*>(m_Log.data()), static_cast<long>(m_Log.size()));
    }
    std::vector<std::string> SimArgs() const override { return {"--eventlog", m_Path}; }
    Bytes m_Log;
    std::string m_Path;
};

TEST_F(EventLogFromFile, IsServedAsItStands) {
    Bytes log(16384, 0);
    EXPECT_EQ(Transfer().Run(eReceiveEventLog, log.data(), 16384), 1);
    EXPECT_EQ(log, m_Log);
}

// ---- Identification ------------------------------------------------------------

TEST_F(BoxRuns, IdentificationGoesOutAfter7000MsWithoutTrafficAndOnlyWhileIdle) {
    Engine().UpdatePort();
    ASSERT_TRUE(Box().WaitForLine("KENNUNG BROMEL"));
    // Idle: only the identification timer runs.
    const std::uint64_t due = *Engine().NextDueMs();

    // The clock stands at each moment looked at, and nothing polls the
    // engine until the box's log is read, so a slow machine cannot let the
    // timer run on into the look.
    size_t mark = Mark();
    Rig().Clock().Hold(due - 100);
    Engine().Poll();
    ASSERT_TRUE(Box().Settle());
    EXPECT_EQ(CountLines("KENNUNG", mark), 0u) << "not before 7000 ms";
    Rig().Clock().Hold(due);
    Engine().Poll();
    ASSERT_TRUE(Box().Settle());
    Rig().Clock().Release();
    EXPECT_EQ(CountLines("KENNUNG BROMEL", mark), 1u);
    EXPECT_EQ(CountLines("RX 70 43 F0 05 00 00 07 42 52 4F 4D 45 4C 00 ", mark), 1u)
        << "one 'C' telegram of sub-type 5, block 0, the word and its 0 byte";

    // A read the box does not answer: the identification timer falls due
    // while it runs, and nothing goes out but the run's own identification.
    ASSERT_EQ(Sim("mute always"), "OK");
    auto doc = MakeDoc();
    mark = Mark();
    int stage = 0;
    std::uint64_t next = 0;
    auto skip = WhenQuiet("MUTED", [&] {
        Rig().Clock().SkipTo(next + 10); // past the identification, before the time-out
        stage = 1;
    });
    Transfer().onTurn = [&] {
        if (stage == 1) {
            // The turn after the jump: the identification timer went off.
            EXPECT_GT(*Engine().NextDueMs(), next + 1000);
            Engine().Cancel();
            stage = 2;
        } else if (stage == 0) {
            skip();
        }
    };
    // The run starts 1000 ms before the identification is due; nothing
    // polls the engine in between, so the run is under way before it is.
    next = *Engine().NextDueMs();
    Rig().Clock().SkipTo(next - 1000);
    EXPECT_FALSE(doc->ReadAnlDataFromComPort());
    EXPECT_EQ(stage, 2);
    EXPECT_EQ(CountLinesSynced("KENNUNG", mark), 1u) << "only the one the run starts with";

    // Idle again, once the cancel's request again has gone (unanswered):
    // the next one goes out on time.
    Transfer().onTurn = {};
    ASSERT_TRUE(Rig().SettleBox());
    ASSERT_EQ(Sim("mute off"), "OK");
    mark = Mark();
    Rig().Clock().Hold(*Engine().NextDueMs());
    Engine().Poll();
    ASSERT_TRUE(Box().Settle());
    Rig().Clock().Release();
    EXPECT_EQ(CountLines("KENNUNG", mark), 1u);
}

TEST_F(BoxRuns, UnaskedBlockFromTheBoxRestartsTheIdentificationWait) {
    Engine().UpdatePort();
    ASSERT_TRUE(Box().WaitForLine("KENNUNG"));
    const std::uint64_t due = *Engine().NextDueMs();
    Rig().Clock().SkipTo(due - 1000);
    const long events = Rig().TeleEvents();
    ASSERT_EQ(Sim("unasked 80 08 00 00 FF FF"), "OK");
    ASSERT_TRUE(Rig().SettleBox());
    // The PC took both telegrams of the block (DataFirst and DataEnd).
    EXPECT_EQ(Rig().TeleEvents() - events, 2);
    EXPECT_GE(*Engine().NextDueMs(), due - 1000 + kKennungIntervalMs);

    const size_t mark = Mark();
    Rig().Clock().SkipTo(due + 100);
    Engine().Poll();
    ASSERT_EQ(Sim("ping", "PONG"), "PONG");
    EXPECT_EQ(CountLinesSynced("KENNUNG", mark), 0u);
}

// ---- Cancel ----------------------------------------------------------------------

// The box leaves block 2 unanswered, so the user's cancel falls into the
// wait for an answer to a block the box already has.
TEST_F(BoxRuns, CancelDuringAWriteSendsTheBlockOnceMoreAndFails) {
    auto doc = MakeDoc();
    doc->SetTypeIT(eIT_Quarz);
    ASSERT_EQ(Sim("muteblock 2"), "OK");
    const size_t mark = Mark();
    bool cancelled = false;
    Transfer().onTurn = WhenQuiet("MUTED ch 0 cmd 3 block 2 ", [&] {
        if (!cancelled)
            Engine().Cancel();
        cancelled = true;
    });
    EXPECT_FALSE(doc->StartWriteAnlDataToComPort(true));
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(Transfer().results, std::vector<int>{0});
    ASSERT_TRUE(Rig().SettleBox());
    // The cancel counts as a missing answer: the same package once more,
    // then the end frame.
    EXPECT_EQ(CountLinesSynced("BLOCK ch 0 cmd 3 block 2 ", mark), 2u);
    EXPECT_EQ(CountLinesSynced("BLOCK ch 0 cmd 3 block 3 ", mark), 0u);
    EXPECT_EQ(CountLinesSynced("FRAME end", mark), 3u);

    // The box took three packages; a full write and read afterwards work.
    Transfer().onTurn = {};
    ASSERT_TRUE(doc->StartWriteAnlDataToComPort(true));
    auto read = MakeDoc();
    ASSERT_TRUE(read->ReadAnlDataFromComPort());
    EXPECT_EQ(read->GetTypeIT(), eIT_Quarz);
}

TEST_F(BoxRuns, CancelDuringAReadAsksForTheBlockOnceMoreAndKeepsTheDocument) {
    auto source = MakeDoc();
    source->SetTypeIT(eIT_Pello);
    ASSERT_TRUE(source->StartWriteAnlDataToComPort(true));

    auto doc = MakeDoc();
    const Bytes before = E2eDocuments::ImageOf(*doc);
    ASSERT_EQ(Sim("muteblock 2"), "OK");
    Transfer().results.clear();
    const size_t mark = Mark();
    bool cancelled = false;
    Transfer().onTurn = WhenQuiet("MUTED ch 0 cmd 5 block 2 ", [&] {
        if (!cancelled)
            Engine().Cancel();
        cancelled = true;
    });
    EXPECT_FALSE(doc->ReadAnlDataFromComPort());
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(Transfer().results, std::vector<int>{0});
    ASSERT_TRUE(Rig().SettleBox());
    EXPECT_EQ(CountLinesSynced("BLOCK ch 0 cmd 5 block 2 ", mark), 2u);
    EXPECT_EQ(CountLinesSynced("BLOCK ch 0 cmd 5 block 3 ", mark), 0u);
    EXPECT_EQ(E2eDocuments::ImageOf(*doc), before);
    EXPECT_NE(doc->GetTypeIT(), eIT_Pello);

    Transfer().onTurn = {};
    ASSERT_TRUE(doc->ReadAnlDataFromComPort());
    EXPECT_EQ(doc->GetTypeIT(), eIT_Pello);
}

} // namespace
