#include "FormTransfer.h"

#include "TDataTransfer.h"

#include <QTimer>

void FormTransfer::SetInfoText(const char* text) {
    m_Form.SetInfoText(text);
}

void FormTransfer::SetTransferData(int mode, std::uint8_t* buffer, std::uint32_t length) {
    m_Form.SetTransferData(mode, buffer, length);
}

void FormTransfer::SetTeleAnz(std::uint16_t count) {
    m_Form.SetTeleAnz(count);
}

int FormTransfer::ShowModal() {
    if (guard)
        guard->start();
    const int result = m_Form.ShowModal();
    if (guard)
        guard->stop();
    return result;
}

void FormTransfer::SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) {
    m_Form.SetTransferBuf(buffer, length);
}

void FormTransfer::SetMoreData(bool more) {
    m_Form.SetMoreData(more);
}

std::uint32_t FormTransfer::GetBlockLen() const {
    return m_Form.GetBlockLen();
}

bool FormTransfer::UpdatePort() {
    return m_Form.UpdatePort();
}

bool FormTransfer::IsConnected() const {
    return m_Form.IsConnected();
}

std::string FormTransfer::GetConnectionText() const {
    return m_Form.GetConnectionText();
}

void FormTransfer::CloseTransferForm() {
    m_Form.CloseTransferForm();
}
