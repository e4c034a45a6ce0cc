#include "TTransferExtension.h"

#include "TDataTransferEngine.h"

TTransferExtension::TTransferExtension(TDataTransferEngine& engine, ITransferClock& clock)
    : m_TlnProg(engine), m_Firmware(engine, clock) {}

bool TTransferExtension::StartMode(int mode) {
    // A request whose send failed has ended its run already; reporting the
    // start as failed would only queue an empty answer behind that end.
    switch (mode) {
    case eReceiveKBAList:
        m_TlnProg.InitiateProgKBA();
        return true;
    case eReceiveKBACount:
        m_TlnProg.InitiateKBACount();
        return true;
    default:
        return false;
    }
}

void TTransferExtension::OnTransferStart() {
    m_TlnProg.ResetKBA();
    m_Firmware.OnTransferStart();
}
