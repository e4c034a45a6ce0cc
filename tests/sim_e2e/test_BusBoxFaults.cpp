// The box misbehaving on the real bus path: a Nak, wrong block and telegram
// numbers, garbled checksums, a lost link-level ACK, silence. Each row sets
// the box up, runs one write or read of a document's configuration, and
// checks the outcome, what the box saw, and that a failed read leaves the
// document as it was.

#include "E2eFixture.h"

#include "BlockProtocolDefs.h"
#include "MoxDaten.h"

#include <ostream>

namespace {

enum class Op { Write, Read };

struct Seen {
    const char* text; // a simulator line holding this
    size_t count;     // exactly this often during the run
};

struct FaultRow {
    const char* name;
    Op op;
    std::vector<std::string> commands; // set-up of the box before the run
    bool ok;
    // The box leaves a request unanswered on purpose and says so in a line
    // holding this text: the clock then jumps by the request's time-out.
    const char* skipOn;
    std::uint64_t skipMs;
    std::vector<Seen> seen;
};

void PrintTo(const FaultRow& row, std::ostream* os) {
    *os << row.name;
}

// The first data telegram of the first package, as the PC sends it.
constexpr char kFirstDataTelegram[] = "RX 70 43 F0 00 00 00 ";

class BoxFaults : public BusE2eTest, public ::testing::WithParamInterface<FaultRow> {
protected:
    std::unique_ptr<TMoxDocument> SourceDoc() {
        auto doc = MakeDoc();
        doc->SetTypeIT(eIT_Nivo);
        doc->SetTlnRnr(1, "4711");
        return doc;
    }
};

TEST_P(BoxFaults, HandledAsTheProtocolSays) {
    const FaultRow& row = GetParam();
    // The port is open before the run, as between the program's runs, so
    // the run's telegrams are counted from its own identification on.
    Engine().UpdatePort();
    auto source = SourceDoc();
    Bytes clean;
    if (row.op == Op::Read) {
        ASSERT_TRUE(source->StartWriteAnlDataToComPort(true));
        clean = BoxConfiguration();
    }
    auto target = MakeDoc();
    target->SetTuermatik(5);
    ASSERT_TRUE(target->WriteDocument((m_Docs.Dir() + "/target.ktx").c_str(), false));
    const Bytes targetBefore = E2eDocuments::ImageOf(*target);

    for (const std::string& c : row.commands)
        ASSERT_EQ(Sim(c), "OK") << c;
    Transfer().results.clear();
    const size_t mark = Mark();
    int skips = 0;
    if (row.skipOn)
        Transfer().onTurn = WhenQuiet(row.skipOn, [this, &skips, &row] {
            ++skips;
            Rig().Clock().Skip(row.skipMs);
        });
    const int timeOutsBefore = TimeOuts();

    bool ok = false;
    if (row.op == Op::Write) {
        Transfer().SetDocument(source.get());
        ok = source->StartWriteAnlDataToComPort(true);
    } else {
        Transfer().SetDocument(target.get());
        ok = target->ReadAnlDataFromComPort();
    }
    Transfer().onTurn = {};
    EXPECT_FALSE(Transfer().timedOut);
    EXPECT_EQ(ok, row.ok);
    EXPECT_EQ(Transfer().results, std::vector<int>{row.ok ? 1 : 0}) << "one run, one result";
    // Every wait the box caused was skipped, and no other was waited for:
    // each time-out the run took is one the clock jumped over.
    EXPECT_EQ(TimeOuts() - timeOutsBefore, skips);
    ASSERT_TRUE(Rig().SettleBox());
    for (const Seen& s : row.seen)
        EXPECT_EQ(CountLinesSynced(s.text, mark), s.count) << s.text;

    for (const char* c : {"answer ack", "mute off", "wrongblock off", "wrongend off",
                          "naktele off", "wrongack off", "wrongtele off", "garbleout off"})
        ASSERT_EQ(Sim(c), "OK");
    if (row.op == Op::Read) {
        if (row.ok) {
            EXPECT_EQ(Transfer().lastReceived, clean);
            EXPECT_EQ(target->GetTypeIT(), eIT_Nivo);
        } else {
            EXPECT_EQ(E2eDocuments::ImageOf(*target), targetBefore) << "the document is unchanged";
            EXPECT_FALSE(target->IsModified());
        }
        return;
    }
    // A write that went through left the box what a clean write leaves.
    if (row.ok) {
        const Bytes afterFaults = BoxConfiguration();
        ASSERT_EQ(Sim("clear"), "OK");
        ASSERT_TRUE(source->StartWriteAnlDataToComPort(true));
        EXPECT_EQ(afterFaults, BoxConfiguration());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BoxFaults,
    ::testing::Values(
        // ---- Writes ----
        FaultRow{"WriteNakedTelegramCostsTheBlockOnce", Op::Write, {"naktele 1"}, true, nullptr, 0,
                 {{"CNAK", 1}, {"BLOCK ch 0 cmd 2 block 0 ", 1}}},
        FaultRow{"WriteRefusedAtLinkLevelEndsAfterTenTries", Op::Write, {"answer nak"}, false,
                 nullptr, 0, {{kFirstDataTelegram, 10}, {"BLOCK ", 0}}},
        FaultRow{"WriteAcknowledgedWithTheBlocksOwnNumberIsSentAgain", Op::Write, {"wrongblock 1"},
                 true, nullptr, 0, {{"WRONGBLOCK 0", 1}, {"BLOCK ch 0 cmd 2 block 0 ", 2}}},
        FaultRow{"WriteTelegramAcknowledgedWithAWrongNumber", Op::Write, {"wrongack 1"}, true,
                 nullptr, 0, {{"WRONGTELE 2", 1}, {"BLOCK ch 0 cmd 2 block 0 ", 1}}},
        FaultRow{"WriteLostAckTakenOnceAndTheRepetitionAnswered", Op::Write, {"dropack 3"}, true,
                 nullptr, 0, {{"ANSWER dropped", 1}, {"REPEAT", 1}, {"CNAK", 0}}},
        FaultRow{"WriteGarbledAcknowledgementIsRepeatedByTheBox", Op::Write, {"garbleout 1"}, true,
                 nullptr, 0, {{" garbled", 1}, {"LOST", 0}}},
        FaultRow{"WriteToASilentBoxFailsAfterThreeTries", Op::Write, {"mute always"}, false,
                 "MUTED", kTimeoutSendBlockBusMs, {{"MUTED ch 0 cmd 2 block 0 ", 3}}},
        FaultRow{"WriteToADeafInterfaceEndsAtOnce", Op::Write, {"answer silent"}, false, nullptr, 0,
                 {{kFirstDataTelegram, 10}, {"BLOCK ", 0}}},
        // ---- Reads ----
        FaultRow{"ReadNakedRequestIsSentAgain", Op::Read, {"naktele 1"}, true, nullptr, 0,
                 {{"CNAK", 1}, {"BLOCK ch 0 cmd 5 block 0 ", 1}}},
        FaultRow{"ReadBlockWithAWrongNumberIsAskedForAgain", Op::Read, {"wrongblock 1"}, true,
                 nullptr, 0, {{"WRONGBLOCK 1", 1}, {"BLOCK ch 0 cmd 5 block 0 ", 2}}},
        FaultRow{"ReadEndWithAWrongNumberIsNoEnd", Op::Read, {"wrongend 1"}, true, nullptr, 0,
                 {{"WRONGBLOCK", 1}, {"ANSWER ch 0 cmd 4 ", 2}}},
        FaultRow{"ReadThreeWrongNumbersFail", Op::Read, {"wrongblock 3"}, false, nullptr, 0,
                 {{"WRONGBLOCK", 3}, {"BLOCK ch 0 cmd 5 block 0 ", 3}}},
        FaultRow{"ReadTelegramWithAWrongNumberIsNakedByThePc", Op::Read, {"wrongtele 1"}, true,
                 nullptr, 0, {{"WRONGTELE", 1}, {"PCNAK", 1}, {"BLOCK ch 0 cmd 5 block 0 ", 2}}},
        FaultRow{"ReadGarbledTelegramIsRepeatedByTheBox", Op::Read, {"garbleout 1"}, true, nullptr,
                 0, {{" garbled", 1}, {"LOST", 0}}},
        FaultRow{"ReadFromABoxThatOnlyGarblesFails", Op::Read, {"ackwait 100", "garbleout always"},
                 false, "LOST", kTimeoutDataReqMs, {{"LOST", 3}, {"BLOCK", 0}}},
        FaultRow{"ReadFromASilentBoxFailsAfterThreeTries", Op::Read, {"mute always"}, false,
                 "MUTED", kTimeoutDataReqMs, {{"MUTED ch 0 cmd 5 block 0 ", 3}}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
