#include "SerialPort.h"

#include "SerialPortNames.h"
#include "SettingsStore.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace mox::platform {

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

std::optional<speed_t> SpeedOf(uint32_t baud) {
    switch (baud) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return std::nullopt;
    }
}

std::optional<tcflag_t> SizeOf(int dataBits) {
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    case 8:
        return CS8;
    default:
        return std::nullopt;
    }
}

} // namespace

SerialPort::SerialPort() {
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

SerialPort::~SerialPort() {
    Close();
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

std::string SerialPort::DevicePath(int comNumber) {
    if (comNumber < 1 || comNumber > kSerialPortCount)
        return {};
    const auto stored = SettingsStore::Instance().GetString(
        kSerialPortsKey, kSerialPortValuePrefix + std::to_string(comNumber));
    if (stored && !stored->empty())
        return *stored;
    return kSerialPortDefaultDevicePrefix + std::to_string(comNumber - 1);
}

bool SerialPort::Fail() {
    m_lastError = errno;
    return false;
}

bool SerialPort::Open(const std::string& path) {
    if (IsOpen()) {
        m_lastError = EBUSY;
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Fail();
    // A file or a pipe is not a port, even though it opens.
    if (!::isatty(fd)) {
        m_lastError = ENOTTY;
        ::close(fd);
        return false;
    }
    // A COM port on Windows is opened by one program at a time, and the
    // exchanges rely on it: a second reader would take the box's answers.
    // The lock holds for every program that asks for it; TIOCEXCL also stops
    // plain opens by other users (not root, and a pseudo-terminal allows it too).
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_lastError = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return false;
    }
    ::ioctl(fd, TIOCEXCL);
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD;
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    m_fd = fd;
    m_path = path;
    DrainWake();
    return true;
}

bool SerialPort::OpenCom(int comNumber) {
    const std::string path = DevicePath(comNumber);
    if (path.empty()) {
        m_lastError = ENODEV;
        return false;
    }
    return Open(path);
}

void SerialPort::Close() {
    if (m_fd < 0)
        return;
    // The exclusive flag stays on the terminal while anyone else holds it
    // open (the far side of a pseudo-terminal does), so it is dropped here
    // or the next open of our own would be refused.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

bool SerialPort::SetLine(const LineSettings& settings) {
    if (!IsOpen()) {
        m_lastError = EBADF;
        return false;
    }
    const auto speed = SpeedOf(settings.baud);
    const auto size = SizeOf(settings.dataBits);
    if (!speed || !size || (settings.stopBits != 1 && settings.stopBits != 2)) {
        m_lastError = EINVAL;
        return false;
    }
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return Fail();
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP);
    tio.c_iflag |= IGNBRK;
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= *size | CLOCAL | CREAD;
    if (settings.parity != Parity::None) {
        tio.c_cflag |= PARENB;
        if (settings.parity == Parity::Odd)
            tio.c_cflag |= PARODD;
    }
    if (settings.stopBits == 2)
        tio.c_cflag |= CSTOPB;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, *speed) != 0 || ::cfsetospeed(&tio, *speed) != 0)
        return Fail();
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0)
        return Fail();
    SetDtr(true);
    SetRts(true);
    return true;
}

int SerialPort::BytesWaiting() {
    int n = 0;
    if (!IsOpen() || ::ioctl(m_fd, FIONREAD, &n) != 0) {
        m_lastError = IsOpen() ? errno : EBADF;
        return -1;
    }
    return n;
}

int SerialPort::BytesToSend() {
    int n = 0;
    if (!IsOpen() || ::ioctl(m_fd, TIOCOUTQ, &n) != 0) {
        m_lastError = IsOpen() ? errno : EBADF;
        return -1;
    }
    return n;
}

long SerialPort::Read(uint8_t* data, size_t size) {
    if (!IsOpen()) {
        m_lastError = EBADF;
        return -1;
    }
    for (;;) {
        const ssize_t n = ::read(m_fd, data, size);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        Fail();
        return -1;
    }
}

bool SerialPort::Write(const uint8_t* data, size_t size, int timeoutMs) {
    if (!IsOpen()) {
        m_lastError = EBADF;
        return false;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, data + done, size - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return Fail();
        const int left = RemainingMs(deadline);
        if (left == 0) {
            m_lastError = ETIMEDOUT;
            return false;
        }
        pollfd p{m_fd, POLLOUT, 0};
        if (::poll(&p, 1, left) < 0 && errno != EINTR)
            return Fail();
        if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            m_lastError = EIO;
            return false;
        }
    }
    // The bus answer window starts when the telegram has left the line, as
    // a write on a Windows COM port ends only then; the bus time-outs are
    // counted from that moment. The tty driver offers no wait with a
    // time-out for it, hence the short polls.
    for (;;) {
        const int pending = BytesToSend();
        if (pending <= 0)
            return true; // a device that cannot tell is taken as drained
        if (RemainingMs(deadline) == 0) {
            m_lastError = ETIMEDOUT;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void SerialPort::DrainWake() {
    // One read takes every wake-up given so far: it returns the eventfd's
    // count and sets it back to 0.
    uint64_t v = 0;
    if (m_wakeFd >= 0) {
        [[maybe_unused]] const ssize_t n = ::read(m_wakeFd, &v, sizeof v);
    }
}

void SerialPort::Wake() {
    const uint64_t one = 1;
    if (m_wakeFd >= 0) {
        [[maybe_unused]] const ssize_t n = ::write(m_wakeFd, &one, sizeof one);
    }
}

SerialPort::WaitResult SerialPort::Poll(bool forInput, bool wakeable, int timeoutMs) {
    if (forInput && !IsOpen())
        return WaitResult::Failed;
    const bool limited = timeoutMs >= 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(limited ? timeoutMs : 0);
    for (;;) {
        pollfd fds[2];
        nfds_t n = 0;
        int inputIndex = -1;
        int wakeIndex = -1;
        if (forInput) {
            inputIndex = static_cast<int>(n);
            fds[n++] = {m_fd, POLLIN, 0};
        }
        if (wakeable && m_wakeFd >= 0) {
            wakeIndex = static_cast<int>(n);
            fds[n++] = {m_wakeFd, POLLIN, 0};
        }
        const int rc = ::poll(fds, n, limited ? RemainingMs(deadline) : -1);
        if (rc < 0) {
            if (errno == EINTR)
                continue;
            m_lastError = errno;
            return WaitResult::Failed;
        }
        if (rc == 0)
            return WaitResult::TimedOut;
        if (inputIndex >= 0) {
            const short ev = fds[inputIndex].revents;
            // A hung-up terminal reports itself readable with nothing to
            // read (and says it is hung up); only real bytes count then, or
            // a reader would spin.
            if ((ev & POLLIN) && !(ev & (POLLERR | POLLHUP | POLLNVAL)))
                return WaitResult::Ready;
            if ((ev & POLLIN) && BytesWaiting() > 0)
                return WaitResult::Ready;
            if (ev & (POLLERR | POLLHUP | POLLNVAL | POLLIN)) {
                m_lastError = EIO;
                return WaitResult::Failed;
            }
        }
        if (wakeIndex >= 0 && (fds[wakeIndex].revents & POLLIN)) {
            DrainWake();
            return WaitResult::Woken;
        }
    }
}

SerialPort::WaitResult SerialPort::WaitForInput(int timeoutMs, bool wakeable) {
    return Poll(true, wakeable, timeoutMs);
}

SerialPort::WaitResult SerialPort::WaitForWake(int timeoutMs) {
    return Poll(false, true, timeoutMs);
}

std::optional<SerialPort::ModemLines> SerialPort::GetModemLines() {
    int bits = 0;
    if (!IsOpen() || ::ioctl(m_fd, TIOCMGET, &bits) != 0) {
        m_lastError = IsOpen() ? errno : EBADF;
        return std::nullopt;
    }
    ModemLines lines;
    lines.cts = (bits & TIOCM_CTS) != 0;
    lines.dsr = (bits & TIOCM_DSR) != 0;
    lines.dcd = (bits & TIOCM_CAR) != 0;
    lines.ring = (bits & TIOCM_RNG) != 0;
    return lines;
}

bool SerialPort::SetModemBit(int bit, bool on) {
    if (!IsOpen()) {
        m_lastError = EBADF;
        return false;
    }
    if (::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bit) != 0)
        return Fail();
    return true;
}

bool SerialPort::SetRts(bool on) {
    return SetModemBit(TIOCM_RTS, on);
}

bool SerialPort::SetDtr(bool on) {
    return SetModemBit(TIOCM_DTR, on);
}

bool SerialPort::Purge(bool input, bool output) {
    if (!IsOpen()) {
        m_lastError = EBADF;
        return false;
    }
    if (!input && !output)
        return true;
    const int which = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
    if (::tcflush(m_fd, which) != 0)
        return Fail();
    return true;
}

} // namespace mox::platform
