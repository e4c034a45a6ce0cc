#include "HeaderRecord.h"

#include "TransferTrace.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

template <std::size_t N> std::string Bounded(const std::array<char, N>& field) {
    const auto end = std::find(field.begin(), field.end(), '\0');
    return std::string(field.begin(), end);
}

template <std::size_t N> void CopyField(std::array<char, N>& field, const std::uint8_t* from) {
    std::memcpy(field.data(), from, N);
}

// Inserts sep after the 2nd and after the 4th character, where there are
// characters after them.
std::string Separated(const std::string& text, char sep) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 2 || i == 4)
            out += sep;
        out += text[i];
    }
    return out;
}

} // namespace

bool HeaderRecord::FromBytes(std::span<const std::uint8_t> bytes) {
    Clear();
    if (bytes.size() < kDLHeaderLen || !bytes.data())
        return false;
    const std::uint8_t* p = bytes.data();
    CodeSign = Le16(p + 0);
    CodeLength = Le16(p + 2);
    CodeType = p[4];
    Device = p[5];
    CheckSum = Le16(p + 6);
    StartAdr = Le32(p + 8);
    LBLen = Le32(p + 12);
    BlockOff = Le16(p + 16);
    CopyField(Date, p + 18);
    CopyField(Time, p + 26);
    CopyField(Version, p + 32);
    CopyField(Vendor, p + 48);
    return true;
}

std::string HeaderRecord::GetVersion() const {
    return Bounded(Version);
}

std::string HeaderRecord::GetVendor() const {
    return Bounded(Vendor);
}

std::string HeaderRecord::GetDate() const {
    return Bounded(Date);
}

std::string HeaderRecord::GetTime() const {
    return Bounded(Time);
}

std::string HeaderRecord::GetDateText() const {
    return Separated(GetDate(), '.');
}

std::string HeaderRecord::GetTimeText() const {
    return Separated(GetTime(), ':');
}

void HeaderRecord::Trace(const char* prefix) const {
    const char* p = prefix ? prefix : "";
    TransferTrace(eTraceTDump, "\t%sCodeSign(0x%x) ", p, CodeSign);
    TransferTrace(eTraceTDump, "\t%sCodeLength(%u) ", p, CodeLength);
    TransferTrace(eTraceTDump, "\t%sCodeType(%u) ", p, CodeType);
    TransferTrace(eTraceTDump, "\t%sDevice(%u) ", p, Device);
    TransferTrace(eTraceTDump, "\t%sCheckSum(0x%x) ", p, CheckSum);
    TransferTrace(eTraceTDump, "\t%sStartAdr(0x%x) ", p, StartAdr);
    TransferTrace(eTraceTDump, "\t%sLBLen(%u) ", p, LBLen);
    TransferTrace(eTraceTDump, "\t%sBlockOff(%u) ", p, BlockOff);
    // The texts go through as values, never as formats.
    TransferTrace(eTraceTDump, "\t%sDate(%s) ", p, GetDate().c_str());
    TransferTrace(eTraceTDump, "\t%sTime(%s) ", p, GetTime().c_str());
    TransferTrace(eTraceTDump, "\t%sVersion(%s) ", p, GetVersion().c_str());
    TransferTrace(eTraceTDump, "\t%sVendor(%s) ", p, GetVendor().c_str());
}
