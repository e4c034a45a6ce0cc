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

namespace {

const char* UnavailableName(CapiUnavailable why) {
    switch (why) {
    case CapiUnavailable::LibraryMissing:
        return "library missing";
    case CapiUnavailable::RegisterFailed:
        return "register failed";
    case CapiUnavailable::ThreadFailed:
        return "thread failed";
    }
    return "?";
}

} // namespace

void TCapiPortOwnerMessages::OnCapiUnavailable(CapiUnavailable why, const std::string& library,
                                               unsigned info) {
    DbgOut(eDbgCapi, "<TCapiPortOwner::OnCapiUnavailable> %s (%s) info(0x%04X)",
           UnavailableName(why), library.c_str(), info);
    if (m_OnUnavailable)
        m_OnUnavailable(why, library, info);
}
