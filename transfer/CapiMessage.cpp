#include "CapiMessage.h"

#include "TransferTrace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

using P = CapiParam;

// How the address dword of a message is meant. FACILITY and INFO messages
// address a controller, a PLCI or an NCCI: which one the value tells.
enum class Addr : std::uint8_t { Controller, PLCI, NCCI, ByValue };

struct MsgLayout {
    std::uint8_t command;
    std::uint8_t subCommand;
    Addr addr;
    std::initializer_list<CapiParam> params; // after the address dword
};

// Parameter lists as CAPI 2.0 defines them. Data64 closes both DATA_B3
// messages and is optional: a 32-bit peer leaves it out.
const MsgLayout kLayouts[] = {
    {eCapiAlert, eCapiReq, Addr::PLCI, {P::AdditionalInfo}},
    {eCapiAlert, eCapiConf, Addr::PLCI, {P::Info}},
    {eCapiConnect,
     eCapiReq,
     Addr::Controller,
     {P::CIP, P::CalledPartyNumber, P::CallingPartyNumber, P::CalledPartySubaddress,
      P::CallingPartySubaddress, P::BProtocol, P::BC, P::LLC, P::HLC, P::AdditionalInfo}},
    {eCapiConnect, eCapiConf, Addr::PLCI, {P::Info}},
    {eCapiConnect,
     eCapiInd,
     Addr::PLCI,
     {P::CIP, P::CalledPartyNumber, P::CallingPartyNumber, P::CalledPartySubaddress,
      P::CallingPartySubaddress, P::BC, P::LLC, P::HLC, P::AdditionalInfo}},
    {eCapiConnect,
     eCapiResp,
     Addr::PLCI,
     {P::Reject, P::BProtocol, P::ConnectedNumber, P::ConnectedSubaddress, P::LLC,
      P::AdditionalInfo}},
    {eCapiConnectActive,
     eCapiInd,
     Addr::PLCI,
     {P::ConnectedNumber, P::ConnectedSubaddress, P::LLC}},
    {eCapiConnectActive, eCapiResp, Addr::PLCI, {}},
    {eCapiDisconnect, eCapiReq, Addr::PLCI, {P::AdditionalInfo}},
    {eCapiDisconnect, eCapiConf, Addr::PLCI, {P::Info}},
    {eCapiDisconnect, eCapiInd, Addr::PLCI, {P::Reason}},
    {eCapiDisconnect, eCapiResp, Addr::PLCI, {}},
    {eCapiListen,
     eCapiReq,
     Addr::Controller,
     {P::InfoMask, P::CIPMask, P::CIPMask2, P::CallingPartyNumber, P::CallingPartySubaddress}},
    {eCapiListen, eCapiConf, Addr::Controller, {P::Info}},
    {eCapiInfo, eCapiReq, Addr::ByValue, {P::CalledPartyNumber, P::AdditionalInfo}},
    {eCapiInfo, eCapiConf, Addr::ByValue, {P::Info}},
    {eCapiInfo, eCapiInd, Addr::ByValue, {P::InfoNumber, P::InfoElement}},
    {eCapiInfo, eCapiResp, Addr::ByValue, {}},
    {eCapiSelectBProtocol, eCapiReq, Addr::PLCI, {P::BProtocol}},
    {eCapiSelectBProtocol, eCapiConf, Addr::PLCI, {P::Info}},
    {eCapiFacility, eCapiReq, Addr::ByValue, {P::FacilitySelector, P::FacilityParameter}},
    {eCapiFacility, eCapiConf, Addr::ByValue, {P::Info, P::FacilitySelector, P::FacilityParameter}},
    {eCapiFacility, eCapiInd, Addr::ByValue, {P::FacilitySelector, P::FacilityParameter}},
    {eCapiFacility, eCapiResp, Addr::ByValue, {P::FacilitySelector, P::FacilityParameter}},
    {eCapiConnectB3, eCapiReq, Addr::PLCI, {P::NCPI}},
    {eCapiConnectB3, eCapiConf, Addr::NCCI, {P::Info}},
    {eCapiConnectB3, eCapiInd, Addr::NCCI, {P::NCPI}},
    {eCapiConnectB3, eCapiResp, Addr::NCCI, {P::Reject, P::NCPI}},
    {eCapiConnectB3Active, eCapiInd, Addr::NCCI, {P::NCPI}},
    {eCapiConnectB3Active, eCapiResp, Addr::NCCI, {}},
    {eCapiConnectB3T90Active, eCapiInd, Addr::NCCI, {P::NCPI}},
    {eCapiConnectB3T90Active, eCapiResp, Addr::NCCI, {}},
    {eCapiDisconnectB3, eCapiReq, Addr::NCCI, {P::NCPI}},
    {eCapiDisconnectB3, eCapiConf, Addr::NCCI, {P::Info}},
    {eCapiDisconnectB3, eCapiInd, Addr::NCCI, {P::ReasonB3, P::NCPI}},
    {eCapiDisconnectB3, eCapiResp, Addr::NCCI, {}},
    {eCapiDataB3,
     eCapiReq,
     Addr::NCCI,
     {P::Data, P::DataLength, P::DataHandle, P::Flags, P::Data64}},
    {eCapiDataB3, eCapiConf, Addr::NCCI, {P::DataHandle, P::Info}},
    {eCapiDataB3,
     eCapiInd,
     Addr::NCCI,
     {P::Data, P::DataLength, P::DataHandle, P::Flags, P::Data64}},
    {eCapiDataB3, eCapiResp, Addr::NCCI, {P::DataHandle}},
    {eCapiResetB3, eCapiReq, Addr::NCCI, {P::NCPI}},
    {eCapiResetB3, eCapiConf, Addr::NCCI, {P::Info}},
    {eCapiResetB3, eCapiInd, Addr::NCCI, {P::NCPI}},
    {eCapiResetB3, eCapiResp, Addr::NCCI, {}},
    {eCapiManufacturer, eCapiReq, Addr::Controller, {P::ManuID, P::ManuData}},
    {eCapiManufacturer, eCapiConf, Addr::Controller, {P::ManuID, P::ManuData}},
    {eCapiManufacturer, eCapiInd, Addr::Controller, {P::ManuID, P::ManuData}},
    {eCapiManufacturer, eCapiResp, Addr::Controller, {P::ManuID, P::ManuData}},
};

const MsgLayout* FindLayout(std::uint8_t command, std::uint8_t subCommand) {
    for (const MsgLayout& l : kLayouts)
        if (l.command == command && l.subCommand == subCommand)
            return &l;
    return nullptr;
}

// Byte size of a fixed parameter; 0 for a structure or the manufacturer rest.
std::size_t FixedSize(CapiParam p) {
    switch (p) {
    case P::Controller:
    case P::PLCI:
    case P::NCCI:
    case P::InfoMask:
    case P::CIPMask:
    case P::CIPMask2:
    case P::Data:
    case P::ManuID:
        return 4;
    case P::Data64:
        return 8;
    case P::CIP:
    case P::Reject:
    case P::DataLength:
    case P::DataHandle:
    case P::Flags:
    case P::Info:
    case P::Reason:
    case P::ReasonB3:
    case P::InfoNumber:
    case P::FacilitySelector:
        return 2;
    default:
        return 0;
    }
}

// The address of a FACILITY or INFO message: an NCCI has its upper word set,
// a PLCI its second byte, a controller neither.
CapiParam AddressParam(Addr addr, std::uint32_t value) {
    switch (addr) {
    case Addr::Controller:
        return P::Controller;
    case Addr::PLCI:
        return P::PLCI;
    case Addr::NCCI:
        return P::NCCI;
    case Addr::ByValue:
        break;
    }
    if (value & 0xFFFF0000u)
        return P::NCCI;
    if (value & 0x0000FF00u)
        return P::PLCI;
    return P::Controller;
}

std::uint64_t ReadLE(const std::uint8_t* p, std::size_t n) {
    std::uint64_t v = 0;
    for (std::size_t i = n; i-- > 0;)
        v = (v << 8) | p[i];
    return v;
}

void WriteLE(std::uint8_t* p, std::size_t n, std::uint64_t v) {
    for (std::size_t i = 0; i < n; ++i, v >>= 8)
        p[i] = static_cast<std::uint8_t>(v & 0xFF);
}

// Struct header: 1 byte, or 0xFF and a length word for 255 bytes and more.
// Returns false when the header itself does not fit in `room` bytes.
bool StructHeader(const std::uint8_t* p, std::size_t room, std::size_t& hdr, std::size_t& len) {
    if (room < 1)
        return false;
    if (p[0] != 0xFF) {
        hdr = 1;
        len = p[0];
        return true;
    }
    if (room < 3)
        return false;
    hdr = 3;
    len = static_cast<std::size_t>(p[1]) | (static_cast<std::size_t>(p[2]) << 8);
    return true;
}

// A handler asked for a parameter its message does not carry: a programming
// error, never a matter of received bytes (Parse refuses those first).
[[noreturn]] void MissingParameter(const char* name) {
    TransferTrace(255, "<CapiMessage> no parameter %s", name);
    std::abort();
}

std::size_t DigitCount(const char* digits) {
    return digits ? std::strlen(digits) : 0;
}

} // namespace

const char* CapiParamName(CapiParam p) {
    switch (p) {
    case P::Controller:
        return "m_pdwController";
    case P::PLCI:
        return "m_pdwPLCI";
    case P::NCCI:
        return "m_pdwNCCI";
    case P::InfoMask:
        return "m_pdwInfoMask";
    case P::CIPMask:
        return "m_pdwCIPMask";
    case P::CIPMask2:
        return "m_pdwCIPMask2";
    case P::CIP:
        return "m_pwCIP";
    case P::Reject:
        return "m_pwReject";
    case P::Data:
        return "m_pdwData";
    case P::DataLength:
        return "m_pwDataLength";
    case P::DataHandle:
        return "m_pwDataHandle";
    case P::Flags:
        return "m_pwFlags";
    case P::Data64:
        return "m_pqwData64";
    case P::Info:
        return "m_pwInfo";
    case P::Reason:
        return "m_pwReason";
    case P::ReasonB3:
        return "m_pwReasonB3";
    case P::InfoNumber:
        return "m_pwInfoNumber";
    case P::FacilitySelector:
        return "m_pwFacilitySelector";
    case P::ManuID:
        return "m_pdwManuID";
    case P::CalledPartyNumber:
        return "m_pbCalledPartyNumber";
    case P::CallingPartyNumber:
        return "m_pbCallingPartyNumber";
    case P::CalledPartySubaddress:
        return "m_pbCalledPartySubaddress";
    case P::CallingPartySubaddress:
        return "m_pbCallingPartySubaddress";
    case P::BProtocol:
        return "m_pbBProtocol";
    case P::BC:
        return "m_pbBC";
    case P::LLC:
        return "m_pbLLC";
    case P::HLC:
        return "m_pbHLC";
    case P::AdditionalInfo:
        return "m_pbAdditionalInfo";
    case P::ConnectedNumber:
        return "m_pbConnectedNumber";
    case P::ConnectedSubaddress:
        return "m_pbConnectedSubaddress";
    case P::NCPI:
        return "m_pbNCPI";
    case P::InfoElement:
        return "m_pbInfoElement";
    case P::FacilityParameter:
        return "m_pbFacilityParameter";
    case P::ManuData:
        return "m_pbManuData";
    case P::Count:
        break;
    }
    return "?";
}

CapiMessage::~CapiMessage() {
    Clear();
}

void CapiMessage::Clear() {
    if (m_bOwned)
        delete[] m_pbBasePtr;
    m_pbBasePtr = nullptr;
    m_bOwned = false;
    m_wWritePos = 0;
    m_pwTotalLen = m_pwApplID = m_pbCommand = m_pbSubCommand = m_pwMsgNr = nullptr;
    for (std::size_t i = 0; i < static_cast<std::size_t>(CapiParam::Count); ++i)
        FieldRef(static_cast<CapiParam>(i)) = nullptr;
}

std::uint8_t*& CapiMessage::FieldRef(CapiParam p) {
    switch (p) {
    case P::Controller:
        return m_pdwController;
    case P::PLCI:
        return m_pdwPLCI;
    case P::NCCI:
        return m_pdwNCCI;
    case P::InfoMask:
        return m_pdwInfoMask;
    case P::CIPMask:
        return m_pdwCIPMask;
    case P::CIPMask2:
        return m_pdwCIPMask2;
    case P::CIP:
        return m_pwCIP;
    case P::Reject:
        return m_pwReject;
    case P::Data:
        return m_pdwData;
    case P::DataLength:
        return m_pwDataLength;
    case P::DataHandle:
        return m_pwDataHandle;
    case P::Flags:
        return m_pwFlags;
    case P::Data64:
        return m_pqwData64;
    case P::Info:
        return m_pwInfo;
    case P::Reason:
        return m_pwReason;
    case P::ReasonB3:
        return m_pwReasonB3;
    case P::InfoNumber:
        return m_pwInfoNumber;
    case P::FacilitySelector:
        return m_pwFacilitySelector;
    case P::ManuID:
        return m_pdwManuID;
    case P::CalledPartyNumber:
        return m_pbCalledPartyNumber;
    case P::CallingPartyNumber:
        return m_pbCallingPartyNumber;
    case P::CalledPartySubaddress:
        return m_pbCalledPartySubaddress;
    case P::CallingPartySubaddress:
        return m_pbCallingPartySubaddress;
    case P::BProtocol:
        return m_pbBProtocol;
    case P::BC:
        return m_pbBC;
    case P::LLC:
        return m_pbLLC;
    case P::HLC:
        return m_pbHLC;
    case P::AdditionalInfo:
        return m_pbAdditionalInfo;
    case P::ConnectedNumber:
        return m_pbConnectedNumber;
    case P::ConnectedSubaddress:
        return m_pbConnectedSubaddress;
    case P::NCPI:
        return m_pbNCPI;
    case P::InfoElement:
        return m_pbInfoElement;
    case P::FacilityParameter:
        return m_pbFacilityParameter;
    case P::ManuData:
        return m_pbManuData;
    case P::Count:
        break;
    }
    MissingParameter("?");
}

std::uint8_t* CapiMessage::Field(CapiParam p) const {
    return const_cast<CapiMessage*>(this)->FieldRef(p);
}

std::uint8_t* CapiMessage::NeedField(CapiParam p) const {
    std::uint8_t* f = Field(p);
    if (!f)
        MissingParameter(CapiParamName(p));
    return f;
}

void CapiMessage::Init(std::uint8_t command, std::uint8_t subCommand) {
    Clear();
    m_pbBasePtr = new std::uint8_t[CAPI_MSG_SIZE]();
    m_bOwned = true;
    m_pbBasePtr[4] = command;
    m_pbBasePtr[5] = subCommand;
    WriteLE(m_pbBasePtr, 2, CAPI_HEADER_LEN);
    m_pwTotalLen = m_pbBasePtr;
    m_pwApplID = m_pbBasePtr + 2;
    m_pbCommand = m_pbBasePtr + 4;
    m_pbSubCommand = m_pbBasePtr + 5;
    m_pwMsgNr = m_pbBasePtr + 6;
    m_wWritePos = CAPI_HEADER_LEN;
    if (subCommand == eCapiReq || subCommand == eCapiResp)
        Layout(CAPI_MSG_SIZE, true);
}

bool CapiMessage::Parse(const std::uint8_t* bytes, std::size_t available) {
    Clear();
    if (!bytes || available < CAPI_HEADER_LEN)
        return false;
    m_pbBasePtr = const_cast<std::uint8_t*>(bytes);
    m_pwTotalLen = m_pbBasePtr;
    m_pwApplID = m_pbBasePtr + 2;
    m_pbCommand = m_pbBasePtr + 4;
    m_pbSubCommand = m_pbBasePtr + 5;
    m_pwMsgNr = m_pbBasePtr + 6;
    const std::size_t total = GetTotalLen();
    if (total < CAPI_HEADER_LEN || total > available || total > CAPI_MSG_SIZE ||
        !Layout(total, false)) {
        Clear();
        return false;
    }
    m_wWritePos = static_cast<std::uint16_t>(total);
    return true;
}

bool CapiMessage::ParseCopy(const std::uint8_t* bytes, std::size_t available) {
    Clear();
    if (!bytes || available < CAPI_HEADER_LEN)
        return false;
    const std::size_t total = static_cast<std::size_t>(ReadLE(bytes, 2));
    if (total < CAPI_HEADER_LEN || total > available || total > CAPI_MSG_SIZE)
        return false;
    auto* own = new std::uint8_t[CAPI_MSG_SIZE]();
    std::memcpy(own, bytes, total);
    if (!Parse(own, total)) {
        delete[] own;
        return false;
    }
    m_bOwned = true;
    return true;
}

void CapiMessage::Copy(const CapiMessage& other) {
    if (&other == this)
        return;
    if (other.IsEmpty()) {
        Clear();
        return;
    }
    ParseCopy(other.m_pbBasePtr, other.GetTotalLen());
}

// Walks the parameter list of the message's command and subcommand from
// offset 8 and sets each pointer. With fixedOnly (Init) it stops before the
// first structure and grows the total length by each fixed field; otherwise
// every field must lie inside `limit` bytes.
bool CapiMessage::Layout(std::size_t limit, bool fixedOnly) {
    const MsgLayout* layout = FindLayout(GetCommand(), GetSubCommand());
    if (!layout)
        return fixedOnly;
    std::size_t pos = CAPI_HEADER_LEN;
    if (pos + 4 > limit)
        return false;
    const CapiParam addr = AddressParam(
        layout->addr, fixedOnly ? 0u : static_cast<std::uint32_t>(ReadLE(m_pbBasePtr + pos, 4)));
    FieldRef(addr) = m_pbBasePtr + pos;
    pos += 4;
    for (CapiParam p : layout->params) {
        const std::size_t fixed = FixedSize(p);
        if (fixed) {
            if (p == P::Data64) {
                // Only a 64-bit build sends it; a received one may lack it.
                if (fixedOnly && sizeof(void*) < 8)
                    break;
                if (!fixedOnly && pos == limit)
                    break;
            }
            if (pos + fixed > limit)
                return false;
            FieldRef(p) = m_pbBasePtr + pos;
            pos += fixed;
            continue;
        }
        if (fixedOnly)
            break;
        if (p == P::ManuData) {
            FieldRef(p) = m_pbBasePtr + pos;
            pos = limit;
            continue;
        }
        std::size_t hdr = 0, len = 0;
        if (!StructHeader(m_pbBasePtr + pos, limit - pos, hdr, len) || len > limit - pos - hdr)
            return false;
        FieldRef(p) = m_pbBasePtr + pos;
        pos += hdr + len;
    }
    if (fixedOnly) {
        SetTotalLen(static_cast<std::uint16_t>(pos));
        m_wWritePos = static_cast<std::uint16_t>(pos);
    }
    // Bytes after the last known parameter belong to a later CAPI edition
    // and are ignored.
    return true;
}

std::uint16_t CapiMessage::GetTotalLen() const {
    return m_pwTotalLen ? static_cast<std::uint16_t>(ReadLE(m_pwTotalLen, 2)) : 0;
}

void CapiMessage::SetTotalLen(std::uint16_t len) {
    WriteLE(m_pwTotalLen, 2, len);
}

std::uint16_t CapiMessage::GetApplID() const {
    return m_pwApplID ? static_cast<std::uint16_t>(ReadLE(m_pwApplID, 2)) : 0;
}

void CapiMessage::SetApplID(std::uint16_t applId) {
    if (m_pwApplID)
        WriteLE(m_pwApplID, 2, applId);
}

std::uint8_t CapiMessage::GetCommand() const {
    return m_pbCommand ? *m_pbCommand : 0;
}

std::uint8_t CapiMessage::GetSubCommand() const {
    return m_pbSubCommand ? *m_pbSubCommand : 0;
}

std::uint16_t CapiMessage::GetMsgNr() const {
    return m_pwMsgNr ? static_cast<std::uint16_t>(ReadLE(m_pwMsgNr, 2)) : 0;
}

void CapiMessage::SetMsgNr(std::uint16_t msgNr) {
    if (m_pwMsgNr)
        WriteLE(m_pwMsgNr, 2, msgNr);
}

std::uint32_t CapiMessage::GetAddress() const {
    if (IsEmpty() || GetTotalLen() < CAPI_HEADER_LEN + 4)
        MissingParameter("address");
    return static_cast<std::uint32_t>(ReadLE(m_pbBasePtr + CAPI_HEADER_LEN, 4));
}

void CapiMessage::SetAddress(std::uint32_t address) {
    if (IsEmpty() || GetTotalLen() < CAPI_HEADER_LEN + 4)
        MissingParameter("address");
    WriteLE(m_pbBasePtr + CAPI_HEADER_LEN, 4, address);
}

std::uint64_t CapiMessage::Get(CapiParam p) const {
    const std::size_t n = FixedSize(p);
    if (!n)
        MissingParameter(CapiParamName(p));
    return ReadLE(NeedField(p), n);
}

void CapiMessage::Set(CapiParam p, std::uint64_t value) {
    const std::size_t n = FixedSize(p);
    if (!n || !m_bOwned)
        MissingParameter(CapiParamName(p));
    WriteLE(NeedField(p), n, value);
}

std::span<const std::uint8_t> CapiMessage::GetStruct(CapiParam p) const {
    const std::uint8_t* f = NeedField(p);
    if (FixedSize(p))
        MissingParameter(CapiParamName(p));
    const std::size_t end = GetTotalLen();
    const std::size_t pos = static_cast<std::size_t>(f - m_pbBasePtr);
    if (p == P::ManuData)
        return {f, end - pos};
    std::size_t hdr = 0, len = 0;
    // Parse and the appenders made sure the structure lies inside the message.
    StructHeader(f, end - pos, hdr, len);
    return {f + hdr, len};
}

const std::uint8_t* CapiMessage::GetDataPointer() const {
    if (sizeof(void*) >= 8) {
        if (!Has(P::Data64))
            return nullptr;
        return reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(Get(P::Data64)));
    }
    return reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(Get(P::Data)));
}

void CapiMessage::SetDataPointer(const void* data) {
    const auto value = reinterpret_cast<std::uintptr_t>(data);
    if (sizeof(void*) >= 8) {
        Set(P::Data, 0);
        Set(P::Data64, value);
    } else {
        Set(P::Data, value);
    }
}

bool CapiMessage::CanAppend(std::size_t n) const {
    return m_bOwned && m_wWritePos + n <= CAPI_MSG_SIZE;
}

bool CapiMessage::AppendByte(std::uint8_t b) {
    return AppendBytes(&b, 1);
}

bool CapiMessage::AppendWord(std::uint16_t w) {
    std::uint8_t b[2];
    WriteLE(b, 2, w);
    return AppendBytes(b, 2);
}

bool CapiMessage::AppendDword(std::uint32_t d) {
    std::uint8_t b[4];
    WriteLE(b, 4, d);
    return AppendBytes(b, 4);
}

bool CapiMessage::AppendBytes(const std::uint8_t* bytes, std::size_t n) {
    if (!CanAppend(n) || (n && !bytes))
        return false;
    if (n)
        std::memcpy(m_pbBasePtr + m_wWritePos, bytes, n);
    m_wWritePos = static_cast<std::uint16_t>(m_wWritePos + n);
    SetTotalLen(m_wWritePos);
    return true;
}

bool CapiMessage::AppendEmptyStruct() {
    return AppendByte(0);
}

bool CapiMessage::AppendStruct(const std::uint8_t* bytes, std::size_t n) {
    if (!bytes || n == 0)
        return AppendEmptyStruct();
    const std::size_t hdr = n >= 255 ? 3 : 1;
    if (!CanAppend(hdr + n))
        return false;
    if (hdr == 1) {
        AppendByte(static_cast<std::uint8_t>(n));
    } else {
        AppendByte(0xFF);
        AppendWord(static_cast<std::uint16_t>(n));
    }
    return AppendBytes(bytes, n);
}

bool CapiMessage::AppendBProtocol(std::uint16_t b1, std::uint16_t b2, std::uint16_t b3) {
    std::uint8_t s[9] = {};
    WriteLE(s, 2, b1);
    WriteLE(s + 2, 2, b2);
    WriteLE(s + 4, 2, b3);
    // s[6..8]: B1, B2 and B3 configuration, each an empty structure.
    return AppendStruct(s, sizeof(s));
}

bool CapiMessage::AppendCalledPartyNumber(const char* digits) {
    if (DigitCount(digits) == 0)
        return false;
    return AppendNumber(digits);
}

bool CapiMessage::AppendNumber(const char* digits) {
    const std::size_t n = DigitCount(digits);
    if (n == 0)
        return AppendEmptyStruct();
    if (n + 1 > 254 || !CanAppend(n + 2))
        return false;
    AppendByte(static_cast<std::uint8_t>(n + 1));
    AppendByte(0x80);
    return AppendBytes(reinterpret_cast<const std::uint8_t*>(digits), n);
}

bool CapiMessage::AppendCallingPartyNumber(const char* digits, bool restricted, std::uint8_t type) {
    const std::size_t n = DigitCount(digits);
    if (n == 0)
        return AppendEmptyStruct();
    if (n + 2 > 254 || !CanAppend(n + 3))
        return false;
    AppendByte(static_cast<std::uint8_t>(n + 2));
    AppendByte(type);
    AppendByte(restricted ? 0xA0 : 0x80);
    return AppendBytes(reinterpret_cast<const std::uint8_t*>(digits), n);
}

std::string CapiMessage::Dump() const {
    std::string out;
    if (IsEmpty())
        return out;
    char buf[32];
    if (GetCommand() == eCapiDataB3 && Has(P::DataLength)) {
        std::snprintf(buf, sizeof(buf), "DATALEN(%d)   ", static_cast<int>(Get(P::DataLength)));
        out += buf;
    }
    const std::size_t n = GetTotalLen();
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof(buf), " 0x%02X", m_pbBasePtr[i]);
        out += buf;
    }
    return out;
}

const char* CapiMessage::CommandName(std::uint8_t command) {
    switch (command) {
    case eCapiAlert:
        return "ALERT";
    case eCapiConnect:
        return "CONNECT";
    case eCapiConnectActive:
        return "CON_ACT";
    case eCapiListen:
        return "LISTEN";
    case eCapiInfo:
        return "INFO";
    case eCapiSelectBProtocol:
        return "SEL_B_PROT";
    case eCapiDisconnect:
        return "DISC";
    case eCapiConnectB3:
        return "CONNECT_B3";
    case eCapiConnectB3Active:
        return "CON_B3_ACT";
    case eCapiDataB3:
        return "DATA_B3";
    case eCapiResetB3:
        return "RESET_B3";
    case eCapiDisconnectB3:
        return "DISC_B3";
    case eCapiFacility:
        return "FAC";
    case eCapiConnectB3T90Active:
        return "CON_B3_T90_ACT";
    case eCapiManufacturer:
        return "MANUFACTURER";
    default:
        return "UNKNOWN";
    }
}

const char* CapiMessage::SubCommandName(std::uint8_t subCommand) {
    switch (subCommand) {
    case eCapiReq:
        return "REQ";
    case eCapiConf:
        return "CONF";
    case eCapiInd:
        return "IND";
    case eCapiResp:
        return "RESP";
    default:
        return "UNKNOWN";
    }
}
