#pragma once
// Creates the port object of a link. The program's factory builds the bus
// port on the main window's bus control, the direct serial port and the ISDN
// port; the tests hand out fakes.

#include "ITransferPort.h"

#include <memory>

enum eConnectionType : int {
    eConnectionNone = 0,
    eConnectionV24 = 1,
    eConnectionQuell = 2,
    eConnectionCAPI = 3,
};

class ITransferPortFactory {
public:
    virtual ~ITransferPortFactory() = default;

    // A port for the link; comPortSetting is the transfer-medium setting it
    // was chosen by. nullptr when the link cannot be built at all; a port
    // whose open failed is still returned (IsOpen tells).
    virtual std::unique_ptr<ITransferPort> CreatePort(eConnectionType type, int comPortSetting) = 0;
};
