#include "TComPortOwnerMessages.h"

#include "DbgOut.h"
#include "WindowMessages.h"

using mox::platform::WindowMessage;

void TComPortOwnerMessages::PostToGuiThread(std::function<void()> call) {
    if (!m_Form.Post(WindowMessage{COMPORT_DATA, kComPortCall, 0, std::move(call)}))
        DbgOut(eDbgPort, "<TComPortOwner> frame dropped: form gone");
}

void TComPortOwnerMessages::PerformComPortData() {
    m_Form.Perform(COMPORT_DATA, 0, 0);
}

void TComPortOwnerMessages::ShowOpenError() {
    DbgOut(eDbgPort, "<TComPortOwner::ShowOpenError>");
    if (m_ShowOpenError)
        m_ShowOpenError();
}
