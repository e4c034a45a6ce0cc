#include "TComPortOwnerMessages.h"

#include "DbgOut.h"
#include "InputWatch.h"
#include "WindowMessages.h"

namespace {

class TComInputWatch : public IComInputWatch {
public:
    TComInputWatch(int fd, std::function<void()> onInput) : m_Watch(fd, std::move(onInput)) {}

private:
    mox::platform::InputWatch m_Watch;
};

} // namespace

std::unique_ptr<IComInputWatch> TComPortOwnerMessages::WatchInput(int fd,
                                                                  std::function<void()> onInput) {
    return std::make_unique<TComInputWatch>(fd, std::move(onInput));
}

void TComPortOwnerMessages::PerformComPortData() {
    m_Form.Perform(COMPORT_DATA, 0, 0);
}

void TComPortOwnerMessages::ShowOpenError() {
    DbgOut(eDbgPort, "<TComPortOwner::ShowOpenError>");
    if (m_ShowOpenError)
        m_ShowOpenError();
}
