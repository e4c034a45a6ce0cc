#pragma once
// EventLogDecoder: turns the box's raw event-log dump into the numbered text
// listing the event-log page shows and saves, one line per event.
//
// The dump is 16384 bytes: two blocks of 8192, each a header byte followed by
// a chain of records (type, length L, 4-byte time, payload, 2-byte sum). The
// header bytes, and where they do not settle it the fill levels, decide which
// block is listed first; the line numbers run on through the second.
//
// The listing is Windows-1252 bytes; every line ends in CR LF, a line feed
// inside a text from the dump included, and column widths count bytes.
//
// Every byte the decoder looks at comes through one bounds-checked read: a
// position beyond the dump reads as 0xFF (the erased value), so no length
// byte, however damaged, makes it read outside the buffer. Texts from the
// dump and from the tables are copied, never used as a format.
//
// Each step is reported through the status callback; a new status text
// replaces the previous one on the page.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

namespace mox {

class EventLogDecoder {
public:
    static constexpr std::size_t kBlockSize = 8192;
    static constexpr std::size_t kDumpSize = 2 * kBlockSize;
    // FirstBlock's answer when neither block holds an event.
    static constexpr int kNothingStored = -1;

    using Dump = std::array<std::uint8_t, kDumpSize>;
    using StatusCallback = std::function<void(const std::string& text)>;

    // The callback may be empty; then the status texts go nowhere.
    explicit EventLogDecoder(StatusCallback status);

    // Reads the dump file and writes the listing to the text file (created,
    // or emptied when it exists). True when both blocks were decoded and the
    // whole listing was written; false on every failure and when the dump
    // holds no events, with the reason as the last status text.
    bool Convert(const std::string& dumpPath, const std::string& textPath);

    // Reads the two blocks from `in`, whose length the file system gave as
    // `size` (or -1 when it could not tell). A size other than 16384 refuses
    // the dump. A short read is reported and the bytes not read stay 0xFF.
    bool ReadDump(std::istream& in, std::intmax_t size, Dump& dump);

    // The in-memory core: decodes both blocks, in the order FirstBlock gives,
    // into `listing` (replaced). False when nothing is stored.
    bool Decode(const Dump& dump, std::string& listing);

    // 0 or 1: the block to decode first; kNothingStored when both are empty.
    int FirstBlock(const Dump& dump);

    // Offset within the block where its record chain ends (at least 1; 8192
    // or a little more when the chain runs to the end of the block).
    int FillLevel(const Dump& dump, int block);

    // Appends one line per record of the block to `listing`, numbering on
    // from `lastLine`; returns the last line number used.
    int DecodeBlock(const Dump& dump, int block, int lastLine, std::string& listing);

    // The listing line (CR LF included) of the record at dump offset `pos`.
    static std::string FormatRecord(const Dump& dump, std::size_t pos, int line);

    // "DD.MM.YYYY hh:mm:ss" of an event time (seconds since 1970). The time
    // is shown 18000 seconds (five hours) earlier; anything before that shows
    // as the start of 1970. Every fourth year counts as a leap year, which
    // holds for the whole signed 32-bit range.
    static std::string DateText(std::int32_t time);

    // True when the record at `pos` has a usable length and a matching sum.
    static bool RecordValid(const Dump& dump, std::size_t pos);

private:
    void Status(const std::string& text) const;

    StatusCallback m_status;
};

}  // namespace mox
