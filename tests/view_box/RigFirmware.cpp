#include "RigFirmware.h"

#include "BlockProtocolDefs.h"
#include "FakeClock.h"
#include "TDataTransfer.h"
#include "TDataTransferEngine.h"
#include "TTransferExtension.h"

namespace rigfw {

void SetFileName(TDataTransfer& form, const std::string& name) {
    form.GetTransferExtension().GetFirmware().SetFWFileName(name);
}

bool GetFileName(const TDataTransfer& form, std::string& name) {
    return form.GetTransferExtension().GetFirmware().GetFWFileName(name);
}

void PassStartDelay(TDataTransfer& form, FakeClock& clock) {
    const auto due = form.GetEngine().NextDueMs();
    if (due && *due > clock.now && *due - clock.now <= kFirmwareStartDelayMs)
        clock.now = *due;
}

bool ReadyToStart(const TDataTransfer& form) {
    return form.GetTransferExtension().GetFirmware().GetGroup().downloadBtnEnabled;
}

void Start(TDataTransfer& form) {
    form.GetTransferExtension().GetFirmware().OnFWDownloadStarten();
}

bool Succeeded(const TDataTransfer& form) {
    return form.GetTransferExtension().GetFirmware().IsSuccess();
}

} // namespace rigfw
