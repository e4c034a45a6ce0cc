// A descriptor watched from the event loop: input and a hang-up reach the
// call on this thread; once the watch is gone nothing does, also when the
// call itself ended it.

#include "InputWatch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include <unistd.h>

using mox::platform::InputWatch;

namespace {

class InputWatchTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(::pipe(m_fds), 0); }
    void TearDown() override {
        m_watch.reset();
        CloseWriter();
        ::close(m_fds[0]);
    }

    void Write(char c) { ASSERT_EQ(::write(m_fds[1], &c, 1), 1); }
    void CloseWriter() {
        if (m_fds[1] >= 0)
            ::close(m_fds[1]);
        m_fds[1] = -1;
    }
    // Runs the event loop until calls calls have come; the bound only keeps
    // a broken build from hanging.
    bool PumpUntilCalls(int calls) {
        QElapsedTimer timer;
        timer.start();
        while (m_calls < calls) {
            if (timer.elapsed() > 10000)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents,
                                            20);
        }
        return true;
    }
    // Lets the event loop look at every descriptor a few times without
    // waiting: a watch on a readable descriptor would be called.
    void PumpWithoutWaiting() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

    int m_fds[2] = {-1, -1};
    int m_calls = 0;
    std::unique_ptr<InputWatch> m_watch;
};

TEST_F(InputWatchTest, InputIsAnnouncedOnThisThreadUntilItIsRead) {
    std::thread::id on;
    char got = 0;
    m_watch = std::make_unique<InputWatch>(m_fds[0], [&] {
        on = std::this_thread::get_id();
        if (++m_calls == 2) {
            ASSERT_EQ(::read(m_fds[0], &got, 1), 1);
        }
    });
    PumpWithoutWaiting();
    EXPECT_EQ(m_calls, 0); // nothing to read, no call
    Write('x');
    // Unread input is announced again.
    ASSERT_TRUE(PumpUntilCalls(2));
    EXPECT_EQ(on, std::this_thread::get_id());
    EXPECT_EQ(got, 'x');
    PumpWithoutWaiting();
    EXPECT_EQ(m_calls, 2);
}

TEST_F(InputWatchTest, AHangUpIsAnnounced) {
    m_watch = std::make_unique<InputWatch>(m_fds[0], [&] { ++m_calls; });
    CloseWriter();
    EXPECT_TRUE(PumpUntilCalls(1));
}

TEST_F(InputWatchTest, NothingIsAnnouncedOnceTheWatchIsGone) {
    m_watch = std::make_unique<InputWatch>(m_fds[0], [&] { ++m_calls; });
    m_watch.reset();
    Write('x');
    PumpWithoutWaiting();
    EXPECT_EQ(m_calls, 0);
}

TEST_F(InputWatchTest, TheCallMayEndItsOwnWatch) {
    m_watch = std::make_unique<InputWatch>(m_fds[0], [&] {
        ++m_calls;
        m_watch.reset();
    });
    Write('x');
    ASSERT_TRUE(PumpUntilCalls(1));
    // The input is still unread: a watch still there would be called again.
    PumpWithoutWaiting();
    EXPECT_EQ(m_calls, 1);
    EXPECT_EQ(m_watch, nullptr);
}

} // namespace
