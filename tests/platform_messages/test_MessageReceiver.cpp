// Window messages: synchronous perform, queued post from any thread that
// arrives on the GUI thread, value records travelling with the message, and
// posts to a receiver that is gone.

#include "MessageReceiver.h"
#include "WindowMessages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

using mox::platform::MessageAddress;
using mox::platform::MessageReceiver;
using mox::platform::WindowMessage;

namespace {

// Runs the GUI thread's event loop until pred holds. The deadline only keeps
// a broken build from hanging; no test waits for it to pass.
template <typename Pred> bool PumpUntil(Pred pred) {
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > 10000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

struct Received {
    uint32_t id;
    intptr_t wParam;
    intptr_t lParam;
    std::thread::id thread;
    std::vector<uint8_t> data;
};

class MessageReceiverTest : public testing::Test {
protected:
    void SetUp() override {
        m_receiver = std::make_unique<MessageReceiver>([this](const WindowMessage& m) {
            Received r{m.id, m.wParam, m.lParam, std::this_thread::get_id(), {}};
            if (const auto* data = std::any_cast<std::vector<uint8_t>>(&m.value))
                r.data = *data;
            m_received.push_back(std::move(r));
            switch (m.id) {
            case WM_MORE_TRANSFER_DATA:
                return intptr_t{1};
            case WM_SAVE:
                return m.wParam + m.lParam;
            default:
                return intptr_t{0};
            }
        });
    }

    std::unique_ptr<MessageReceiver> m_receiver;
    std::vector<Received> m_received; // GUI thread only
};

TEST_F(MessageReceiverTest, PerformRunsTheHandlerAtOnce) {
    EXPECT_EQ(m_receiver->Perform(WM_SAVE, -1, -1), -2);
    ASSERT_EQ(m_received.size(), 1u);
    EXPECT_EQ(m_received[0].id, WM_SAVE);
    EXPECT_EQ(m_received[0].thread, std::this_thread::get_id());
    EXPECT_EQ(m_receiver->Address().Perform(WM_MORE_TRANSFER_DATA), 1);
    EXPECT_EQ(m_received.size(), 2u);
}

TEST_F(MessageReceiverTest, PostIsQueuedNotRunAtOnce) {
    ASSERT_TRUE(m_receiver->Address().Post(WM_OPEN, -1, -1));
    EXPECT_TRUE(m_received.empty());
    ASSERT_TRUE(PumpUntil([&] { return !m_received.empty(); }));
    EXPECT_EQ(m_received[0].id, WM_OPEN);
    EXPECT_EQ(m_received[0].wParam, -1);
}

TEST_F(MessageReceiverTest, PostFromWorkerThreadIsHandledOnGuiThread) {
    const MessageAddress address = m_receiver->Address();
    std::thread::id worker;
    std::thread t([&] {
        worker = std::this_thread::get_id();
        WindowMessage msg{CAPIPORT_DATA, 3, 0, std::vector<uint8_t>{0x10, 0x02, 0xFF}};
        EXPECT_TRUE(address.Post(std::move(msg)));
    });
    t.join();
    ASSERT_TRUE(PumpUntil([&] { return !m_received.empty(); }));
    EXPECT_EQ(m_received[0].id, CAPIPORT_DATA);
    EXPECT_EQ(m_received[0].thread, std::this_thread::get_id());
    EXPECT_NE(m_received[0].thread, worker);
    EXPECT_EQ(m_received[0].data, (std::vector<uint8_t>{0x10, 0x02, 0xFF}));
}

TEST_F(MessageReceiverTest, PostsOfOneThreadArriveInOrder) {
    const MessageAddress address = m_receiver->Address();
    constexpr int kCount = 500;
    std::thread t([&] {
        for (int i = 0; i < kCount; ++i)
            address.Post(WM_KENNUNG_RESTART, i);
    });
    t.join();
    ASSERT_TRUE(PumpUntil([&] { return m_received.size() == kCount; }));
    for (int i = 0; i < kCount; ++i)
        ASSERT_EQ(m_received[static_cast<size_t>(i)].wParam, i);
}

TEST_F(MessageReceiverTest, PerformFromWorkerWaitsForTheGuiThread) {
    const MessageAddress address = m_receiver->Address();
    std::atomic<bool> done{false};
    intptr_t result = 0;
    std::thread t([&] {
        result = address.Perform(WM_SAVE, 20, 22);
        done = true;
    });
    // The handler can only run here, while the GUI thread pumps.
    ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
    t.join();
    EXPECT_EQ(result, 42);
    ASSERT_EQ(m_received.size(), 1u);
    EXPECT_EQ(m_received[0].thread, std::this_thread::get_id());
}

TEST_F(MessageReceiverTest, PostQueuedBeforeTheReceiverIsDestroyedIsDropped) {
    const MessageAddress address = m_receiver->Address();
    ASSERT_TRUE(address.Post(WM_TRANSFER_RESULT, 1));
    m_receiver.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_received.empty());
}

TEST_F(MessageReceiverTest, AddressOfADestroyedReceiverIsDead) {
    const MessageAddress address = m_receiver->Address();
    EXPECT_TRUE(address.IsAlive());
    m_receiver.reset();
    EXPECT_FALSE(address.IsAlive());
    EXPECT_FALSE(address.Post(WM_TRANSFER_RESULT, 1));
    EXPECT_EQ(address.Perform(WM_MORE_TRANSFER_DATA), 0);
    std::thread t([&] {
        EXPECT_FALSE(address.Post(CAPIPORT_DISCONNECT));
        EXPECT_EQ(address.Perform(WM_MORE_TRANSFER_DATA), 0);
    });
    t.join();
    EXPECT_TRUE(m_received.empty());
    EXPECT_FALSE(MessageAddress().Post(WM_NEW));
}

TEST_F(MessageReceiverTest, WorkerWaitingInPerformIsReleasedWhenTheReceiverGoes) {
    const MessageAddress address = m_receiver->Address();
    std::atomic<bool> started{false};
    std::atomic<bool> done{false};
    intptr_t result = -1;
    std::thread t([&] {
        started = true;
        result = address.Perform(WM_MORE_TRANSFER_DATA);
        done = true;
    });
    while (!started.load())
        std::this_thread::yield();
    // Whether the perform got queued before this or finds the receiver gone,
    // it must come back with 0 and never run the handler.
    m_receiver.reset();
    t.join();
    EXPECT_TRUE(done.load());
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(m_received.empty());
}

TEST_F(MessageReceiverTest, DetachDropsQueuedAndLaterMessages) {
    const MessageAddress address = m_receiver->Address();
    address.Post(WM_OPEN);
    m_receiver->Detach();
    EXPECT_FALSE(address.Post(WM_OPEN));
    EXPECT_EQ(m_receiver->Perform(WM_SAVE, 1, 1), 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_received.empty());
}

TEST_F(MessageReceiverTest, HandlerMayPostToItself) {
    std::vector<uint32_t> seen;
    MessageReceiver* self = nullptr;
    MessageReceiver r([&](const WindowMessage& m) {
        seen.push_back(m.id);
        if (m.id == WM_UPDATE_TREE)
            self->Address().Post(WM_OPEN); // a rebuild asked for from inside a handler
        return intptr_t{0};
    });
    self = &r;
    r.Perform(WM_UPDATE_TREE);
    EXPECT_EQ(seen, std::vector<uint32_t>{WM_UPDATE_TREE});
    ASSERT_TRUE(PumpUntil([&] { return seen.size() == 2; }));
    EXPECT_EQ(seen[1], WM_OPEN);
}

// The numbers are fixed across the program and its modules.
struct IdCase {
    const char* name;
    uint32_t id;
    uint32_t number;
};

void PrintTo(const IdCase& c, std::ostream* os) {
    *os << c.name;
}

class WindowMessageIds : public testing::TestWithParam<IdCase> {};

TEST_P(WindowMessageIds, Number) {
    EXPECT_EQ(GetParam().id, GetParam().number);
}

#define MOX_ID(name, number)                                                                       \
    IdCase {                                                                                       \
#name, name, number                                                                        \
    }
INSTANTIATE_TEST_SUITE_P(
    Table, WindowMessageIds,
    testing::Values(
        MOX_ID(WM_NEW, 1025), MOX_ID(WM_SAVE, 1026), MOX_ID(WM_OPEN, 1027), MOX_ID(WM_DELETE, 1028),
        MOX_ID(WM_RESTORE, 1029), MOX_ID(WM_CONNECTION_CHANGED, 1030), MOX_ID(WM_UPDATE_TREE, 1031),
        MOX_ID(CAPIPORT_CONNECT, 1066), MOX_ID(CAPIPORT_LISTEN, 1067),
        MOX_ID(CAPIPORT_CONNECT_ACTIVE, 1068), MOX_ID(CAPIPORT_DISCONNECT, 1069),
        MOX_ID(CAPIPORT_DATA, 1070), MOX_ID(CAPIPORT_DATA_SENT, 1071), MOX_ID(WM_RECENT_FILE, 1124),
        MOX_ID(COMPORT_DATA, 1224), MOX_ID(QUELLPORT_DATA, 1225), MOX_ID(WM_TRANSFER_RESULT, 1324),
        MOX_ID(WM_NEED_TRANSFER_DATA, 1325), MOX_ID(WM_TRANSFER_END_FIRST, 1329),
        MOX_ID(WM_TRANSFER_END_LAST, 1334), MOX_ID(WM_ASSI_READ_FAILED, 1335),
        MOX_ID(WM_ASSI_READ_OK, 1336), MOX_ID(DEL_TLN_FAILED, 1338), MOX_ID(PROG_FAILED, 1339),
        MOX_ID(CANCEL_FAILED, 1340), MOX_ID(RUECKMELDUNG_OK, 1342), MOX_ID(PROGQUIT_FAILED, 1343),
        MOX_ID(PROGQUIT_OK, 1344), MOX_ID(PROGMODEAKT_OK, 1345), MOX_ID(TLNPROGAKT_OK, 1347),
        MOX_ID(TLNPROGAKT_FAILED, 1348), MOX_ID(TLNPROG_FEHLER, 1349), MOX_ID(TLNPROG_PAS_OK, 1350),
        MOX_ID(SEND_FAILED, 1352), MOX_ID(WM_MORE_TRANSFER_DATA, 1353),
        MOX_ID(KBA_LIST_FAILED, 1354), MOX_ID(KBA_LIST_EMPTY, 1355), MOX_ID(KBA_LIST_OK, 1356),
        MOX_ID(BSMPROG_AKT, 1357), MOX_ID(KBA_COUNT, 1359), MOX_ID(KBA_COUNT_FAILED, 1360),
        MOX_ID(BSMPROG_PAS, 1361), MOX_ID(WM_KENNUNG_RESTART, 1362),
        MOX_ID(QUELL_TELE_RECEIVED, 1025)),
    [](const testing::TestParamInfo<IdCase>& info) { return std::string(info.param.name); });
#undef MOX_ID

TEST(WindowMessageIds, ProgrammingResultsAreTheForwardedOnes) {
    std::vector<uint32_t> forwarded;
    for (uint32_t id = 1300; id < 1400; ++id)
        if (IsProgrammingResult(id))
            forwarded.push_back(id);
    EXPECT_EQ(forwarded,
              (std::vector<uint32_t>{1338, 1339, 1340, 1342, 1343, 1344, 1345, 1347, 1348, 1349,
                                     1350, 1352, 1354, 1355, 1356, 1357, 1359, 1360, 1361}));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
