#include "SimBlock.h"

#include <algorithm>

namespace boxsim {

Bytes SimBlock::Encode(bool fromBox) const {
    // Sized once, then filled: g++ 12 reports a false out-of-bounds copy when
    // a short initialiser list is grown by insert.
    Bytes b(6 + data.size());
    b[0] = static_cast<uint8_t>(fromBox ? (channel | kBoxChannelMark) : channel);
    b[1] = cmd;
    b[2] = static_cast<uint8_t>(number >> 8);
    b[3] = static_cast<uint8_t>(number & 0xFF);
    b[4] = static_cast<uint8_t>(value >> 8);
    b[5] = static_cast<uint8_t>(value & 0xFF);
    std::copy(data.begin(), data.end(), b.begin() + 6);
    return b;
}

std::optional<SimBlock> SimBlock::Parse(const Bytes& bytes) {
    if (bytes.size() < kBlockHeaderLen || bytes.size() > kBlockHeaderLen + kBlockMaxData)
        return std::nullopt;
    SimBlock b;
    b.channel = static_cast<uint8_t>(bytes[0] & ~kBoxChannelMark);
    b.cmd = bytes[1];
    b.number = static_cast<uint16_t>(bytes[2] << 8 | bytes[3]);
    b.value = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
    b.data.assign(bytes.begin() + kBlockHeaderLen, bytes.end());
    return b;
}

std::string SimBlock::Describe() const {
    return "ch " + std::to_string(channel) + " cmd " + std::to_string(cmd) + " block " +
           std::to_string(number) + " len " + std::to_string(data.size());
}

} // namespace boxsim
