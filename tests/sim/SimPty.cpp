#include "SimPty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace boxsim {

namespace {

constexpr int kWriteGiveUpMs = 1000;
// While the line is full, the wait for room before the next try.
constexpr int kWriteRoomWaitMs = 20;

} // namespace

std::int64_t SimSteadyNs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

std::size_t WriteToPc(int master, const std::vector<uint8_t>& bytes, SimWriteMark& mark) {
    const std::int64_t giveUp = SimSteadyNs() + std::int64_t{kWriteGiveUpMs} * 1000000;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR) && SimSteadyNs() < giveUp) {
            pollfd p{master, POLLOUT, 0};
            ::poll(&p, 1, kWriteRoomWaitMs);
        } else {
            break;
        }
    }
    ++mark.writes;
    mark.lastNs = SimSteadyNs();
    return done;
}

bool OpenSimPty(int& master, int& slaveHold, std::string& path, std::string* error) {
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        if (error)
            *error = std::string("pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(master);
    if (!name) {
        if (error)
            *error = "pseudo-terminal has no name";
        return false;
    }
    path = name;
    slaveHold = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveHold >= 0) {
        termios tio{};
        if (::tcgetattr(slaveHold, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(slaveHold, TCSANOW, &tio);
        }
    }
    return true;
}

void CloseSimPty(int& master, int& slaveHold) {
    if (slaveHold >= 0)
        ::close(slaveHold);
    if (master >= 0)
        ::close(master);
    slaveHold = -1;
    master = -1;
}

SimPcEnd::~SimPcEnd() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool SimPcEnd::Open(const std::string& path) {
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return false;
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return false;
    ::cfmakeraw(&tio);
    return ::tcsetattr(m_fd, TCSANOW, &tio) == 0;
}

bool SimPcEnd::Write(const std::vector<uint8_t>& bytes) const {
    return ::write(m_fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

} // namespace boxsim
