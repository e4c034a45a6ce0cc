#pragma once
// One CAPI 2.0 message in its byte layout: an 8-byte header (total length,
// application id, command, subcommand, message number; little-endian) and
// the parameters of its command and subcommand. The port builds every
// outgoing message with it and parses every received one into it.
//
// The object either owns a zeroed block of CAPI_MSG_SIZE bytes (Init, Copy,
// ParseCopy) or borrows bytes it was handed (Parse). One pointer per
// parameter points at its field in the bytes and is null when the message
// has no such parameter. Fields are read and written through Get and Set,
// byte by byte, because CAPI packs them without alignment.
//
// Received bytes are never trusted: Parse checks every structure against
// the total length and the total length against the bytes that are really
// there, and refuses the message as a whole when anything does not add up.

#include "CapiDefs.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Size of an owned message block; no message of this program or from the
// library is longer (a longer one is refused by Parse).
inline constexpr std::size_t CAPI_MSG_SIZE = 400;
inline constexpr std::size_t CAPI_HEADER_LEN = 8;

// Every parameter a message of this program may carry.
enum class CapiParam : std::uint8_t {
    // fixed-size
    Controller,
    PLCI,
    NCCI,
    InfoMask,
    CIPMask,
    CIPMask2,
    CIP,
    Reject,
    Data,
    DataLength,
    DataHandle,
    Flags,
    Data64,
    Info,
    Reason,
    ReasonB3,
    InfoNumber,
    FacilitySelector,
    ManuID,
    // structures
    CalledPartyNumber,
    CallingPartyNumber,
    CalledPartySubaddress,
    CallingPartySubaddress,
    BProtocol,
    BC,
    LLC,
    HLC,
    AdditionalInfo,
    ConnectedNumber,
    ConnectedSubaddress,
    NCPI,
    InfoElement,
    FacilityParameter,
    // the manufacturer-specific rest of a MANUFACTURER message
    ManuData,
    Count
};

// Name of a parameter for traces and for the check of a missing parameter.
const char* CapiParamName(CapiParam p);

class CapiMessage {
public:
    CapiMessage() = default;
    ~CapiMessage();

    CapiMessage(const CapiMessage&) = delete;
    CapiMessage& operator=(const CapiMessage&) = delete;

    // Starts an owned message: header with command, subcommand and total
    // length 8, then for a REQ or RESP the fixed-size parameters before its
    // first structure (each gets its pointer and adds its size). Other
    // subcommands get the header only. An unknown command gets the header.
    void Init(std::uint8_t command, std::uint8_t subCommand);

    // Borrows bytes (at most `available` of them are read) and sets the
    // parameter pointers; false for an unknown command and subcommand, a
    // total length outside 8..available or above CAPI_MSG_SIZE, or a
    // parameter or structure that does not fit inside the total length. The
    // bytes must outlive the use of this object. On false the object is
    // empty.
    bool Parse(const std::uint8_t* bytes, std::size_t available);
    // The same on an owned copy of the message's total length.
    bool ParseCopy(const std::uint8_t* bytes, std::size_t available);
    // Owned copy of another message (its total length only), parsed.
    void Copy(const CapiMessage& other);

    bool IsEmpty() const { return m_pbBasePtr == nullptr; }
    const std::uint8_t* Bytes() const { return m_pbBasePtr; }

    // Header.
    std::uint16_t GetTotalLen() const;
    std::uint16_t GetApplID() const;
    void SetApplID(std::uint16_t applId);
    std::uint8_t GetCommand() const;
    std::uint8_t GetSubCommand() const;
    std::uint16_t GetMsgNr() const;
    void SetMsgNr(std::uint16_t msgNr);
    bool Is(std::uint8_t command, std::uint8_t subCommand) const {
        return !IsEmpty() && GetCommand() == command && GetSubCommand() == subCommand;
    }

    // The address dword at offset 8 that every message carries (controller,
    // PLCI or NCCI).
    std::uint32_t GetAddress() const;
    void SetAddress(std::uint32_t address);

    bool Has(CapiParam p) const { return Field(p) != nullptr; }
    // Fixed-size parameters. A parameter the message does not have is a
    // programming error: the program ends with the parameter's name.
    std::uint64_t Get(CapiParam p) const;
    void Set(CapiParam p, std::uint64_t value);
    // A structure's content (without its length byte or bytes). Empty when
    // the structure is empty; the parameter must exist.
    std::span<const std::uint8_t> GetStruct(CapiParam p) const;

    // Data pointer of a DATA_B3 message: Data64 on a 64-bit build (the
    // 32-bit field is then 0), the 32-bit Data field otherwise.
    const std::uint8_t* GetDataPointer() const;
    void SetDataPointer(const void* data);

    // Appenders: each adds its bytes at the write position and to the total
    // length; false (and nothing written) when the block is full or the
    // message is not owned.
    bool AppendByte(std::uint8_t b);
    bool AppendWord(std::uint16_t w);
    bool AppendDword(std::uint32_t d);
    bool AppendBytes(const std::uint8_t* bytes, std::size_t n);
    bool AppendEmptyStruct();
    // Length byte and content; an empty structure when bytes is null or n 0.
    // A structure of 255 bytes or more takes the escaped length 0xFF, word.
    bool AppendStruct(const std::uint8_t* bytes, std::size_t n);
    // Length 9, B1, B2, B3 protocol words, three empty configurations.
    bool AppendBProtocol(std::uint16_t b1, std::uint16_t b2, std::uint16_t b3);
    // Called party number: length n+1, type 0x80, the digits; at least one
    // digit is required (false otherwise).
    bool AppendCalledPartyNumber(const char* digits);
    // Called or connected number or subaddress: the same form, or an empty
    // structure when there are no digits.
    bool AppendNumber(const char* digits);
    // Calling party number: length n+2, the type byte (0x00 unless the
    // caller's record says otherwise), presentation 0x80 (allowed) or 0xA0
    // (restricted), the digits; an empty structure without digits.
    bool AppendCallingPartyNumber(const char* digits, bool restricted, std::uint8_t type = 0x00);

    // Trace text: " 0x%02X" per byte, DATA_B3 messages led by their data
    // length.
    std::string Dump() const;

    static const char* CommandName(std::uint8_t command);
    static const char* SubCommandName(std::uint8_t subCommand);

private:
    void Clear();
    std::uint8_t* Field(CapiParam p) const;
    std::uint8_t*& FieldRef(CapiParam p);
    void SetTotalLen(std::uint16_t len);
    bool Layout(std::size_t available, bool fixedOnly);
    bool CanAppend(std::size_t n) const;
    std::uint8_t* NeedField(CapiParam p) const;

    std::uint8_t* m_pbBasePtr = nullptr;
    bool m_bOwned = false;
    std::uint16_t m_wWritePos = 0;

    // Header fields.
    std::uint8_t* m_pwTotalLen = nullptr;
    std::uint8_t* m_pwApplID = nullptr;
    std::uint8_t* m_pbCommand = nullptr;
    std::uint8_t* m_pbSubCommand = nullptr;
    std::uint8_t* m_pwMsgNr = nullptr;
    // Parameters (FieldRef maps a CapiParam to its pointer).
    std::uint8_t* m_pdwController = nullptr;
    std::uint8_t* m_pdwPLCI = nullptr;
    std::uint8_t* m_pdwNCCI = nullptr;
    std::uint8_t* m_pdwInfoMask = nullptr;
    std::uint8_t* m_pdwCIPMask = nullptr;
    std::uint8_t* m_pdwCIPMask2 = nullptr;
    std::uint8_t* m_pwCIP = nullptr;
    std::uint8_t* m_pwReject = nullptr;
    std::uint8_t* m_pdwData = nullptr;
    std::uint8_t* m_pwDataLength = nullptr;
    std::uint8_t* m_pwDataHandle = nullptr;
    std::uint8_t* m_pwFlags = nullptr;
    std::uint8_t* m_pqwData64 = nullptr;
    std::uint8_t* m_pwInfo = nullptr;
    std::uint8_t* m_pwReason = nullptr;
    std::uint8_t* m_pwReasonB3 = nullptr;
    std::uint8_t* m_pwInfoNumber = nullptr;
    std::uint8_t* m_pwFacilitySelector = nullptr;
    std::uint8_t* m_pdwManuID = nullptr;
    std::uint8_t* m_pbCalledPartyNumber = nullptr;
    std::uint8_t* m_pbCallingPartyNumber = nullptr;
    std::uint8_t* m_pbCalledPartySubaddress = nullptr;
    std::uint8_t* m_pbCallingPartySubaddress = nullptr;
    std::uint8_t* m_pbBProtocol = nullptr;
    std::uint8_t* m_pbBC = nullptr;
    std::uint8_t* m_pbLLC = nullptr;
    std::uint8_t* m_pbHLC = nullptr;
    std::uint8_t* m_pbAdditionalInfo = nullptr;
    std::uint8_t* m_pbConnectedNumber = nullptr;
    std::uint8_t* m_pbConnectedSubaddress = nullptr;
    std::uint8_t* m_pbNCPI = nullptr;
    std::uint8_t* m_pbInfoElement = nullptr;
    std::uint8_t* m_pbFacilityParameter = nullptr;
    std::uint8_t* m_pbManuData = nullptr;
};
