#pragma once
// The control's window as far as the reader's arrival notice goes: the
// target the notice is posted to. Like a window, it may receive a queued
// notice after its control has gone; the control detaches itself when it is
// destroyed and such a late notice is then dropped.
//
// Thread rule: the site posts it from the reader thread (reference counting
// only); OnPosted and Detach run on the GUI thread.

#include "ComInterfaces.h"
#include "ModuleState.h"

#include <cstdint>

namespace quell32 {

class CQuell32Ctrl;

class Quell32NoticeTarget final : public mox::com::IPostTarget {
public:
    // The window message the notice stands for.
    static constexpr uint32_t kWmTeleReceived = 0x0400 + 1; // WM_USER+1

    explicit Quell32NoticeTarget(CQuell32Ctrl* owner) : m_owner(owner) {}
    void Detach() { m_owner = nullptr; }

    mox::com::HRESULT QueryInterface(const mox::com::Guid& iid, void** out) noexcept override;
    uint32_t AddRef() noexcept override { return m_refs.Add(); }
    uint32_t Release() noexcept override;
    void OnPosted(uint32_t message) noexcept override;

private:
    ~Quell32NoticeTarget() = default;

    mox::com::ModuleObjectCount m_alive;
    mox::com::RefCount m_refs;
    CQuell32Ctrl* m_owner;
};

} // namespace quell32
