#pragma once
// The main window's transfer controller: the transfer form TDataTransfer
// owned by the window, reporting to the window's address, with the bus port
// driving the window's bus control through its dispatch interface.
//
// The subscriber-programming state is the form's programming part; every
// programming result is performed on the window as the window message of
// its code, whichever form (window or wizard) runs the exchange, and the
// window hands it on to the dialogs and the page.

#include "IFirmwareFileHolder.h"
#include "IMainTransfer.h"
#include "IProgResultOwner.h"
#include "MessageAddress.h"
#include "TDataTransfer.h"

#include <memory>

class TMoxMain;
class TQuell32Host;

class TMainDataTransfer : public IMainTransfer, public IProgResultOwner, public IFirmwareFileHolder {
public:
    // quell: the window's bus control, or null (no bus port can be built).
    // seams: the form's clock, settings and ports (tests); the program's own
    // when left empty.
    TMainDataTransfer(TMoxMain& owner, TQuell32Host* quell, TDataTransferSeams seams = {});
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

    // IProgResultOwner
    void OnProgResult(const TProgResult& result) override;

    // IFirmwareFileHolder: the firmware page's file goes to the download run
    // of this form.
    void SetFWFileName(const std::string& name) override;
    bool GetFWFileName(std::string& name) const override;

private:
    mox::platform::MessageAddress m_Owner;
    std::unique_ptr<TDataTransfer> m_pForm;
};
