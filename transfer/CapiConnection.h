#pragma once
// One ISDN connection of a CapiPort: its record (identifiers, numbers,
// protocol, flow-control counters) and its state holder. The states of
// CapiState drive it; the actions they take (building and putting CAPI
// messages, posting to the owner) live here so every state uses the same.
//
// Thread rule: the port calls a connection only while it holds the port
// lock and the connection's own lock (in that order), so one connection
// handles one event at a time; the record needs no further guard.

#include "CapiCallInfo.h"
#include "CapiConnectionHost.h"
#include "CapiDefs.h"
#include "CapiMessage.h"
#include "CapiReasonText.h"
#include "CapiState.h"

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

class CapiConnection {
public:
    explicit CapiConnection(CapiConnectionHost& host);

    CapiConnection(const CapiConnection&) = delete;
    CapiConnection& operator=(const CapiConnection&) = delete;

    // A fresh record in state 0 for the instance number (1 or 2), or 0 to
    // mark the slot free.
    void Reset(std::uint16_t instance);
    bool IsFree() const { return m_nInstance == 0; }
    std::uint16_t GetInstance() const { return m_nInstance; }
    std::uint16_t GetStateNumber() const { return m_wState; }
    std::mutex& SlotLock() { return m_SlotLock; }
    // Puts the connection into a state without a transition or a trace
    // (state-machine tests).
    void SetState(std::uint16_t number);

    // Event entries: each runs the current state's handler and switches to
    // the state it returns (traced as STCHINT, STCHEXT or STCHTIM).
    void HandleAppEvent(const CapiAppEvent& ev);
    void HandleCapiMessage(const CapiMessage& msg);
    void HandleTimer(std::uint32_t timerId);

    // ---- Actions used by the states --------------------------------------

    // Outgoing call: checks the record, sends CONNECT_REQ and keeps a copy
    // of it. False when the record is refused or CAPI did not take it.
    bool StartOutgoingCall(const CapiCallInfo& info);
    // LISTEN_REQ for the record's listen selector; false as above.
    bool StartListen(const CapiCallInfo& info);
    // Takes the call of a CONNECT_IND into this connection: sends ALERT_REQ
    // and posts CAPIPORT_CONNECT with the call's record.
    void TakeIncomingCall(const CapiMessage& connectInd);
    // Keeps the Reason, answers with DISCONNECT_RESP and posts
    // CAPIPORT_DISCONNECT with the reason text.
    void EndByDisconnectInd(const CapiMessage& disconnectInd);
    // Posts CAPIPORT_DISCONNECT for a call that CONNECT_CONF refused.
    void PostRefused(std::uint16_t info);
    // Copies the data of a DATA_B3_IND, answers it, then posts CAPIPORT_DATA.
    void DeliverData(const CapiMessage& dataInd);
    // Sends one block when the send window allows; sets m_nPendingSendLen
    // to the length, -1 (window full) or -2 (refused).
    void SendData(const std::uint8_t* data, std::uint32_t len);
    // Frees the place of a confirmed block; posts CAPIPORT_DATA_SENT when
    // the window had been full.
    void ConfirmData(const CapiMessage& dataConf);
    // Posts a report without a value (CAPIPORT_CONNECT_ACTIVE,
    // CAPIPORT_DATA_SENT).
    void PostEvent(std::uint32_t id);
    void SendManufacturerReq(const std::uint8_t* data, std::uint32_t len, std::uint8_t function);

    void SendConnectResp(std::uint16_t reject);
    void SendConnectActiveResp(const CapiMessage& ind);
    void SendConnectB3Req();
    void SendConnectB3Resp(const CapiMessage& ind, std::uint16_t reject);
    void SendConnectB3ActiveResp(const CapiMessage& ind);
    void SendConnectB3T90ActiveResp(const CapiMessage& ind);
    void SendDataB3Resp(const CapiMessage& ind);
    void SendDisconnectReq();
    void SendDisconnectB3Req();
    // The B3 connection ended (DISCONNECT_B3_IND): answers it and forgets
    // its NCCI and the blocks still unconfirmed on it, so the window starts
    // afresh and a B3 connection opened again, under any NCCI, is taken.
    void EndB3(const CapiMessage& disconnectB3Ind);
    void SendResetB3Resp(const CapiMessage& ind);
    void SendInfoResp(const CapiMessage& ind);
    void SendFacilityResp(const CapiMessage& ind);

    // ---- Record ----------------------------------------------------------
    std::uint16_t m_nInstance = 0; // 1 or 2 while in use, 0 when free
    std::uint32_t m_nWindow = 1;   // 1 + DATA_B3_REQ not yet confirmed
    std::uint32_t m_dwController = 1;
    std::uint32_t m_dwPLCI = 0;
    std::uint32_t m_dwNCCI = 0;
    std::uint16_t m_wCIP = 0;
    std::uint8_t m_bServiceSelector = 0;
    CapiService m_Service{};
    char m_szCalledNumber[17] = {};
    char m_szCallingNumber[17] = {};
    std::uint8_t m_bCallingType = 0x80;
    bool m_bRestricted = false;
    std::uint32_t m_dwInfoMask = 0x41; // cause and display information
    std::uint32_t m_dwCIPMask = 0;
    std::uint32_t m_dwCIPMask2 = 0;
    std::uint16_t m_wDataHandle = 0; // next data handle
    bool m_bOutgoing = false;
    bool m_bConnected = false;
    std::uint16_t m_wInfo = 0;   // last Info of a confirmation
    std::uint16_t m_wReason = 0; // Reason of the DISCONNECT_IND
    char m_szReason[CAPI_REASON_TEXT_SIZE] = {};
    std::uint16_t m_wIndMsgNr = 0; // number of the indication being answered
    CapiMessage m_LastRequest;     // copy of the CONNECT_REQ
    std::int32_t m_nPendingSendLen = -1;
    // Set when we asked for the call to end (DISCONNECT_REQ, a rejected
    // call): the DISCONNECT_IND that follows is then our own hang-up.
    bool m_bHangupSent = false;
    // The application hung up while CONNECT_CONF was outstanding: the call
    // is cleared as soon as the confirmation brings its PLCI.
    bool m_bHangupPending = false;
    bool m_bWindowFull = false;
    // Blocks sent and not yet confirmed, by data handle. CAPI reads the data
    // of a DATA_B3_REQ until its DATA_B3_CONF, so it must outlive the
    // caller's buffer.
    std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>> m_Unconfirmed;

private:
    void SwitchTo(std::uint16_t next, const char* kind);
    unsigned Put(CapiMessage& msg);
    void Post(CapiPortMessage msg);
    // An owned response with the indication's number and address.
    void InitResponse(CapiMessage& msg, const CapiMessage& ind);

    CapiConnectionHost& m_Host;
    std::mutex m_SlotLock;
    const CapiState* m_pState;
    std::uint16_t m_wState = eCapiStateIdle;
};
