#include "TTransferPortFactory.h"

#include "DbgOut.h"
#include "TTkLumenPort.h"

void TTransferPortFactory::AdoptQuellControl(std::unique_ptr<IQuell32Control> control) {
    m_pQuell = control.get();
    // An earlier control may still be driven by a bus port; it goes with
    // the factory.
    if (control)
        m_OwnedControls.push_back(std::move(control));
}

std::unique_ptr<ITransferPort> TTransferPortFactory::CreatePort(eConnectionType type,
                                                                int comPortSetting) {
    switch (type) {
    case eConnectionQuell:
        return CreateLumenPort(comPortSetting);
    case eConnectionV24:
        if (m_CreateComPort)
            return m_CreateComPort(comPortSetting);
        DbgOut(eDbgPort, "<TTransferPortFactory> direct serial port (%d) not available",
               comPortSetting);
        return nullptr;
    case eConnectionCAPI:
        if (m_CreateCapiPort)
            return m_CreateCapiPort(comPortSetting);
        DbgOut(eDbgPort, "<TTransferPortFactory> ISDN port not available");
        return nullptr;
    default:
        return nullptr;
    }
}

std::unique_ptr<ITransferPort> TTransferPortFactory::CreateLumenPort(int comPortSetting) {
    if (!m_pQuell || !m_pLumenOwner) {
        DbgOut(eDbgPort, "<TTransferPortFactory> no bus control: bus port (%d) not built",
               comPortSetting);
        return nullptr;
    }
    return std::make_unique<TTkLumenPort>(*m_pLumenOwner, *m_pQuell, m_Clock, comPortSetting);
}
