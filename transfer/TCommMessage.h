#pragma once
// One block message of the block protocol with the box, the same on every
// link: channel, command, block number and value word (both high byte
// first), then up to 1024 data bytes. Programming blocks (channel 3) carry
// the programming command at byte 6 and its addresses from byte 7.

#include "TTkDataMsg.h"
#include "TransferDefs.h"

#include <cstdint>
#include <span>

class TCommMessage : public TTkDataMsg {
public:
    // From received bytes; bit 7 of the channel byte is cleared (the box sets
    // it on its answers). More than 1030 bytes, or missing bytes, give an
    // invalid message that holds nothing.
    explicit TCommMessage(std::span<const std::uint8_t> received);
    // Block message without data: 6 bytes, value word 0xFFFF until SetValue.
    TCommMessage(std::uint8_t cmd, std::uint16_t block, std::uint8_t channel);
    // Programming block: 11 bytes, zero-filled.
    TCommMessage(std::uint8_t channel, std::uint8_t cmd, std::uint16_t adr1, std::uint16_t adr2);

    // Key index of a programming block; the block grows to 12 bytes.
    void SetIndex(std::uint8_t index);

    bool SetData(const std::uint8_t* pInfo, std::uint16_t len) override;
    const std::uint8_t* GetData() const override;
    std::uint16_t GetDataLen() const override;
    std::uint8_t GetCmd() const override;
    std::uint16_t GetBlockNumber() const override;
    const std::uint8_t* GetBuffer() const override { return m_abyMsg; }
    std::uint16_t GetLen() const override { return m_wLen; }
    std::uint16_t GetValue() const override;
    bool SetValue(std::uint16_t value) override;
    std::uint8_t GetProgCmd() const override;
    std::uint16_t GetAdrBSG() const override;
    std::uint16_t GetBSGKenniffer() const override;
    std::uint16_t GetAdrBTLM() const override;
    std::uint16_t GetAdrKomBus() const override;
    std::uint16_t GetAdrBSM() const override;
    std::uint8_t GetBSMRelais() const override;
    std::uint8_t GetFehlerMode() const override;
    std::uint8_t GetFehlerTyp() const override;
    const std::uint8_t* GetKBAList(std::uint16_t& len) const override;
    std::uint16_t GetKBACount() const override;
    std::uint8_t GetKBAAnswer() const override;
    std::uint8_t GetProt() const override { return m_abyMsg[0]; }
    bool SetProt(std::uint8_t prot) override;
    bool IsValid() const override { return m_bValid; }

private:
    bool HasData() const { return GetProt() == eProtKonfig || GetProt() == eProtEventLog; }
    bool IsProg() const { return GetProt() == eProtProg; }
    // 16-bit fields read high byte first.
    std::uint16_t Word(int pos) const;

    bool m_bReceived = false;
    bool m_bValid = true;
    std::uint8_t m_abyMsg[MAX_COMM_MSG_LEN];
    std::uint16_t m_wLen = 0;
};
