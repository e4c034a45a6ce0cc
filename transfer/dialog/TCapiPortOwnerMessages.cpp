#include "TCapiPortOwnerMessages.h"

#include "DbgOut.h"

using mox::platform::WindowMessage;

void TCapiPortOwnerMessages::PostCapiMessage(CapiPortMessage msg) {
    const std::uint32_t id = msg.id;
    const std::intptr_t instance = msg.instance;
    if (!m_Form.Post(WindowMessage{id, instance, m_nPortNumber, std::move(msg)}))
        DbgOut(eDbgCapi, "<TCapiPortOwner> message (%u) dropped: form gone",
               static_cast<unsigned>(id));
}

void TCapiPortOwnerMessages::OnCapiUnavailable(CapiUnavailable why, const std::string& detail) {
    DbgOut(eDbgCapi, "<TCapiPortOwner::OnCapiUnavailable> %s (%s)",
           why == CapiUnavailable::LibraryMissing ? "library missing" : "register failed",
           detail.c_str());
    if (m_OnUnavailable)
        m_OnUnavailable(why, detail);
}
