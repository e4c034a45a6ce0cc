#pragma once
// The main window's transfer controller reduced to the program's transfer
// form, for the rigs that run pages against the box simulator: the pages
// and the document talk to the real form and its engine. The main window's
// ISDN and programming parts are not there.

#include "IMainTransfer.h"

#include <cstdint>
#include <string>

class QTimer;
class TDataTransfer;

class FormTransfer : public IMainTransfer {
public:
    explicit FormTransfer(TDataTransfer& form) : m_Form(form) {}

    // IDocTransfer
    void SetInfoText(const char* text) override;
    void SetTransferData(int mode, std::uint8_t* buffer, std::uint32_t length) override;
    void SetTeleAnz(std::uint16_t count) override;
    // The form's modal run, under the guard when one is set.
    int ShowModal() override;
    void SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) override;
    void SetMoreData(bool more) override;
    std::uint32_t GetBlockLen() const override;

    // IMainTransfer
    bool UpdatePort() override;
    bool IsConnected() const override;
    std::string GetConnectionText() const override;
    int Connect(const std::string&) override { return 0; }
    void Disconnect() override {}
    std::intptr_t GetConnectionValue() const override { return 0; }
    TProgFlags GetProgFlags() const override { return {}; }
    std::uint16_t GetBoxKennziffer() const override { return 0; }
    void ResetProgData() override {}
    void OnTeleReceived() override {}
    void CloseTransferForm() override;

    // Armed around every modal run: it cancels a run that never ends.
    QTimer* guard = nullptr;

protected:
    TDataTransfer& Form() const { return m_Form; }

private:
    TDataTransfer& m_Form;
};
