#pragma once
// The settings the transfer controller reads: the transfer medium and the
// ISDN numbers.

#include <string>

class ITransferSettings {
public:
    virtual ~ITransferSettings() = default;

    // 0 none, 1..4 bus interface on COM1..COM4, 5..8 direct serial COM1..COM4,
    // 9 ISDN.
    virtual int GetComPort() const = 0;
    // ISDN: the PC's own number (empty when none is set) and the box's
    // number dialled by default (the first remembered one).
    virtual std::string GetOwnNumber() const { return {}; }
    virtual std::string GetBoxNumber() const { return {}; }
};
