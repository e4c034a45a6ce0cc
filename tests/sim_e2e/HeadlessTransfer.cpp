#include "HeadlessTransfer.h"

#include "TMoxDocument.h"

HeadlessTransfer::HeadlessTransfer(BusRig& rig) : m_Rig(rig) {
    m_Rig.Engine().SetOwner(this);
    m_Rig.Engine().SetView(this);
}

HeadlessTransfer::~HeadlessTransfer() {
    m_Rig.Engine().SetOwner(nullptr);
    m_Rig.Engine().SetView(nullptr);
}

void HeadlessTransfer::SetTransferData(int mode, std::uint8_t* buffer, std::uint32_t length) {
    m_nMode = mode;
    m_pBuffer = buffer;
    m_Rig.Engine().SetTransferData(mode, buffer, length);
}

void HeadlessTransfer::SetTeleAnz(std::uint16_t count) {
    m_Rig.Engine().SetTeleAnz(count);
}

void HeadlessTransfer::SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) {
    m_Rig.Engine().SetTransferBuf(buffer, length);
}

void HeadlessTransfer::SetMoreData(bool more) {
    m_Rig.Engine().SetMoreData(more);
}

int HeadlessTransfer::ShowModal() {
    TDataTransferEngine& engine = m_Rig.Engine();
    m_bClosed = false;
    timedOut = false;
    lastReceived.clear();
    engine.StartTransfer();
    if (!m_Rig.RunUntil([this] { return m_bClosed; }, limitMs, onTurn)) {
        timedOut = true;
        engine.CancelNow();
    }
    if (m_nMode != eSendAnlDaten && m_pBuffer)
        lastReceived.assign(m_pBuffer, m_pBuffer + engine.GetReceivedLen());
    return engine.GetModalResult();
}

void HeadlessTransfer::OnNeedTransferData() {
    ++needCalls;
    if (m_pDoc) {
        m_pDoc->OnNeedTransferData();
        return;
    }
    ++m_nPackage;
    if (m_nPackage < m_Packages.size())
        SetTransferBuf(m_Packages[m_nPackage].data(),
                       static_cast<std::uint32_t>(m_Packages[m_nPackage].size()));
    else
        SetTransferBuf(nullptr, 0);
}

void HeadlessTransfer::OnMoreTransferData() {
    if (m_pDoc)
        m_pDoc->MoreAnlDataToComPort();
    else
        SetMoreData(m_nPackage + 1 < m_Packages.size());
}

int HeadlessTransfer::Run(int mode, std::uint8_t* buffer, std::uint32_t length) {
    SetTransferData(mode, buffer, length);
    return ShowModal();
}

int HeadlessTransfer::Send(const std::vector<std::vector<std::uint8_t>>& packages) {
    m_Packages = packages;
    m_nPackage = 0;
    if (m_Packages.empty())
        return Run(eSendAnlDaten, nullptr, 0);
    SetTeleAnz(static_cast<std::uint16_t>(m_Packages.size()));
    return Run(eSendAnlDaten, m_Packages[0].data(), static_cast<std::uint32_t>(m_Packages[0].size()));
}
