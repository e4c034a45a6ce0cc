#pragma once
// The box pages against the box simulator on the direct V.24 cable: the
// program's transfer form with its own serial port on the simulator's
// pseudo-terminal, reached through the controller interface the main
// window hands its pages.
//
// The form's clock is a fake one that no test moves, so no time-out can
// strike while a process is merely slow; failures come from the box (bad
// CRCs on request); a guard cancels a run that never ends.

#include "BoxSimProcess.h"
#include "FakeClock.h"
#include "IDocMessageBox.h"
#include "IFirmwareFileHolder.h"
#include "IMainTransfer.h"
#include "TDataTransfer.h"

#include <QTimer>

#include <memory>
#include <string>
#include <vector>

namespace mox::platform {
class MessageReceiver;
}
class TkResourcen;

class FormTransfer : public IMainTransfer, public IFirmwareFileHolder {
public:
    explicit FormTransfer(TDataTransfer& form) : m_Form(form) {}
    void SetInfoText(const char* text) override { m_Form.SetInfoText(text); }
    void SetTransferData(int mode, std::uint8_t* buffer, std::uint32_t length) override {
        m_Form.SetTransferData(mode, buffer, length);
    }
    void SetTeleAnz(std::uint16_t count) override { m_Form.SetTeleAnz(count); }
    int ShowModal() override;
    void SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) override {
        m_Form.SetTransferBuf(buffer, length);
    }
    void SetMoreData(bool more) override { m_Form.SetMoreData(more); }
    std::uint32_t GetBlockLen() const override { return m_Form.GetBlockLen(); }
    bool UpdatePort() override { return m_Form.UpdatePort(); }
    bool IsConnected() const override { return m_Form.IsConnected(); }
    std::string GetConnectionText() const override { return m_Form.GetConnectionText(); }
    int Connect(const std::string&) override { return 0; }
    void Disconnect() override {}
    std::intptr_t GetConnectionValue() const override { return 0; }
    TProgFlags GetProgFlags() const override { return {}; }
    std::uint16_t GetBoxKennziffer() const override { return 0; }
    void ResetProgData() override {}
    void OnTeleReceived() override {}
    void CloseTransferForm() override { m_Form.CloseTransferForm(); }
    void SetFWFileName(const std::string& name) override;
    bool GetFWFileName(std::string& name) const override;

    // Armed around every modal run.
    QTimer* guard = nullptr;

private:
    TDataTransfer& m_Form;
};

// The simulator, the form and its owner's message address. Start() before
// use; the results of the runs collect in results.
class V24Rig {
public:
    static constexpr int kGuardMs = 20000;

    explicit V24Rig(TkResourcen* res);
    ~V24Rig();

    bool Start(std::string* error);
    FormTransfer* Transfer() { return m_pTransfer.get(); }
    TDataTransfer* Form() { return m_pForm.get(); }
    // A simulator command and its reply line.
    std::string Sim(const std::string& line, const std::string& reply = "OK");

    FakeClock& Clock() { return m_Clock; }

    std::vector<int> results;
    // What the form asked the user (the restart after a download), each
    // answered Yes.
    std::vector<int> questions;

private:
    TkResourcen* m_pRes;
    boxsim::BoxSimProcess m_Sim;
    FakeClock m_Clock;
    std::unique_ptr<TDataTransfer> m_pForm;
    std::unique_ptr<FormTransfer> m_pTransfer;
    std::unique_ptr<mox::platform::MessageReceiver> m_pMain;
    QTimer m_Guard;

    class YesBox : public IDocMessageBox {
    public:
        explicit YesBox(std::vector<int>& asked) : m_Asked(asked) {}
        int ShowMessage(int textId, const std::string&, const std::string&, eDocMsgIcon,
                        eDocMsgButtons) override {
            m_Asked.push_back(textId);
            return eDocAnswerYes;
        }

    private:
        std::vector<int>& m_Asked;
    };
    YesBox m_Box{questions};
};
