#pragma once
// The settings the transfer controller reads: the transfer medium.

class ITransferSettings {
public:
    virtual ~ITransferSettings() = default;

    // 0 none, 1..4 bus interface on COM1..COM4, 5..8 direct serial COM1..COM4,
    // 9 ISDN.
    virtual int GetComPort() const = 0;
};
