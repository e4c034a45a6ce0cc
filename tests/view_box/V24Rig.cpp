#include "V24Rig.h"

#include "ComPortDefs.h"
#include "MessageReceiver.h"
#include "PermSettings.h"
#include "RigFirmware.h"
#include "WindowMessages.h"

#include <gtest/gtest.h>

void FirmwareFormTransfer::SetFWFileName(const std::string& name) {
    rigfw::SetFileName(Form(), name);
}

bool FirmwareFormTransfer::GetFWFileName(std::string& name) const {
    return rigfw::GetFileName(Form(), name);
}

V24Rig::V24Rig(TkResourcen* res) : m_pRes(res), m_Sim(MOX_BOXSIM, {"--v24", "--quiet"}) {
    m_Guard.setSingleShot(true);
    m_Guard.setInterval(kGuardMs);
    QObject::connect(&m_Guard, &QTimer::timeout, [this] {
        ADD_FAILURE() << "the run never ended";
        m_pForm->OnCancel();
    });
}

V24Rig::~V24Rig() {
    m_Guard.stop();
    m_pForm.reset();
    m_pTransfer.reset();
    m_pMain.reset();
    m_Sim.Stop();
}

bool V24Rig::Start(std::string* error) {
    if (!m_Sim.Start(error))
        return false;
    SetComDevice(1, m_Sim.PtyPath());
    SetComPort(ePortCom1);

    TDataTransferSeams seams;
    seams.clock = &m_Clock;
    m_pForm = std::make_unique<TDataTransfer>(nullptr, m_pRes, seams);
    m_pMain = std::make_unique<mox::platform::MessageReceiver>(
        [this](const mox::platform::WindowMessage& m) -> std::intptr_t {
            if (m.id == WM_TRANSFER_RESULT) {
                results.push_back(static_cast<int>(m.wParam));
                m_pForm->CloseTransferForm();
            }
            return 0;
        });
    m_pForm->SetOwnerAddress(m_pMain->Address());
    m_pForm->SetMessageBox(&m_Box);
    m_pTransfer = std::make_unique<FirmwareFormTransfer>(*m_pForm);
    m_pTransfer->guard = &m_Guard;
    m_pForm->UpdatePort();
    return true;
}

std::string V24Rig::Sim(const std::string& line, const std::string& reply) {
    return m_Sim.Command(line, reply).value_or("(no reply)");
}
