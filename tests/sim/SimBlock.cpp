#include "SimBlock.h"

namespace boxsim {

Bytes SimBlock::Encode(bool fromBox) const {
    Bytes b{static_cast<uint8_t>(fromBox ? (channel | kBoxChannelMark) : channel),
            cmd,
            static_cast<uint8_t>(number >> 8),
            static_cast<uint8_t>(number & 0xFF),
            static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value & 0xFF)};
    b.insert(b.end(), data.begin(), data.end());
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
