#pragma once
// The transfer medium and the ISDN numbers as the program keeps them, read
// on every call, so a change in the link dialog is seen by the next
// UpdatePort (or dial) without telling the controller.

#include "ITransferSettings.h"

class TPermTransferSettings : public ITransferSettings {
public:
    int GetComPort() const override;
    std::string GetOwnNumber() const override;
    std::string GetBoxNumber() const override;
};
