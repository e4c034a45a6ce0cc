#pragma once
// Where the firmware page keeps the chosen download file between its visits
// and hands it to the download run: the transfer controller's firmware
// part. A controller that offers it implements this beside IMainTransfer;
// the page asks for it by a cast and keeps the file to itself without it.

#include <string>

class IFirmwareFileHolder {
public:
    virtual ~IFirmwareFileHolder() = default;
    // Keeps the file for the next firmware run.
    virtual void SetFWFileName(const std::string& name) = 0;
    // False (name untouched) when none is kept.
    virtual bool GetFWFileName(std::string& name) const = 0;
};
