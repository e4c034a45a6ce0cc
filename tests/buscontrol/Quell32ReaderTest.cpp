// The control with its reader thread over a pseudo-terminal: events on the
// GUI thread, one event per telegram until ReadyForReceive, a busy bus, and
// destruction with the port open. The test plays the bus interface on the
// far end.

#include "BusFraming.h"
#include "CQuell32Ctrl.h"
#include "CQuell32PropPage.h"
#include "ComPtr.h"
#include "ModuleState.h"
#include "PerProcessSettingsFile.h"
#include "QtGuiSite.h"
#include "Quell32Dialogs.h"
#include "Quell32Ids.h"
#include "SerialPort.h"
#include "SerialPortNames.h"
#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace mox::com;
using namespace quell32;

namespace {

using Bytes = std::vector<uint8_t>;

QApplication& App() {
    static int argc = 1;
    static char name[] = "test_buscontrol";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

Bytes Wire(const Bytes& telegram) {
    return BuildBusFrame(std::vector<uint16_t>(telegram.begin(), telegram.end()), false);
}

class Sink final : public IDispatch {
public:
    HRESULT QueryInterface(const Guid& iid, void** out) noexcept override {
        if (iid == IUnknown::kIid || iid == IDispatch::kIid) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() noexcept override { return ++refs; }
    uint32_t Release() noexcept override { return --refs; }
    HRESULT Invoke(DispId id, InvokeKind, const Variant*, uint32_t, Variant*) noexcept override {
        if (id == eventidTeleReceived) {
            ++events;
            onGuiThread = onGuiThread && std::this_thread::get_id() == guiThread;
        }
        return S_OK;
    }
    int events = 0;
    bool onGuiThread = true;
    std::thread::id guiThread = std::this_thread::get_id();
    uint32_t refs = 0;
};

// The bus interface's side of the pseudo-terminal.
class FarEnd {
public:
    FarEnd() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_slave = ::ptsname(m_master);
    }
    ~FarEnd() {
        if (m_master >= 0)
            ::close(m_master);
    }
    const std::string& Slave() const { return m_slave; }
    void Send(const Bytes& b) {
        ASSERT_EQ(::write(m_master, b.data(), b.size()), ssize_t(b.size()));
    }
    // Reads n bytes, waiting for each (bounded).
    Bytes Receive(size_t n) {
        Bytes out;
        while (out.size() < n) {
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0)
                break;
            uint8_t c = 0;
            if (::read(m_master, &c, 1) == 1)
                out.push_back(c);
        }
        return out;
    }

private:
    int m_master = -1;
    std::string m_slave;
};

class Quell32ReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        ASSERT_FALSE(m_far.Slave().empty());
        mox::platform::SettingsStore::Instance().SetString(mox::platform::kSerialPortsKey, "COM2",
                                                           m_far.Slave());
        m_ctrl = ComPtr<IDispatch>::Attach(static_cast<IDispatch*>(CQuell32Ctrl::Create()));
        m_site = QtGuiSite::Create(&App());
        m_ctrl.As<IObjectWithSite>()->SetSite(m_site.Get());
        m_ctrl.As<IEventSource>()->Advise(&m_sink);
        // A pseudo-terminal has no modem lines to test for an interface.
        Put(dispidTestForInterface, Variant::FromBool(false));
    }
    void TearDown() override {
        if (m_ctrl) {
            m_ctrl.As<IEventSource>()->Unadvise();
            m_ctrl.As<IObjectWithSite>()->SetSite(nullptr);
        }
        m_ctrl.Reset();
        QCoreApplication::sendPostedEvents();
    }

    void Put(DispId id, const Variant& v) {
        ASSERT_EQ(m_ctrl->Invoke(id, InvokeKind::PropertyPut, &v, 1, nullptr), S_OK);
    }
    Variant Get(DispId id, std::vector<Variant> args = {}) {
        Variant v;
        EXPECT_EQ(m_ctrl->Invoke(id, InvokeKind::PropertyGet, args.data(),
                                 static_cast<uint32_t>(args.size()), &v),
                  S_OK);
        return v;
    }
    int16_t Call(DispId id) {
        Variant v;
        EXPECT_EQ(m_ctrl->Invoke(id, InvokeKind::Method, nullptr, 0, &v), S_OK);
        return v.ToI2().value_or(0);
    }
    // Runs the GUI loop until the sink has seen n events (bounded).
    bool WaitForEvents(int n) {
        QElapsedTimer t;
        t.start();
        while (m_sink.events < n && t.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        return m_sink.events >= n;
    }
    void OpenWithEvents() {
        Put(dispidUseEventNotification, Variant::FromBool(true));
        ASSERT_EQ(Call(dispidOpenPort), static_cast<int16_t>(PORT_OK));
    }

    FarEnd m_far;
    Sink m_sink;
    ComPtr<ISite> m_site;
    ComPtr<IDispatch> m_ctrl;
};

TEST_F(Quell32ReaderTest, TelegramToThePcIsAcknowledgedAndReportedOnTheGuiThread) {
    OpenWithEvents();
    m_far.Send(Wire({0xF0, 0x43, 0x70, 0x11, 0x22}));
    EXPECT_EQ(m_far.Receive(1), Bytes{kAck});
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_TRUE(m_sink.onGuiThread);
    EXPECT_EQ(Get(dispidReceivedTeleStatus), Variant::FromI2(RECEIVE_STATUS_ACK));
    EXPECT_EQ(Get(dispidReceivedTeleLen), Variant::FromI2(5));
    EXPECT_EQ(Get(dispidReceivedTeleBytes, {Variant::FromI2(4)}), Variant::FromI2(0x22));
}

TEST_F(Quell32ReaderTest, OneEventPerTelegramUntilReadyForReceive) {
    OpenWithEvents();
    // Two broadcasts in one go.
    Bytes two = Wire({0xFF, 0x43, 0x70, 0x01});
    const Bytes second = Wire({0xFF, 0x43, 0x70, 0x02});
    two.insert(two.end(), second.begin(), second.end());
    m_far.Send(two);
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_EQ(Get(dispidReadyForReceive), Variant::FromBool(false));
    EXPECT_EQ(Get(dispidReceivedTeleBytes, {Variant::FromI2(3)}), Variant::FromI2(1));

    // The second waits in the queue: with the reader running a send finds
    // the bus blocked and sends nothing.
    Put(dispidTransmitTeleArray, Variant::FromArrayI2({0x70, 0x43, 0xF0}));
    Call(dispidTransmitTele);
    EXPECT_EQ(Get(dispidTransmitTeleStatus),
              Variant::FromI2(static_cast<int16_t>(TRANSMIT_BUS_BLOCKED)));
    EXPECT_EQ(m_sink.events, 1);

    Put(dispidReadyForReceive, Variant::FromBool(true));
    ASSERT_TRUE(WaitForEvents(2));
    EXPECT_EQ(Get(dispidReceivedTeleBytes, {Variant::FromI2(3)}), Variant::FromI2(2));
}

TEST_F(Quell32ReaderTest, TelegramsThatComeWhileTheClientHoldsOneAreEachAnsweredAndDelivered) {
    OpenWithEvents();
    m_far.Send(Wire({0xF0, 0x43, 0x70, 0x01}));
    ASSERT_EQ(m_far.Receive(1), Bytes{kAck});
    ASSERT_TRUE(WaitForEvents(1));
    for (uint8_t n = 2; n <= 4; ++n) {
        // The box's next telegram is there, whole, before the client hands
        // the last one back (as when it answers what the client sent).
        m_far.Send(Wire({0xF0, 0x43, 0x70, n}));
        Put(dispidReadyForReceive, Variant::FromBool(true));
        EXPECT_EQ(m_far.Receive(1), Bytes{kAck}) << int(n);
        ASSERT_TRUE(WaitForEvents(n));
        EXPECT_EQ(Get(dispidReceivedTeleStatus), Variant::FromI2(RECEIVE_STATUS_ACK));
        EXPECT_EQ(Get(dispidReceivedTeleBytes, {Variant::FromI2(3)}), Variant::FromI2(n));
    }
    EXPECT_TRUE(m_sink.onGuiThread);
    // Nothing was taken twice.
    QCoreApplication::processEvents();
    EXPECT_EQ(m_sink.events, 4);
}

TEST_F(Quell32ReaderTest, SendWhileTheReaderIdles) {
    OpenWithEvents();
    Put(dispidTransmitTeleArray, Variant::FromArrayI2({0x70, 0x43, 0xF0, 0x05}));
    std::thread box([this] {
        const Bytes frame = m_far.Receive(Wire({0x70, 0x43, 0xF0, 0x05}).size());
        if (frame == Wire({0x70, 0x43, 0xF0, 0x05}))
            m_far.Send({kAck});
    });
    Call(dispidTransmitTele);
    box.join();
    EXPECT_EQ(Get(dispidTransmitTeleStatus), Variant::FromI2(TRANSMIT_STATUS_ACK));
    EXPECT_EQ(m_sink.events, 0); // an answer is not a telegram
}

TEST_F(Quell32ReaderTest, DestroyingWithOpenPortStopsReaderAndClosesPort) {
    OpenWithEvents();
    const uint32_t alive = ModuleState::LiveObjects();
    m_ctrl.As<IEventSource>()->Unadvise();
    m_ctrl.Reset(); // joins the reader and closes the port
    EXPECT_LT(ModuleState::LiveObjects(), alive);
    mox::platform::SerialPort again;
    EXPECT_TRUE(again.Open(m_far.Slave())) << "port still held";
}

TEST_F(Quell32ReaderTest, ClosePortStopsTheReader) {
    OpenWithEvents();
    EXPECT_EQ(Call(dispidClosePort), static_cast<int16_t>(PORT_OK));
    EXPECT_EQ(Get(dispidConnected), Variant::FromBool(false));
    mox::platform::SerialPort again;
    EXPECT_TRUE(again.Open(m_far.Slave()));
}

TEST_F(Quell32ReaderTest, EventsSwitchedOnWhileOpenReopenWithReader) {
    ASSERT_EQ(Call(dispidOpenPort), static_cast<int16_t>(PORT_OK));
    Put(dispidUseEventNotification, Variant::FromBool(true));
    EXPECT_EQ(Get(dispidConnected), Variant::FromBool(true));
    m_far.Send(Wire({0xFF, 0x43, 0x70, 0x07}));
    ASSERT_TRUE(WaitForEvents(1));

    Put(dispidReadyForReceive, Variant::FromBool(true));
    Put(dispidUseEventNotification, Variant::FromBool(false));
    EXPECT_EQ(Get(dispidConnected), Variant::FromBool(true));
    // Without a reader the telegram is fetched by waiting for it.
    m_far.Send(Wire({0xFF, 0x43, 0x70, 0x08}));
    Variant ticks = Variant::FromI4(2000);
    ASSERT_EQ(m_ctrl->Invoke(dispidWaitForReceive, InvokeKind::Method, &ticks, 1, nullptr), S_OK);
    EXPECT_EQ(Get(dispidReceivedTeleBytes, {Variant::FromI2(3)}), Variant::FromI2(8));
    EXPECT_EQ(m_sink.events, 1);
}

TEST_F(Quell32ReaderTest, TelegramPostedAfterTheControlWentIsDropped) {
    OpenWithEvents();
    m_far.Send(Wire({0xFF, 0x43, 0x70}));
    // Wait until the reader has posted (the ready flag drops with the store).
    QElapsedTimer t;
    t.start();
    while (Get(dispidReadyForReceive) == Variant::FromBool(true) && t.elapsed() < 5000)
        std::this_thread::yield();
    m_ctrl.As<IEventSource>()->Unadvise();
    m_ctrl.As<IObjectWithSite>()->SetSite(nullptr);
    m_ctrl.Reset();
    // The notice still in the queue finds no control and does nothing.
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(m_sink.events, 0);
}

// ---------------------------------------------------------------- dialogs

TEST(Quell32Dialogs, AboutBoxAndPropertyPage) {
    App();
    std::unique_ptr<QDialog> about(CreateAboutBox());
    ASSERT_TRUE(about);
    EXPECT_EQ(about->windowTitle(), "About Quell32 Control");
    EXPECT_EQ(about->findChild<QLabel*>("text")->text(), "Quell32 Control, Version 1.3");
    std::unique_ptr<QDialog> page(CreatePropertyPage());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->windowTitle(), "General");
    EXPECT_EQ(page->findChild<QLabel*>("text")->text(), "Keine Propertypage vorhanden!");
}

TEST(Quell32Dialogs, AboutBoxThroughDispatchIsModal) {
    App();
    auto ctrl = ComPtr<IDispatch>::Attach(static_cast<IDispatch*>(CQuell32Ctrl::Create()));
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        if (auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            seen = w->objectName() == "Quell32AboutBox";
            w->accept();
        }
    });
    EXPECT_EQ(ctrl->Invoke(dispidAboutBox, InvokeKind::Method, nullptr, 0, nullptr), S_OK);
    EXPECT_TRUE(seen);
}

} // namespace
