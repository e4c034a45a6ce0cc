#include "TPermTransferSettings.h"

#include "PermSettings.h"

int TPermTransferSettings::GetComPort() const {
    return ::GetComPort();
}

std::string TPermTransferSettings::GetOwnNumber() const {
    std::string number;
    GetPermMSNService(number);
    return number;
}

std::string TPermTransferSettings::GetBoxNumber() const {
    std::string number;
    GetPermMSNClient(0, number);
    return number;
}
