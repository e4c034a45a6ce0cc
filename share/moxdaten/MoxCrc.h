#pragma once
// CRC-16 of the frames on the direct serial link, and the integer-to-text
// routine behind the numbered default names.

#include <cstddef>
#include <cstdint>

// Fills the shared 256-entry table once (reflected polynomial 0x8005, i.e.
// 0xA001). Safe to call from several threads: the table is complete before
// any caller returns. MoxCalcCrc16 calls it itself.
void MoxCrc16Prepare();

// Updates crc over len bytes, table-driven, no final XOR. Start value 0 gives
// CRC-16/ARC, 0xFFFF gives CRC-16/MODBUS. len 0 returns crc unchanged.
std::uint16_t MoxCalcCrc16(const std::uint8_t* pData, std::size_t len, std::uint16_t crc);

// Room MoxIntToText needs: sign, ten digits, NUL.
constexpr std::size_t MOX_INTTEXT_SIZE = 12;

// Writes value in decimal, with a leading "-" when negative, and a NUL into
// pBuffer (at least MOX_INTTEXT_SIZE bytes). Returns pBuffer.
char* MoxIntToText(std::int32_t value, char* pBuffer);
