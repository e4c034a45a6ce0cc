#pragma once
// The transfer medium as the program keeps it: the "Port" value of the
// settings, read on every call, so a change in the link dialog is seen by the
// next UpdatePort without telling the controller.

#include "ITransferSettings.h"

class TPermTransferSettings : public ITransferSettings {
public:
    int GetComPort() const override;
};
