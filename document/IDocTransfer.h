#pragma once
// What the document needs of the transfer controller to move the
// configuration to and from the box. The real controller (TDataTransfer)
// implements it; the document's tests drive a fake that plays the
// controller's side of a send or a read.
//
// Order of use for one exchange: SetInfoText, SetTransferData, (SetTeleAnz
// when sending), ShowModal. While a send runs the controller asks its owner
// for every further package; the owner answers through
// TMoxDocument::OnNeedTransferData and TMoxDocument::MoreAnlDataToComPort,
// which call SetTransferBuf and SetMoreData here. The controller only borrows
// the buffers it is handed.

#include <cstdint>

// Transfer modes the document starts.
enum eDocTransferMode : int {
    eDocSendAnlDaten = 1,    // write the configuration to the box
    eDocReceiveAnlDaten = 2, // read the configuration from the box
};

// Modal results of ShowModal.
enum eDocTransferResult : int {
    eDocTransferOk = 1,
    eDocTransferFailed = 2, // failed or cancelled
};

class IDocTransfer {
public:
    virtual ~IDocTransfer() = default;

    // Information line of the transfer form; nullptr gives an empty line.
    // The text is Windows-1252.
    virtual void SetInfoText(const char* text) = 0;
    virtual void SetTransferData(int mode, std::uint8_t* buffer, std::uint32_t length) = 0;
    // Number of packages of a send; the box gets it with the first block.
    virtual void SetTeleAnz(std::uint16_t count) = 0;
    // Runs one exchange; eDocTransferOk or eDocTransferFailed.
    virtual int ShowModal() = 0;
    // The next package of a running send; length 0 when none remains.
    virtual void SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) = 0;
    // Answer to the controller's question whether more packages follow.
    virtual void SetMoreData(bool more) = 0;
    // Largest package one block carries.
    virtual std::uint32_t GetBlockLen() const = 0;
};
