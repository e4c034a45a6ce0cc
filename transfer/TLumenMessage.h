#pragma once
// One telegram on the installation bus, as the bus control hands it up
// (target, function, transmitter, data) or as the program builds it.
//
// 'C' telegrams carry the block protocol 16 data bytes at a time: byte 3 the
// sub-type, bytes 4..5 the block number, byte 6 the data length, 7..22 the
// data. The PC writes its block numbers low byte first; the box writes its
// own high byte first, and received numbers are read that way.

#include "TTkDataMsg.h"
#include "TransferDefs.h"

#include <cstdint>
#include <span>

class TLumenMessage : public TTkDataMsg {
public:
    enum eKind : std::uint8_t {
        eBuilt = 0,       // built by the program
        eReceived = 1,    // received
        eReceivedProg = 2 // received programming telegram ('/', '9', ':')
    };

    // From received bytes. 26 bytes or more (or missing bytes) give an
    // invalid message that holds nothing.
    explicit TLumenMessage(std::span<const std::uint8_t> received);
    // Frame telegram around an exchange: configuration start or end from the
    // PC to target; 3 bytes. The block number takes no place in it.
    TLumenMessage(eLumenFrame type, std::uint16_t block, std::uint8_t target);
    // 'C' telegram of the given sub-type from the PC to target.
    TLumenMessage(eEvQuell subType, std::uint16_t block, std::uint8_t target);

    bool SetData(const std::uint8_t* pInfo, std::uint16_t len) override;
    const std::uint8_t* GetData() const override;
    std::uint16_t GetDataLen() const override;
    std::uint8_t GetCmd() const override;
    std::uint16_t GetBlockNumber() const override;
    const std::uint8_t* GetBuffer() const override { return m_abyTele; }
    std::uint16_t GetLen() const override { return m_wLen; }
    std::uint16_t GetValue() const override { return 0; }
    bool SetValue(std::uint16_t) override { return false; }
    std::uint8_t GetProgCmd() const override { return m_abyTele[1]; }
    std::uint16_t GetAdrBSG() const override;
    std::uint16_t GetBSGKenniffer() const override;
    std::uint16_t GetAdrBTLM() const override;
    std::uint16_t GetAdrKomBus() const override;
    std::uint16_t GetAdrBSM() const override;
    std::uint8_t GetBSMRelais() const override;
    std::uint8_t GetFehlerMode() const override;
    std::uint8_t GetFehlerTyp() const override;
    const std::uint8_t* GetKBAList(std::uint16_t& len) const override;
    std::uint16_t GetKBACount() const override { return 0; }
    std::uint8_t GetKBAAnswer() const override { return 0; }
    std::uint8_t GetProt() const override { return 0; }
    bool SetProt(std::uint8_t) override { return false; }
    bool IsValid() const override { return m_bValid; }

    eKind GetKind() const { return m_eKind; }
    std::uint8_t GetTarget() const { return m_abyTele[0]; }
    std::uint8_t GetTransmitter() const { return m_abyTele[2]; }

private:
    // Programming getters read their 16-bit fields low byte first.
    std::uint16_t ProgWord(int pos) const;
    bool IsProg() const { return m_eKind == eReceivedProg; }

    eKind m_eKind = eBuilt;
    bool m_bValid = true;
    std::uint8_t m_abyTele[LUMEN_RAW_LEN];
    std::uint16_t m_wLen = 0;
};
