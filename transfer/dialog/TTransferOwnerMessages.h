#pragma once
// The transfer controller's owner reached by window messages: each call of
// the engine becomes the message of the same meaning, performed (that is,
// handled before the call returns) on the owner's address. The main window
// owns its controller this way; it answers WM_NEED_TRANSFER_DATA and
// WM_MORE_TRANSFER_DATA through its document. The ISDN events carry their
// records as values (WindowMessage::value): CAPIPORT_CONNECT a CapiCallInfo,
// CAPIPORT_DISCONNECT a CapiDisconnectInfo; that one is posted.
//
// GUI thread only: Perform from the owner's own thread runs the handler at
// once. A dead address (the owner is gone) drops the messages.

#include "ITransferOwner.h"
#include "MessageAddress.h"

class TTransferOwnerMessages : public ITransferOwner {
public:
    explicit TTransferOwnerMessages(mox::platform::MessageAddress owner)
        : m_Owner(std::move(owner)) {}

    // WM_TRANSFER_RESULT, wParam the result (1 ok, 0 failed), lParam 0.
    void OnTransferResult(int result) override;
    // WM_NEED_TRANSFER_DATA (0, 0).
    void OnNeedTransferData() override;
    // WM_MORE_TRANSFER_DATA (0, 0).
    void OnMoreTransferData() override;
    // CAPIPORT_CONNECT (instance, 0, the call record).
    void OnCapiConnect(int instance, const CapiCallInfo& info) override;
    // CAPIPORT_CONNECT_ACTIVE (instance, 0).
    void OnCapiConnectActive(int instance) override;
    // CAPIPORT_DISCONNECT (instance, 0, the disconnect record), posted.
    void OnCapiDisconnect(int instance, const CapiDisconnectInfo& info) override;

private:
    mox::platform::MessageAddress m_Owner;
};
