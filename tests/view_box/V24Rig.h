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
#include "FormTransfer.h"
#include "IDocMessageBox.h"
#include "IFirmwareFileHolder.h"
#include "TDataTransfer.h"

#include <QTimer>

#include <memory>
#include <string>
#include <vector>

namespace mox::platform {
class MessageReceiver;
}
class TkResourcen;

// The form as the box pages' controller, which also keeps the firmware
// download file.
class FirmwareFormTransfer : public FormTransfer, public IFirmwareFileHolder {
public:
    using FormTransfer::FormTransfer;
    void SetFWFileName(const std::string& name) override;
    bool GetFWFileName(std::string& name) const override;
};

// The simulator, the form and its owner's message address. Start() before
// use; the results of the runs collect in results.
class V24Rig {
public:
    static constexpr int kGuardMs = 20000;

    explicit V24Rig(TkResourcen* res);
    ~V24Rig();

    bool Start(std::string* error);
    FirmwareFormTransfer* Transfer() { return m_pTransfer.get(); }
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
    std::unique_ptr<FirmwareFormTransfer> m_pTransfer;
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
