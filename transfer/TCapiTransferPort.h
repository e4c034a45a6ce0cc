#pragma once
// The ISDN port as one of the transfer controller's ports: owns the CapiPort
// (and the owner adapter its reports go to) and offers the port's call
// operations through GetCapiLink. Blocks travel on the call the controller
// holds (TIsdnLink), and received blocks arrive as posted values, so the
// block calls of ITransferPort carry nothing here.

#include "CapiPort.h"
#include "CapiPortOwner.h"
#include "ICapiLinkPort.h"
#include "ITransferPort.h"

#include <memory>
#include <string>

class TCapiTransferPort final : public ITransferPort, public ICapiLinkPort {
public:
    // Loads libraryName and registers; when CAPI is not usable the owner is
    // told once and every operation returns -3.
    TCapiTransferPort(std::unique_ptr<CapiPortOwner> owner, std::string libraryName);
    // Stops the receive thread and releases CAPI, which clears any call
    // still up; the owner goes after the port, so no report reaches a
    // destroyed one.
    ~TCapiTransferPort() override;

    TCapiTransferPort(const TCapiTransferPort&) = delete;
    TCapiTransferPort& operator=(const TCapiTransferPort&) = delete;

    // ---- ITransferPort ----
    bool IsOpen() const override { return m_pPort->IsRegistered(); }
    bool SendDataBlock(const std::uint8_t* data, std::uint32_t len) override;
    std::uint32_t ReceiveDataBlock(std::uint8_t* dest, std::uint32_t size) override;
    ICapiLinkPort* GetCapiLink() override { return this; }

    // ---- ICapiLinkPort ----
    int Connect(const CapiCallInfo& info) override { return m_pPort->Connect(info); }
    int Listen(const CapiCallInfo& info) override { return m_pPort->Listen(info); }
    int SendData(int instance, std::uint32_t len, const std::uint8_t* data) override {
        return m_pPort->SendData(instance, len, data);
    }
    int Disconnect(int instance) override { return m_pPort->Disconnect(instance); }
    bool IsDataPhase(int instance) override { return m_pPort->IsDataPhase(instance); }

    CapiPort& GetCapiPort() { return *m_pPort; }

private:
    std::unique_ptr<CapiPortOwner> m_pOwner; // outlives m_pPort
    std::unique_ptr<CapiPort> m_pPort;
};
