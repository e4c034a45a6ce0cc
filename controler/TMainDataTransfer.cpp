#include "TMainDataTransfer.h"

#include "TDataTransfer.h"
#include "TMoxMain.h"
#include "TQuell32Dispatch.h"
#include "TQuell32Host.h"
#include "TTransferPortFactory.h"

TMainDataTransfer::TMainDataTransfer(TMoxMain& owner, TQuell32Host* quell)
    : m_pForm(std::make_unique<TDataTransfer>(&owner, owner.GetRes())) {
    m_pForm->SetOwnerAddress(owner.Address());
    m_pForm->SetMessageBox(owner.GetMessageBox());
    if (quell && quell->Control())
        if (TTransferPortFactory* ports = m_pForm->GetPortFactory())
            ports->AdoptQuellControl(std::make_unique<TQuell32Dispatch>(quell->Control()));
}

TMainDataTransfer::~TMainDataTransfer() = default;

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
    return {};
}

std::uint16_t TMainDataTransfer::GetBoxKennziffer() const {
    return 0;
}

void TMainDataTransfer::ResetProgData() {}

void TMainDataTransfer::OnTeleReceived() {
    m_pForm->OnTeleReceived();
}

void TMainDataTransfer::CloseTransferForm() {
    m_pForm->CloseTransferForm();
}
