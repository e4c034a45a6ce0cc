#include "TMainDataTransfer.h"

#include "TDataTransfer.h"
#include "TFirmwareDownload.h"
#include "TTransferExtension.h"
#include "TMainProgLink.h"
#include "TMoxMain.h"
#include "TQuell32Dispatch.h"
#include "TQuell32Host.h"
#include "TTransferPortFactory.h"

TMainDataTransfer::TMainDataTransfer(TMoxMain& owner, TQuell32Host* quell,
                                     TDataTransferSeams seams)
    : m_Owner(owner.Address()),
      m_pForm(std::make_unique<TDataTransfer>(&owner, owner.GetRes(), seams)) {
    m_pForm->SetOwnerAddress(owner.Address());
    TMainProgLink::SetResultOwner(*m_pForm, this);
    m_pForm->SetMessageBox(owner.GetMessageBox());
    if (quell && quell->Control())
        if (TTransferPortFactory* ports = m_pForm->GetPortFactory())
            ports->AdoptQuellControl(std::make_unique<TQuell32Dispatch>(quell->Control()));
}

TMainDataTransfer::~TMainDataTransfer() {
    // A run the form ends on its way out reports to nobody.
    TMainProgLink::SetResultOwner(*m_pForm, nullptr);
}

void TMainDataTransfer::SetInfoText(const char* text) {
    m_pForm->SetInfoText(text);
}

void TMainDataTransfer::SetTransferData(int mode, std::uint8_t* buffer, std::uint32_t length) {
    m_pForm->SetTransferData(mode, buffer, length);
}

void TMainDataTransfer::SetTeleAnz(std::uint16_t count) {
    m_pForm->SetTeleAnz(count);
}

int TMainDataTransfer::ShowModal() {
    return m_pForm->ShowModal();
}

void TMainDataTransfer::SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) {
    m_pForm->SetTransferBuf(buffer, length);
}

void TMainDataTransfer::SetMoreData(bool more) {
    m_pForm->SetMoreData(more);
}

std::uint32_t TMainDataTransfer::GetBlockLen() const {
    return m_pForm->GetBlockLen();
}

bool TMainDataTransfer::UpdatePort() {
    return m_pForm->UpdatePort();
}

bool TMainDataTransfer::IsConnected() const {
    return m_pForm->IsConnected();
}

std::string TMainDataTransfer::GetConnectionText() const {
    return m_pForm->GetConnectionText();
}

int TMainDataTransfer::Connect(const std::string& number) {
    return m_pForm->Connect(number);
}

void TMainDataTransfer::Disconnect() {
    m_pForm->Disconnect();
}

std::intptr_t TMainDataTransfer::GetConnectionValue() const {
    return m_pForm->GetIsdnInstance();
}

TProgFlags TMainDataTransfer::GetProgFlags() const {
    const TMainProgSnapshot s = TMainProgLink::Read(*m_pForm);
    TProgFlags flags;
    flags.boxProg = s.boxProg;
    flags.tlnProg = s.btlm;
    flags.tlnVideo = s.btlm && s.video;
    flags.bsmProg = s.bsm;
    return flags;
}

std::uint16_t TMainDataTransfer::GetBoxKennziffer() const {
    return TMainProgLink::Read(*m_pForm).kennziffer;
}

void TMainDataTransfer::ResetProgData() {
    TMainProgLink::ResetProgData(*m_pForm);
}

void TMainDataTransfer::OnProgResult(const TProgResult& result) {
    m_Owner.Perform(result.nCode, result.wParam, result.lParam);
}

void TMainDataTransfer::OnTeleReceived() {
    m_pForm->OnTeleReceived();
}

void TMainDataTransfer::CloseTransferForm() {
    m_pForm->CloseTransferForm();
}

void TMainDataTransfer::SetFWFileName(const std::string& name) {
    m_pForm->GetTransferExtension().GetFirmware().SetFWFileName(name);
}

bool TMainDataTransfer::GetFWFileName(std::string& name) const {
    return m_pForm->GetTransferExtension().GetFirmware().GetFWFileName(name);
}
