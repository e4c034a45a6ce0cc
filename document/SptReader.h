#pragma once
// Reader of the ".spt" language files: 10000 records, record i for text id
// i, each record two NUL-terminated Windows-1252 strings (text, then hint).
// Records missing at the end count as empty. In a string, a backslash and
// "n" become CR, a backslash and "t" a TAB.
//
// The file comes from outside the program, so the reader trusts nothing in
// it: a file that ends inside a string (cut short) or carries text after the
// last record is refused as a whole, and no byte outside the input is read.
// NUL bytes after the last record are taken as padding.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The strings of one language file, unescaped. An empty string is "no text".
struct SptTable {
    static constexpr int kRecords = 10000;

    // Text or hint of record id 0..9999; nullptr for an empty one or another id.
    const char* Text(int id) const { return At(m_text, id); }
    const char* Hint(int id) const { return At(m_hint, id); }

    void Clear();

private:
    friend class SptReader;
    static constexpr uint32_t kNone = UINT32_MAX;

    const char* At(const std::vector<uint32_t>& offsets, int id) const {
        if (id < 0 || id >= kRecords || offsets.empty() ||
            offsets[static_cast<size_t>(id)] == kNone)
            return nullptr;
        return m_arena.data() + offsets[static_cast<size_t>(id)];
    }

    // All non-empty strings back to back, each with its NUL; the offsets
    // point into it.
    std::string m_arena;
    std::vector<uint32_t> m_text;
    std::vector<uint32_t> m_hint;
};

class SptReader {
public:
    // A real language file is some hundred kilobytes; anything near this is
    // not one, and is refused before memory is spent on it.
    static constexpr size_t kMaxFileSize = 16u * 1024u * 1024u;

    // Parses the whole file image. On success the table holds the records;
    // on failure it is left empty and error says what is wrong.
    static bool Parse(std::string_view bytes, SptTable& table, std::string& error);

    // Reads and parses a file, checking that every byte its size announces
    // was really read.
    static bool ReadFile(const std::string& path, SptTable& table, std::string& error);

    // The unescaping of one string: "\n" to CR, "\t" to TAB; any other
    // backslash stays as it is.
    static std::string Unescape(std::string_view raw);
};
