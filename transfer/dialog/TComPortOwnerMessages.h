#pragma once
// The direct serial port's owner as window messages to the transfer form: a
// frame's call from the reader thread is COMPORT_DATA posted with wParam
// kComPortCall and the call as the value (the form runs it); the notice that
// the frame is ready is COMPORT_DATA performed with wParam 0 (the form hands
// it to the controller, which reads the frame). A refused open is shown by
// the form later, never from inside the port's construction.

#include "IComPortOwner.h"
#include "MessageAddress.h"

#include <cstdint>
#include <functional>

class TComPortOwnerMessages : public IComPortOwner {
public:
    // wParam of COMPORT_DATA for a posted call of the port.
    static constexpr std::intptr_t kComPortCall = 1;

    TComPortOwnerMessages(mox::platform::MessageAddress form, std::function<void()> showOpenError)
        : m_Form(std::move(form)), m_ShowOpenError(std::move(showOpenError)) {}

    void PostToGuiThread(std::function<void()> call) override;
    void PerformComPortData() override;
    void ShowOpenError() override;

private:
    mox::platform::MessageAddress m_Form;
    std::function<void()> m_ShowOpenError;
};
