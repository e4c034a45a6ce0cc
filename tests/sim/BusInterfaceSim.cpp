#include "BusInterfaceSim.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace boxsim {

BusInterfaceSim::~BusInterfaceSim() {
    if (m_slaveHold >= 0)
        ::close(m_slaveHold);
    if (m_master >= 0)
        ::close(m_master);
}

bool BusInterfaceSim::Start(std::string* error) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        if (error)
            *error = std::string("pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(m_master);
    if (!name) {
        if (error)
            *error = "pseudo-terminal has no name";
        return false;
    }
    m_ptyPath = name;
    // Without a slave open the master reports a hang-up each time the PC
    // closes the port; holding one keeps it quiet. Raw mode from the start
    // so nothing is echoed back before the PC sets the line.
    m_slaveHold = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveHold >= 0) {
        termios tio{};
        if (::tcgetattr(m_slaveHold, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_slaveHold, TCSANOW, &tio);
        }
    }
    return true;
}

void BusInterfaceSim::Write(const Bytes& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{m_master, POLLOUT, 0};
            ::poll(&p, 1, 100);
        } else {
            return;
        }
    }
}

void BusInterfaceSim::SendRaw(const Bytes& bytes) {
    Write(bytes);
}

int BusInterfaceSim::SendTelegram(const Bytes& telegram, bool garble, int waitMs) {
    Write(EncodeTelegram(telegram, garble));
    if (telegram.empty() || telegram[0] == kBroadcast)
        return -1;
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return -1;
        pollfd p{m_master, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        uint8_t b = 0;
        if (::read(m_master, &b, 1) == 1)
            return b;
    }
}

void BusInterfaceSim::HandleInput() {
    uint8_t buf[512];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            return;
        for (ssize_t i = 0; i < n; ++i)
            if (auto t = m_reader.Feed(buf[i]))
                OnTelegram(*t);
    }
}

void BusInterfaceSim::OnTelegram(const SimTelegramReader::Telegram& t) {
    std::string answer = "none";
    // Only telegrams for the box are answered, and only when intact.
    if (t.sumOk && t.bytes[0] == m_boxAddress) {
        switch (m_mode) {
        case AnswerMode::Ack:
            Write({kAck});
            answer = "06";
            break;
        case AnswerMode::Nak:
            Write({kNak});
            answer = "15";
            break;
        case AnswerMode::Silent:
            break;
        case AnswerMode::Late:
            m_delayed.emplace_back(Clock::now() + std::chrono::milliseconds(m_lateMs), kAck);
            answer = "late";
            break;
        case AnswerMode::Foreign: {
            Write({m_foreign});
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02X", m_foreign);
            answer = hex;
            break;
        }
        }
    }
    if (onTelegram)
        onTelegram(t, answer);
}

int BusInterfaceSim::NextTimerMs() const {
    if (m_delayed.empty())
        return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        m_delayed.front().first - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

void BusInterfaceSim::HandleTimers() {
    while (!m_delayed.empty() && m_delayed.front().first <= Clock::now()) {
        Write({m_delayed.front().second});
        m_delayed.pop_front();
    }
}

} // namespace boxsim
