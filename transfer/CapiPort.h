#pragma once
// What the rest of the program sees of the ISDN link: an object created
// with its owner (the transfer controller's window), offering connect,
// listen, send and disconnect on up to two connections, and reporting back
// by messages posted to the owner (CapiPortOwner).
//
// Underneath it binds the CAPI 2.0 library by name at run time, registers
// the application and runs the receive thread "CapiTask", which fetches
// CAPI messages and routes each to its connection's state machine
// (CapiConnection, CapiState).
//
// Results of the operations: an instance number 1..2 or a length when they
// worked; -1 no free connection or send window full; -2 unknown instance or
// wrong state (also a connection that ended within the call); -3 CAPI not
// usable (library missing or registration refused; the owner was told once,
// from the constructor).
//
// Incoming calls are announced (CAPIPORT_CONNECT) and can be refused with
// Disconnect on their instance; no operation accepts one.
//
// Thread rule: the operations run on the owner's thread; the receive thread
// delivers CAPI messages. Both take the port lock before touching a slot and
// then the slot's own lock, so each connection handles one event at a time.
// Reports are posted, never sent: neither thread waits for the other. The
// owner must outlive the port.

#include "CapiCallInfo.h"
#include "CapiConnection.h"
#include "CapiConnectionHost.h"
#include "CapiDefs.h"
#include "CapiPortOwner.h"

#include "CapiLibrary.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class CapiPort final : private CapiConnectionHost {
public:
    // Loads the library (the default one unless the settings name another),
    // registers and starts the receive thread. When CAPI is not usable the
    // owner hears it once through OnCapiUnavailable and the port stays
    // unregistered.
    explicit CapiPort(CapiPortOwner& owner,
                      std::string libraryName = mox::platform::kDefaultCapiLibrary);
    // Stops and joins the receive thread, releases the application (CAPI
    // clears whatever calls are still up) and unloads the library.
    ~CapiPort() override;

    CapiPort(const CapiPort&) = delete;
    CapiPort& operator=(const CapiPort&) = delete;

    // A new outgoing call in a new slot (record in mode call).
    int Connect(const CapiCallInfo& info);
    // Listens for incoming calls (record in mode listen); the slot lives from
    // LISTEN_REQ to LISTEN_CONF.
    int Listen(const CapiCallInfo& info);
    // One block: the length when DATA_B3_REQ went out, -1 when the window is
    // full (wait for CAPIPORT_DATA_SENT), -2 outside the data phase. The
    // port keeps its own copy until CAPI confirms it.
    int SendData(int instance, std::uint32_t len, const std::uint8_t* data);
    // Hangs up or refuses an incoming call: 0, -2 unknown instance.
    int Disconnect(int instance);

    bool IsRegistered() const { return m_dwApplID != 0; }
    // State number of a connection, -2 for an unknown instance.
    int GetConnectionState(int instance);
    // Whether the connection is in its data phase (blocks can be sent).
    bool IsDataPhase(int instance) { return GetConnectionState(instance) == eCapiStateDataPhase; }

    // Texts of the registration (empty when the library was missing).
    const char* GetVersionText() const { return m_szVersion; }
    const char* GetManufacturer() const { return m_szManufacturer; }

    // Timer entry of the connections. The machine starts no timer, so this
    // only reports a timer event that has no connection.
    void TimerProc(std::uint32_t timerId);

private:
    // Reads the library's version texts and registers; the library's result.
    unsigned RegisterApplication();
    void CapiTask();
    void HandleReceived(const std::uint8_t* raw);
    void Route(const CapiMessage& msg);
    CapiConnection* FindSlot(const CapiMessage& msg);
    CapiConnection* AllocSlot();
    CapiConnection* FindInstance(int instance);
    // Frees a slot left in state 0; true when it did.
    bool ReleaseIfIdle(CapiConnection& slot);
    // Answers an indication that found no connection, so CAPI frees what it
    // holds for it (a CONNECT_IND is ignored).
    void AnswerUnrouted(const CapiMessage& ind);
    // A DATA_B3_IND that does not parse still gets its DATA_B3_RESP when
    // its NCCI and data handle can be read.
    void AnswerUnparsed(const std::uint8_t* raw, std::size_t len);
    int RunAppEvent(CapiConnection& slot, const CapiAppEvent& ev);

    unsigned PutMessage(CapiMessage& msg) override;
    void PostMsg(CapiPortMessage msg) override;

    std::uint32_t m_dwApplID = 0; // 0 = not registered; set once by the constructor
    std::uint16_t m_wMsgNr = 0;   // under m_PortLock
    std::array<std::unique_ptr<CapiConnection>, CAPI_MAX_CONNECTIONS> m_Slots;
    std::atomic<bool> m_bRunning{false};
    std::thread m_Thread;
    // Guards the slots and the message-number counter.
    std::mutex m_PortLock;
    // Lets the receive thread pause after a failing wait without delaying
    // a stop request.
    std::mutex m_StopLock;
    std::condition_variable m_StopCv;
    CapiPortOwner& m_Owner;
    char m_szManufacturer[mox::platform::kCapiManufacturerLen] = {};
    std::uint32_t m_adwVersion[4] = {};
    char m_szVersion[64] = {};
    mox::platform::CapiLibrary m_Lib;
};
