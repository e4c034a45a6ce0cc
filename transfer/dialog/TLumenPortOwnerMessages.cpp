#include "TLumenPortOwnerMessages.h"

#include "DbgOut.h"
#include "WindowMessages.h"

void TLumenPortOwnerMessages::PerformQuellPortData() {
    m_Form.Perform(QUELLPORT_DATA, 0, 0);
}

void TLumenPortOwnerMessages::PostQuellPortData() {
    if (!m_Form.Post(QUELLPORT_DATA, 0, 0))
        DbgOut(eDbgPort, "<TLumenPortOwner> QUELLPORT_DATA dropped: form gone");
}

void TLumenPortOwnerMessages::PerformKennungRestart() {
    m_Form.Perform(WM_KENNUNG_RESTART, 0, 0);
}

void TLumenPortOwnerMessages::PostPendingTelegrams() {
    if (!m_Form.Post(QUELLPORT_DATA, kQuellPortPending, 0))
        DbgOut(eDbgPort, "<TLumenPortOwner> pending telegrams dropped: form gone");
}

void TLumenPortOwnerMessages::ShowOpenError(std::uint16_t result) {
    DbgOut(eDbgPort, "<TLumenPortOwner::ShowOpenError> OpenPort (0x%04x)", result);
    if (m_ShowOpenError)
        m_ShowOpenError(result);
}
