#pragma once
// The transfer controller's owner for a form that holds a document but no
// message dispatch of its own for the transfer (the setup wizard's own
// controller, tools): the engine's package requests go straight to the
// document, as the main window's handlers of WM_NEED_TRANSFER_DATA and
// WM_MORE_TRANSFER_DATA do, and the result is handed on to a callback.
//
// GUI thread only. The document must outlive the owner.

#include "ITransferOwner.h"

#include <functional>

class TMoxDocument;

class TDocTransferOwner : public ITransferOwner {
public:
    explicit TDocTransferOwner(TMoxDocument& doc) : m_Doc(doc) {}

    // Called once per run with its result (1 ok, 0 failed).
    void SetResultHandler(std::function<void(int)> handler) { m_OnResult = std::move(handler); }

    void OnTransferResult(int result) override;
    void OnNeedTransferData() override;
    void OnMoreTransferData() override;

private:
    TMoxDocument& m_Doc;
    std::function<void(int)> m_OnResult;
};
