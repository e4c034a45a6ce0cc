#pragma once
// The direct serial port's owner as the transfer form's event loop and
// window messages: the port's input is watched from the form's thread (the
// GUI thread); the notice that a frame is ready is COMPORT_DATA performed on
// the form (it hands it to the controller, which reads the frame). A refused
// open is shown by the form later, never from inside the port's
// construction.

#include "IComPortOwner.h"
#include "MessageAddress.h"

#include <functional>

class TComPortOwnerMessages : public IComPortOwner {
public:
    TComPortOwnerMessages(mox::platform::MessageAddress form, std::function<void()> showOpenError)
        : m_Form(std::move(form)), m_ShowOpenError(std::move(showOpenError)) {}

    std::unique_ptr<IComInputWatch> WatchInput(int fd, std::function<void()> onInput) override;
    void PerformComPortData() override;
    void ShowOpenError() override;

private:
    mox::platform::MessageAddress m_Form;
    std::function<void()> m_ShowOpenError;
};
