#include "TCapiTransferPort.h"

#include "TransferTrace.h"

TCapiTransferPort::TCapiTransferPort(std::unique_ptr<CapiPortOwner> owner, std::string libraryName)
    : m_pOwner(std::move(owner)),
      m_pPort(std::make_unique<CapiPort>(*m_pOwner, std::move(libraryName))) {}

TCapiTransferPort::~TCapiTransferPort() {
    m_pPort.reset();
}

bool TCapiTransferPort::SendDataBlock(const std::uint8_t*, std::uint32_t len) {
    // A block without a call has nowhere to go; the controller sends on its
    // call through GetCapiLink.
    TransferTrace(eTraceCapiPort, "<TCapiTransferPort::SendDataBlock> (%u) without a call", len);
    return false;
}

std::uint32_t TCapiTransferPort::ReceiveDataBlock(std::uint8_t*, std::uint32_t) {
    return 0;
}
