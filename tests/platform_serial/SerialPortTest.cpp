#include "SerialPort.h"
#include "PerProcessSettingsFile.h"
#include "SerialPortNames.h"
#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>
#include <vector>

using mox::platform::SerialPort;
using mox::platform::SettingsStore;

namespace {

// The far end of a pseudo-terminal: the test plays the device.
class PtyPair {
public:
    PtyPair() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_slave = ::ptsname(m_master);
    }
    ~PtyPair() { CloseMaster(); }

    const std::string& SlavePath() const { return m_slave; }
    void CloseMaster() {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }
    void Send(const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }
    // Reads exactly n bytes, waiting for each with a generous bound.
    std::vector<uint8_t> Receive(size_t n) {
        std::vector<uint8_t> out;
        while (out.size() < n) {
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0)
                break;
            uint8_t buf[256];
            const ssize_t got = ::read(m_master, buf, std::min(sizeof buf, n - out.size()));
            if (got <= 0)
                break;
            out.insert(out.end(), buf, buf + got);
        }
        return out;
    }

private:
    int m_master = -1;
    std::string m_slave;
};

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_pty.SlavePath().empty());
        ASSERT_TRUE(m_port.Open(m_pty.SlavePath())) << m_port.LastError();
        ASSERT_TRUE(m_port.SetLine({}));
    }

    // Waits for n bytes on the port, which the test has already sent.
    void WaitForBytes(int n) {
        while (m_port.BytesWaiting() < n)
            ASSERT_EQ(m_port.WaitForInput(5000, false), SerialPort::WaitResult::Ready);
    }

    PtyPair m_pty;
    SerialPort m_port;
};

TEST(SerialPortPath, ComNumbersMapToDevices) {
    auto& s = SettingsStore::Instance();
    s.Remove(mox::platform::kSerialPortsKey, "");
    EXPECT_EQ(SerialPort::DevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(SerialPort::DevicePath(16), "/dev/ttyS15");
    EXPECT_EQ(SerialPort::DevicePath(0), "");
    EXPECT_EQ(SerialPort::DevicePath(17), "");
    s.SetString(mox::platform::kSerialPortsKey, "COM3", "/dev/ttyUSB0");
    EXPECT_EQ(SerialPort::DevicePath(3), "/dev/ttyUSB0");
    // An emptied value falls back to the default device.
    s.SetString(mox::platform::kSerialPortsKey, "COM3", "");
    EXPECT_EQ(SerialPort::DevicePath(3), "/dev/ttyS2");
}

TEST(SerialPortOpen, RefusesWhatIsNotAPort) {
    SerialPort port;
    EXPECT_FALSE(port.Open("/nonexistent/tty"));
    EXPECT_EQ(port.LastError(), ENOENT);
    EXPECT_FALSE(port.Open("/dev/null"));
    EXPECT_EQ(port.LastError(), ENOTTY);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.OpenCom(0));
    EXPECT_EQ(port.BytesWaiting(), -1);
    EXPECT_FALSE(port.Write(reinterpret_cast<const uint8_t*>("x"), 1, 10));
    EXPECT_EQ(port.WaitForInput(0, false), SerialPort::WaitResult::Failed);
}

TEST_F(SerialPortTest, OpenIsExclusiveUntilClosed) {
    SerialPort second;
    EXPECT_FALSE(second.Open(m_pty.SlavePath()));
    EXPECT_EQ(second.LastError(), EBUSY);
    m_port.Close();
    EXPECT_TRUE(second.Open(m_pty.SlavePath())) << second.LastError();
}

TEST_F(SerialPortTest, OpenComUsesDeviceFromSettings) {
    m_port.Close();
    SettingsStore::Instance().SetString(mox::platform::kSerialPortsKey, "COM2", m_pty.SlavePath());
    ASSERT_TRUE(m_port.OpenCom(2));
    EXPECT_EQ(m_port.Path(), m_pty.SlavePath());
}

TEST_F(SerialPortTest, RejectsUnsupportedLineSettings) {
    SerialPort::LineSettings bad;
    bad.baud = 12345;
    EXPECT_FALSE(m_port.SetLine(bad));
    EXPECT_EQ(m_port.LastError(), EINVAL);
    bad = {};
    bad.dataBits = 9;
    EXPECT_FALSE(m_port.SetLine(bad));
}

TEST_F(SerialPortTest, BytesPassUnchangedBothWays) {
    // Raw mode: CR, LF, XON, XOFF, NUL and DEL must not be translated or eaten.
    const std::vector<uint8_t> bytes{0x02, 0x0D, 0x0A, 0x11, 0x13, 0x00, 0x7F, 0x03, 0xFF};
    ASSERT_TRUE(m_port.Write(bytes.data(), bytes.size(), 1000));
    EXPECT_EQ(m_pty.Receive(bytes.size()), bytes);

    m_pty.Send(bytes);
    WaitForBytes(static_cast<int>(bytes.size()));
    std::vector<uint8_t> in(bytes.size());
    EXPECT_EQ(m_port.Read(in.data(), in.size()), static_cast<long>(bytes.size()));
    EXPECT_EQ(in, bytes);
    EXPECT_EQ(m_port.Read(in.data(), in.size()), 0); // nothing more, no wait
}

TEST_F(SerialPortTest, PurgeDropsWaitingInput) {
    m_pty.Send({1, 2, 3});
    WaitForBytes(3);
    EXPECT_TRUE(m_port.Purge(true, true));
    EXPECT_EQ(m_port.BytesWaiting(), 0);
}

TEST_F(SerialPortTest, WaitEndsOnInputOrTimeOut) {
    EXPECT_EQ(m_port.WaitForInput(0, false), SerialPort::WaitResult::TimedOut);
    m_pty.Send({0x42});
    EXPECT_EQ(m_port.WaitForInput(5000, false), SerialPort::WaitResult::Ready);
}

TEST_F(SerialPortTest, WakeEndsWakeableWaitOnly) {
    m_port.Wake();
    // A wait that does not ask for it leaves the wake-up pending...
    EXPECT_EQ(m_port.WaitForInput(0, false), SerialPort::WaitResult::TimedOut);
    // ... for the next one that does, even when it starts later.
    EXPECT_EQ(m_port.WaitForInput(-1, true), SerialPort::WaitResult::Woken);
    EXPECT_EQ(m_port.WaitForWake(0), SerialPort::WaitResult::TimedOut);

    std::thread waker([this] { m_port.Wake(); });
    EXPECT_EQ(m_port.WaitForWake(-1), SerialPort::WaitResult::Woken);
    waker.join();
}

TEST_F(SerialPortTest, HangUpEndsWaitInsteadOfSpinning) {
    m_pty.CloseMaster();
    EXPECT_EQ(m_port.WaitForInput(-1, false), SerialPort::WaitResult::Failed);
    EXPECT_LE(m_port.BytesWaiting(), 0);
    uint8_t b = 0;
    EXPECT_LE(m_port.Read(&b, 1), 0);
}

TEST_F(SerialPortTest, ModemLinesOfPseudoTerminalAreRefusedHarmlessly) {
    // A pseudo-terminal has no modem lines; the calls report that and the
    // port goes on working.
    EXPECT_FALSE(m_port.GetModemLines().has_value());
    EXPECT_FALSE(m_port.SetRts(false));
    m_pty.Send({7});
    EXPECT_EQ(m_port.WaitForInput(5000, false), SerialPort::WaitResult::Ready);
}

} // namespace
