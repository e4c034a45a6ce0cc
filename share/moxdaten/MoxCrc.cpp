#include "MoxCrc.h"

#include <cassert>
#include <mutex>

namespace {

std::uint16_t g_crcTable[256];
std::once_flag g_crcTableFilled;

// Table of the reflected polynomial 0x8005 (0xA001), one entry per byte.
void MoxCrc16Table() {
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t c = static_cast<std::uint16_t>(i);
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1) ? static_cast<std::uint16_t>((c >> 1) ^ 0xA001)
                        : static_cast<std::uint16_t>(c >> 1);
        }
        g_crcTable[i] = c;
    }
}

} // namespace

void MoxCrc16Prepare() {
    // The serial reader thread and the GUI thread may both come first; the
    // once-flag makes the second wait until the table is complete.
    std::call_once(g_crcTableFilled, MoxCrc16Table);
}

std::uint16_t MoxCalcCrc16(const std::uint8_t* pData, std::size_t len, std::uint16_t crc) {
    assert(pData || len == 0);
    MoxCrc16Prepare();
    for (std::size_t i = 0; i < len; ++i) {
        crc = static_cast<std::uint16_t>((crc >> 8) ^ g_crcTable[(pData[i] ^ crc) & 0xFF]);
    }
    return crc;
}

char* MoxIntToText(std::int32_t value, char* pBuffer) {
    assert(pBuffer);
    // Work on the magnitude as unsigned: negating INT32_MIN as a signed
    // number overflows.
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    std::size_t n = 0;
    do {
        pBuffer[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        pBuffer[n++] = '-';
    }
    pBuffer[n] = '\0';
    for (std::size_t i = 0, j = n - 1; i < j; ++i, --j) {
        const char c = pBuffer[i];
        pBuffer[i] = pBuffer[j];
        pBuffer[j] = c;
    }
    return pBuffer;
}
