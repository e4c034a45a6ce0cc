#pragma once
// The form that owns the transfer controller (the main window or the wizard).
// Each call stands for the window message of the same name, performed
// synchronously.

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
};
