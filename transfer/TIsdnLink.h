#pragma once
// The transfer controller's side of the ISDN link: the one call it holds on
// the ISDN port (its instance number), the dial and the hang-up, the port's
// reports, and the blocks of an exchange sent on that call. A part of
// TDataTransferEngine, plain C++ on the GUI thread; the port's reports reach
// it as values (CapiPortMessage), queued for this thread by the port's owner.
//
// Only a call of our own that reached its data phase makes the link count as
// connected; the owner hears of that data phase once per call, also when the
// far end clears B3 and opens it again. An incoming data call is announced to
// the owner and held until the owner refuses it with Disconnect; it is never
// accepted. A call that is not announced (not a data call, from our own
// number, or while a call is held) gets no answer at all: it rings on at
// the network until its caller gives up, and its end is not ours.

#include "CapiCallInfo.h"
#include "CapiDefs.h"
#include "CapiPortMessage.h"
#include "ICapiLinkPort.h"
#include "TransferDefs.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TDataTransferEngine;

// Result of a dial: the instance number of the new call (1..2), or why no
// call was started.
enum eIsdnDialResult : int {
    eIsdnDialNoSlot = CAPIPORT_ERR_NO_SLOT,               // no free connection on the port
    eIsdnDialEnded = CAPIPORT_ERR_INSTANCE,               // the call ended within the dial
    eIsdnDialNotRegistered = CAPIPORT_ERR_NOT_REGISTERED, // CAPI not usable
    eIsdnDialNumberTooLong = -4,    // the number to dial has more than 16 digits
    eIsdnDialOwnNumberTooLong = -5, // the own number in the settings has more than 16
    eIsdnDialNoNumber = -6,         // nothing to dial
    eIsdnDialNoPort = -7,           // the link is not ISDN
    eIsdnDialCallUp = -8,           // a call of our own is up or being set up
};

class TIsdnLink {
public:
    explicit TIsdnLink(TDataTransferEngine& engine) : m_Engine(engine) {}

    TIsdnLink(const TIsdnLink&) = delete;
    TIsdnLink& operator=(const TIsdnLink&) = delete;

    // The engine built the ISDN port: listen for data calls.
    void OnPortOpened(ICapiLinkPort* port);
    // The port is about to go: a call still held is hung up first; the owner
    // hears of it when tellOwner is set (not while the engine itself goes).
    void OnPortClosing(bool tellOwner);

    // Dials number from the own number of the settings.
    int Connect(std::string_view number);
    // Hangs up the call held (or refuses the incoming one) and tells the
    // owner (Local, instance 0); a running exchange ends with result 0.
    void Disconnect();
    // One block on the call; false when it did not go out (every negative
    // result of the port is a failure).
    bool SendCAPIData(const std::uint8_t* data, std::uint32_t len);

    // A call of our own is in its data phase.
    bool IsConnected() const;
    // The call held: 0 none.
    std::uint16_t GetInstance() const { return m_wInstance; }
    bool IsOwnCall() const { return m_bOwnCall; }

    // The port's reports.
    void OnCapiMessage(const CapiPortMessage& msg);
    void OnCapiConnectMsg(int instance, const CapiCallInfo& info);
    void OnCapiConnectActive(int instance);
    void OnCapiDisconnectMsg(int instance, const CapiDisconnectInfo& info);
    void OnCapiData(int instance, const std::vector<std::uint8_t>& data);

private:
    // The call is gone: forget it, end a running exchange, void the
    // programming data.
    void CallEnded();

    TDataTransferEngine& m_Engine;
    ICapiLinkPort* m_pPort = nullptr;
    std::uint16_t m_wInstance = 0; // only a positive instance number is ever kept
    bool m_bOwnCall = false;       // the instance is a call we placed
    bool m_bActiveTold = false;    // the owner heard of the call's data phase
    // Copy of the last block handed to the port.
    std::uint32_t m_dwSendLen = 0;
    std::array<std::uint8_t, MAX_COMM_MSG_LEN> m_abySendBuffer{};
};
