#pragma once
// The program's port factory of the transfer controller.
//
// Bus (settings 1..4): TTkLumenPort on the bus control that the main window
// hosts, handed in either as the window's own IQuell32Control (borrowed) or
// adopted, e.g. a TQuell32Dispatch over the control's dispatch interface.
// Without a bus control or an owner for the port no bus port can be built:
// CreatePort answers nullptr, the controller has no link and a transfer
// fails at its first send.
//
// Direct serial port (settings 5..8) and ISDN (setting 9): built by the
// creator set for them. The transfer form sets both (TTkComPort, and
// TCapiTransferPort over the CapiPort, each reporting to the form); without
// a creator CreatePort answers nullptr ("not available"), which the
// controller treats like a missing link.
//
// GUI thread only. Every bus control the factory was given stays alive as
// long as the factory, so a bus port never outlives the control it drives.

#include "ILumenPortOwner.h"
#include "IQuell32Control.h"
#include "ITransferClock.h"
#include "ITransferPortFactory.h"

#include <functional>
#include <memory>
#include <vector>

class TTransferPortFactory : public ITransferPortFactory {
public:
    // Builds the port of a link from the transfer-medium setting; nullptr
    // when it cannot be built.
    using PortCreator = std::function<std::unique_ptr<ITransferPort>(int comPortSetting)>;

    explicit TTransferPortFactory(ITransferClock& clock) : m_Clock(clock) {}

    // Receives the bus port's messages (the transfer form's adapter).
    void SetLumenOwner(ILumenPortOwner* owner) { m_pLumenOwner = owner; }
    // The bus control, owned by the caller, who keeps it until the
    // controller (and with it every bus port) is gone.
    void SetQuellControl(IQuell32Control* control) { m_pQuell = control; }
    // The same, owned by the factory from now on.
    void AdoptQuellControl(std::unique_ptr<IQuell32Control> control);
    IQuell32Control* GetQuellControl() const { return m_pQuell; }

    // Hooks of the direct serial port and the ISDN port; an empty creator
    // leaves the link unavailable.
    void SetComPortCreator(PortCreator creator) { m_CreateComPort = std::move(creator); }
    void SetCapiPortCreator(PortCreator creator) { m_CreateCapiPort = std::move(creator); }

    std::unique_ptr<ITransferPort> CreatePort(eConnectionType type, int comPortSetting) override;

private:
    std::unique_ptr<ITransferPort> CreateLumenPort(int comPortSetting);

    ITransferClock& m_Clock;
    ILumenPortOwner* m_pLumenOwner = nullptr;
    IQuell32Control* m_pQuell = nullptr;
    std::vector<std::unique_ptr<IQuell32Control>> m_OwnedControls;
    PortCreator m_CreateComPort;
    PortCreator m_CreateCapiPort;
};
