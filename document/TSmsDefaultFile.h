#pragma once
// The SMS default file of a country ("def_d.sms" and siblings in res/): one
// line per SMS provider entry 0..9, each with four words separated by blanks
// or tabs: provider name, the provider's call number, the protocol word and a
// fourth word that is read and not used. The protocol word is matched against
// the two protocol names of the language texts (506 gives protocol 1, 507
// protocol 2); any other word gives 0. An empty line, and every entry the
// file has no line for, is an empty entry.
//
// The file comes from outside, so nothing in it is trusted: words are cut to
// the field widths, a line of any length or content is read in bounded
// pieces, and only the first ten lines are looked at.

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "MoxDaten.h"

struct TSmsDefaultEntry {
    std::string Provider; // at most MOX_PROVIDER_SIZE - 1 bytes
    std::string Rnr;      // at most MOX_SMSRNR_SIZE - 1 bytes
    std::uint8_t Protokoll = 0;

    bool operator==(const TSmsDefaultEntry&) const = default;
};

using TSmsDefaultTable = std::array<TSmsDefaultEntry, MOX_MAX_SMS>;

class TSmsDefaultFile {
public:
    static constexpr std::size_t kMaxLines = MOX_MAX_SMS;
    // Bytes of a line that are looked at; the rest of a longer line is
    // stepped over. Four words of the widest field fit many times over.
    static constexpr std::size_t kMaxLineBytes = 512;
    // Only the start of a file is read: ten lines of any sane width lie far
    // inside it, and a huge or endless file cannot stall the program.
    static constexpr std::size_t kMaxFileBytes = 64 * 1024;

    // The protocol names may be null (no language file): then every entry
    // gets protocol 0. pLines, when given, receives the lines that were used
    // (for the trace).
    static TSmsDefaultTable Parse(std::string_view content, const char* protocol1,
                                  const char* protocol2,
                                  std::vector<std::string>* pLines = nullptr);

    // Reads a file. False when it cannot be opened or read; *pTable is then
    // untouched.
    static bool Load(const std::string& path, const char* protocol1, const char* protocol2,
                     TSmsDefaultTable* pTable, std::vector<std::string>* pLines = nullptr);

    // "def_d.sms" .. "def_b.sms" for the countries 1..8; nullptr for any
    // other country.
    static const char* FileNameForLand(int land);
};
