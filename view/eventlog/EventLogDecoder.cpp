#include "EventLogDecoder.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <istream>
#include <memory>
#include <utility>

#include "EventLogTables.h"

namespace mox {

namespace {

using Dump = EventLogDecoder::Dump;
constexpr std::size_t kDumpSize = EventLogDecoder::kDumpSize;

constexpr std::uint8_t kErased = 0xFF;
// A length byte 0xFF marks a record the box could not finish: only its type
// and length byte were written, so the next record starts two bytes on.
constexpr std::uint8_t kBrokenLength = 0xFF;
constexpr std::size_t kBrokenRecordSize = 2;
// Type, length, 4-byte time and 2-byte sum: the smallest complete record.
constexpr unsigned kMinRecordLength = 8;
// Below this the sum bytes would lie before the record itself.
constexpr unsigned kMinSummedLength = 3;
// Texts and hex payloads from a record show at most this many bytes.
constexpr unsigned kMaxPayloadBytes = 20;

// Record offsets.
constexpr std::size_t kOffLength = 1;
constexpr std::size_t kOffTime = 2;
constexpr std::size_t kOffPayload = 6;
constexpr std::size_t kOffPayloadText = 10;  // after a 32-bit number

// Listing column widths (bytes).
constexpr std::size_t kNameWidth = 15;
constexpr std::size_t kDateWidth = 19;
constexpr std::size_t kPayloadWidth = 38;
constexpr std::size_t kCauseTextWidth = 33;

// The dump is read as one buffer: a record near the end of block 0 goes on
// into block 1, and anything past the end reads as erased memory.
std::uint8_t At(const Dump& dump, std::size_t pos) {
    return pos < kDumpSize ? dump[pos] : kErased;
}

std::int32_t Int32At(const Dump& dump, std::size_t pos) {
    const std::uint32_t v = std::uint32_t(At(dump, pos)) | std::uint32_t(At(dump, pos + 1)) << 8 |
                            std::uint32_t(At(dump, pos + 2)) << 16 |
                            std::uint32_t(At(dump, pos + 3)) << 24;
    return static_cast<std::int32_t>(v);
}

// Byte count of a payload text: the count the length byte implies, taken
// modulo 256 the way the box's 8-bit arithmetic wraps, and capped, so a too
// small length gives the full 20.
unsigned CountFromLength(std::uint8_t length, unsigned headerBytes) {
    const unsigned n = (unsigned(length) - headerBytes) & 0xFFu;
    return std::min(n, kMaxPayloadBytes);
}

// Up to `count` bytes from `pos`, ending at the first NUL and at the end of
// the dump.
std::string TextAt(const Dump& dump, std::size_t pos, unsigned count) {
    std::string text;
    for (std::size_t i = pos; i < pos + count && i < kDumpSize && dump[i] != 0; ++i) {
        text += static_cast<char>(dump[i]);
    }
    return text;
}

std::string Cut(std::string text, std::size_t width) {
    if (text.size() > width) {
        text.resize(width);
    }
    return text;
}

std::string PadCut(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// Decimal with at least `digits` digits, zero-filled, sign first.
std::string Decimal(long long value, int digits = 1) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", digits, value);
    return buf;
}

std::string HexByte(std::uint8_t value) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", unsigned(value));
    return buf;
}

std::string CauseColumn(std::uint8_t cause) {
    return Cut(Decimal(cause, 3) + ": " + Cut(EventLogCauseText(cause), kCauseTextWidth),
               kPayloadWidth);
}

std::string HexPayload(const Dump& dump, std::size_t pos, std::uint8_t length) {
    const unsigned count = CountFromLength(length, kMinRecordLength);
    std::string text;
    for (std::size_t i = pos + kOffPayload; i < pos + kOffPayload + count && i < kDumpSize; ++i) {
        text += HexByte(dump[i]);
        text += ' ';
    }
    return text;
}

std::string PayloadColumn(const Dump& dump, std::size_t pos) {
    const std::uint8_t type = At(dump, pos);
    const std::uint8_t length = At(dump, pos + kOffLength);
    const std::uint8_t p0 = At(dump, pos + kOffPayload);
    switch (type) {
    case eEvSystemstart:
    case eEvMFEingang:
    case eEvS0Alert:
    case eEvS0Connect:
    case eEvITConnect:
    case eEvKommenderRuf:
        return {};
    case eEvSoftError:
        return TextAt(dump, pos + kOffPayloadText, CountFromLength(length, kOffPayloadText + 2)) +
               "/" + Decimal(Int32At(dump, pos + kOffPayload));
    case eEvKonfiguration:
        return "Quelle: " + Cut(EventLogSourceText(p0), kMaxPayloadBytes);
    case eEvTuerruf:
        return "Teilnehmer: " + Decimal(p0);
    case eEvSchalteingang:
        return "Nr: " + Decimal(p0);
    case eEvS0Setup:
        return "Rufart: " + Cut(EventLogCallTypeText(p0), kMaxPayloadBytes);
    case eEvS0Disconnect:
    case eEvS0Release:
        return CauseColumn(p0);
    case eEvLMProzedur:
    case eEvLMFehler:
        return TextAt(dump, pos + kOffPayload, CountFromLength(length, kMinRecordLength));
    case eEvTestEvent:
        return TextAt(dump, pos + kOffPayloadText, CountFromLength(length, kOffPayloadText + 2)) +
               " Nr: " + Decimal(Int32At(dump, pos + kOffPayload), 3);
    default:
        return HexPayload(dump, pos, length);
    }
}

// The listing file was written in text mode: each line feed, including one
// copied from a text in the dump, becomes CR LF.
void AppendTextMode(std::string& out, const std::string& line) {
    for (char c : line) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
}

const char kBanner[] = "\n\rKestrin Eventlog Dump Utility\n\n\r";
const char kWrongSize[] = "16384";
const char kReadErrorFirst[] = "Eeading error input file (first bloc)!\n\r";
const char kReadErrorSecond[] = "Reading error input file (second bloc)!\n\r";
const char kExamining[] = "Untersuche Eingabedatei.... ";
const char kNothingStoredText[] = "Es sind keine Informationen gespeichert!\n\r";
const char kFinished[] = "Transformation finished\n\r";

}  // namespace

EventLogDecoder::EventLogDecoder(StatusCallback status) : m_status(std::move(status)) {}

void EventLogDecoder::Status(const std::string& text) const {
    if (m_status) {
        m_status(text);
    }
}

bool EventLogDecoder::Convert(const std::string& dumpPath, const std::string& textPath) {
    Status(kBanner);
    std::ifstream in(dumpPath, std::ios::binary);
    if (!in) {
        Status(dumpPath);
        return false;
    }
    std::ofstream out(textPath, std::ios::binary | std::ios::trunc);
    if (!out) {
        Status(textPath);
        return false;
    }
    // A stream that cannot seek (a pipe, a device) has no length to check
    // and is refused like a dump of the wrong size.
    std::intmax_t size = -1;
    if (in.seekg(0, std::ios::end)) {
        size = static_cast<std::intmax_t>(in.tellg());
    }
    in.clear();
    in.seekg(0, std::ios::beg);

    // 16 KiB: kept off the stack of the GUI handler that calls this.
    auto dump = std::make_unique<Dump>();
    if (!ReadDump(in, size, *dump)) {
        return false;
    }
    std::string listing;
    if (!Decode(*dump, listing)) {
        return false;
    }
    // A listing that did not reach the disk is a failure, not a finished
    // transformation: the page would otherwise show a truncated file.
    out.write(listing.data(), static_cast<std::streamsize>(listing.size()));
    out.close();
    if (!out) {
        Status(textPath);
        return false;
    }
    Status(kFinished);
    return true;
}

bool EventLogDecoder::ReadDump(std::istream& in, std::intmax_t size, Dump& dump) {
    dump.fill(kErased);
    if (size != static_cast<std::intmax_t>(kDumpSize)) {
        Status(kWrongSize);
        return false;
    }
    char* block0 = reinterpret_cast<char*>(dump.data());
    in.read(block0, kBlockSize);
    if (static_cast<std::size_t>(in.gcount()) != kBlockSize) {
        Status(kReadErrorFirst);
    }
    in.read(block0 + kBlockSize, kBlockSize);
    if (static_cast<std::size_t>(in.gcount()) != kBlockSize) {
        Status(kReadErrorSecond);
    }
    return true;
}

bool EventLogDecoder::Decode(const Dump& dump, std::string& listing) {
    listing.clear();
    Status(kExamining);
    const int first = FirstBlock(dump);
    if (first == kNothingStored) {
        Status(kNothingStoredText);
        return false;
    }
    const int second = 1 - first;
    Status(Decimal(first));
    const int last = DecodeBlock(dump, first, 0, listing);
    Status(Decimal(second));
    DecodeBlock(dump, second, last, listing);
    return true;
}

int EventLogDecoder::FirstBlock(const Dump& dump) {
    const std::uint8_t h0 = dump[0];
    const std::uint8_t h1 = dump[kBlockSize];
    if (h0 == 0x00 && h1 == 0xFF) {
        return 0;
    }
    if (h0 == 0xFF && h1 == 0x00) {
        return 1;
    }
    if (h0 == 0xFF && h1 == 0xFF) {
        const bool used0 = dump[1] != kErased;
        const bool used1 = dump[kBlockSize + 1] != kErased;
        if (!used0 && !used1) {
            return kNothingStored;
        }
        if (used0 != used1) {
            return used0 ? 0 : 1;
        }
    }
    // Both headers 0x00, both blocks used under 0xFF, or a damaged header
    // that is neither value: the fuller block first, a tie to block 0.
    const int f0 = FillLevel(dump, 0);
    const int f1 = FillLevel(dump, 1);
    return f0 >= f1 ? 0 : 1;
}

int EventLogDecoder::FillLevel(const Dump& dump, int block) {
    const std::size_t base = static_cast<std::size_t>(block) * kBlockSize;
    std::size_t p = 1;
    while (p < kBlockSize) {
        if (At(dump, base + p) == kErased) {
            break;
        }
        const std::uint8_t length = At(dump, base + p + kOffLength);
        if (length == 0) {
            Status(Decimal(length));
            break;
        }
        p += length == kBrokenLength ? kBrokenRecordSize : length;
    }
    return static_cast<int>(p);
}

int EventLogDecoder::DecodeBlock(const Dump& dump, int block, int lastLine, std::string& listing) {
    const std::size_t base = static_cast<std::size_t>(block) * kBlockSize;
    std::size_t p = 1;
    int line = lastLine;
    while (p < kBlockSize) {
        const std::size_t pos = base + p;
        if (At(dump, pos) == kErased) {
            break;
        }
        ++line;
        listing += FormatRecord(dump, pos, line);
        const std::uint8_t length = At(dump, pos + kOffLength);
        if (length < kMinRecordLength) {
            // The chain cannot be followed past a record this short.
            Status(Decimal(length));
            break;
        }
        p += length == kBrokenLength ? kBrokenRecordSize : length;
    }
    return line;
}

bool EventLogDecoder::RecordValid(const Dump& dump, std::size_t pos) {
    const unsigned length = At(dump, pos + kOffLength);
    if (length == kBrokenLength || length < kMinSummedLength) {
        return false;
    }
    if (pos + length > kDumpSize) {
        return false;  // the sum bytes lie beyond the dump
    }
    std::uint16_t sum = 0;
    for (std::size_t i = pos; i < pos + length - 2; ++i) {
        sum = static_cast<std::uint16_t>(sum + dump[i]);
    }
    return dump[pos + length - 2] == (sum & 0xFF) && dump[pos + length - 1] == (sum >> 8);
}

std::string EventLogDecoder::FormatRecord(const Dump& dump, std::size_t pos, int line) {
    std::string text = Decimal(line, 4) + " " + PadCut(EventLogTypeName(At(dump, pos)), kNameWidth);
    if (RecordValid(dump, pos)) {
        text += " " + PadCut(DateText(Int32At(dump, pos + kOffTime)), kDateWidth) + " " +
                PadCut(PayloadColumn(dump, pos), kPayloadWidth) + "\n";
    } else {
        text += " Daten ung\xFCltig\n";
    }
    std::string out;
    AppendTextMode(out, text);
    return out;
}

std::string EventLogDecoder::DateText(std::int32_t time) {
    constexpr long long kShownOffset = 18000;
    constexpr long long kHoursOf4Years = 1461 * 24;
    constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    constexpr int kFeb29 = 31 + 29;

    // 64-bit so that the shift cannot overflow for times near INT32_MIN.
    long long t = static_cast<long long>(time) - kShownOffset;
    if (t < 0) {
        t = 0;
    }
    const int second = static_cast<int>(t % 60);
    const int minute = static_cast<int>(t / 60 % 60);
    const long long hours = t / 3600;
    int year = static_cast<int>(1970 + 4 * (hours / kHoursOf4Years));
    long long r = hours % kHoursOf4Years;
    for (;;) {
        const long long yearHours = (year % 4 == 0 ? 366 : 365) * 24;
        if (r < yearHours) {
            break;
        }
        r -= yearHours;
        ++year;
    }
    const int hour = static_cast<int>(r % 24);
    int day = static_cast<int>(r / 24) + 1;
    int month = 1;
    if (year % 4 == 0 && day == kFeb29) {
        month = 2;
        day = 29;
    } else {
        if (year % 4 == 0 && day > kFeb29) {
            --day;
        }
        while (month < 12 && day > kMonthDays[month - 1]) {
            day -= kMonthDays[month - 1];
            ++month;
        }
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d:%02d:%02d", day, month, year, hour, minute,
                  second);
    return buf;
}

}  // namespace mox
