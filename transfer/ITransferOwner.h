#pragma once
// The form that owns the transfer controller (the main window or the wizard).
// Each call stands for the window message of the same name, performed
// synchronously unless said otherwise.

#include "CapiCallInfo.h"
#include "CapiPortMessage.h"

class ITransferOwner {
public:
    virtual ~ITransferOwner() = default;

    // WM_TRANSFER_RESULT: the run ended; 1 ok, 0 failed. Once per run.
    virtual void OnTransferResult(int result) = 0;
    // WM_NEED_TRANSFER_DATA: hand the next package over with SetTransferBuf
    // (length 0 when none remains).
    virtual void OnNeedTransferData() = 0;
    // WM_MORE_TRANSFER_DATA: answer with SetMoreData whether more packages
    // follow the current one.
    virtual void OnMoreTransferData() = 0;

    // ---- The ISDN link; owners that never use it keep the defaults ----
    // CAPIPORT_CONNECT: an incoming data call rings (never accepted; the
    // controller's Disconnect refuses it). The record is a copy.
    virtual void OnCapiConnect(int /*instance*/, const CapiCallInfo& /*info*/) {}
    // CAPIPORT_CONNECT_ACTIVE: our call reached its data phase.
    virtual void OnCapiConnectActive(int /*instance*/) {}
    // CAPIPORT_DISCONNECT, posted (the owner hears it after the handler that
    // caused it has returned): the call ended. Local: we hung up ourselves
    // (instance 0 from the controller's Disconnect); Remote: the network
    // cleared it, with the reason text; Refused: the call never started,
    // with the text of the refusing Info. The record is a copy.
    virtual void OnCapiDisconnect(int /*instance*/, const CapiDisconnectInfo& /*info*/) {}
};
