#pragma once
// One block of the firmware download: device byte (1 the box, 2 the camera
// device), firmware command, block number high byte first, two unused bytes,
// then up to 1024 data bytes.

#include "TTkDataMsg.h"
#include "TransferDefs.h"

#include <cstdint>
#include <span>

class TDownloadMessage : public TTkDataMsg {
public:
    // From received bytes, up to and including a full block of 1030 bytes;
    // bit 7 of the device byte is cleared. Longer or missing bytes give an
    // invalid message that holds nothing.
    explicit TDownloadMessage(std::span<const std::uint8_t> received);
    // Firmware command to the box. Commands without a block number go out as
    // the two bytes device and command.
    TDownloadMessage(std::uint8_t cmd, std::uint16_t block);

    bool SetData(const std::uint8_t* pInfo, std::uint16_t len) override;
    const std::uint8_t* GetData() const override;
    std::uint16_t GetDataLen() const override;
    std::uint8_t GetCmd() const override;
    std::uint16_t GetBlockNumber() const override;
    const std::uint8_t* GetBuffer() const override { return m_abyMsg; }
    std::uint16_t GetLen() const override { return m_wLen; }
    std::uint16_t GetValue() const override { return 0; }
    bool SetValue(std::uint16_t) override { return false; }
    std::uint8_t GetProgCmd() const override { return 0; }
    std::uint16_t GetAdrBSG() const override { return 0; }
    std::uint16_t GetBSGKenniffer() const override { return 0; }
    std::uint16_t GetAdrBTLM() const override { return 0; }
    std::uint16_t GetAdrKomBus() const override { return 0; }
    std::uint16_t GetAdrBSM() const override { return 0; }
    std::uint8_t GetBSMRelais() const override { return 0; }
    std::uint8_t GetFehlerMode() const override { return 0; }
    std::uint8_t GetFehlerTyp() const override { return 0; }
    const std::uint8_t* GetKBAList(std::uint16_t& len) const override;
    std::uint16_t GetKBACount() const override { return 0; }
    std::uint8_t GetKBAAnswer() const override { return 0; }
    std::uint8_t GetProt() const override { return m_abyMsg[0]; }
    bool SetProt(std::uint8_t prot) override;
    bool IsValid() const override { return m_bValid; }

private:
    bool IsDevice() const { return GetProt() == eProtDownload || GetProt() == eProtCamera; }

    bool m_bValid = true;
    std::uint8_t m_abyMsg[MAX_COMM_MSG_LEN];
    std::uint16_t m_wLen = 0;
};
