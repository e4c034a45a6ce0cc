#pragma once
// One interface over the three wire units of the transfer: a bus telegram
// (TLumenMessage), a block message (TCommMessage) and a firmware block
// (TDownloadMessage). Each holds its raw bytes; the getters decode the fields
// from them, so a message built from received bytes and one built by the
// program answer the same questions. A getter never fails: a field that does
// not belong to the message's kind, channel or command answers 0, null or
// 255, and no getter reaches past the bytes the message holds.

#include <cstdint>

class TTkDataMsg {
public:
    virtual ~TTkDataMsg() = default;

    // Copies a data part into a message the program builds. False (nothing
    // changed) when the message takes no data or the part is too long.
    virtual bool SetData(const std::uint8_t* pInfo, std::uint16_t len) = 0;
    virtual const std::uint8_t* GetData() const = 0;
    virtual std::uint16_t GetDataLen() const = 0;
    virtual std::uint8_t GetCmd() const = 0;
    virtual std::uint16_t GetBlockNumber() const = 0;
    virtual const std::uint8_t* GetBuffer() const = 0;
    virtual std::uint16_t GetLen() const = 0;
    virtual std::uint16_t GetValue() const = 0;
    virtual bool SetValue(std::uint16_t value) = 0;
    virtual std::uint8_t GetProgCmd() const = 0;
    virtual std::uint16_t GetAdrBSG() const = 0;
    virtual std::uint16_t GetBSGKenniffer() const = 0;
    virtual std::uint16_t GetAdrBTLM() const = 0;
    virtual std::uint16_t GetAdrKomBus() const = 0;
    virtual std::uint16_t GetAdrBSM() const = 0;
    virtual std::uint8_t GetBSMRelais() const = 0;
    virtual std::uint8_t GetFehlerMode() const = 0;
    virtual std::uint8_t GetFehlerTyp() const = 0;
    // Free-address list and its byte length (0 and nullptr when none).
    virtual const std::uint8_t* GetKBAList(std::uint16_t& len) const = 0;
    virtual std::uint16_t GetKBACount() const = 0;
    virtual std::uint8_t GetKBAAnswer() const = 0;
    virtual std::uint8_t GetProt() const = 0;
    virtual bool SetProt(std::uint8_t prot) = 0;
    // Hex dump of the raw bytes on the tdump trace channel.
    virtual void Dump() const;

    // False for received bytes that cannot be a message of this kind (longer
    // than the kind's raw capacity, or missing). Such a message holds no
    // bytes; callers drop it.
    virtual bool IsValid() const = 0;
};
