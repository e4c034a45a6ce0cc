#pragma once
// The main window's transfer controller: the transfer form TDataTransfer
// owned by the window, reporting to the window's address, with the bus port
// driving the window's bus control through its dispatch interface.
//
// The subscriber-programming state comes with the programming run; until
// the controller offers it the answers here are those of a controller that
// is not programming.

#include "IMainTransfer.h"

#include <memory>

class TDataTransfer;
class TMoxMain;
class TQuell32Host;

class TMainDataTransfer : public IMainTransfer {
public:
    // quell: the window's bus control, or null (no bus port can be built).
    TMainDataTransfer(TMoxMain& owner, TQuell32Host* quell);
    ~TMainDataTransfer() override;

    TDataTransfer& Form() { return *m_pForm; }

    // IDocTransfer
    void SetInfoText(const char* text) override;
    void SetTransferData(int mode, std::uint8_t* buffer, std::uint32_t length) override;
    void SetTeleAnz(std::uint16_t count) override;
    int ShowModal() override;
    void SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) override;
    void SetMoreData(bool more) override;
    std::uint32_t GetBlockLen() const override;

    // IMainTransfer
    bool UpdatePort() override;
    bool IsConnected() const override;
    std::string GetConnectionText() const override;
    int Connect(const std::string& number) override;
    void Disconnect() override;
    std::intptr_t GetConnectionValue() const override;
    TProgFlags GetProgFlags() const override;
    std::uint16_t GetBoxKennziffer() const override;
    void ResetProgData() override;
    void OnTeleReceived() override;
    void CloseTransferForm() override;

private:
    std::unique_ptr<TDataTransfer> m_pForm;
};
