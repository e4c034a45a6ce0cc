#include "TPermTransferSettings.h"

#include "PermSettings.h"

int TPermTransferSettings::GetComPort() const {
    return ::GetComPort();
}
