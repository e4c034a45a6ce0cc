#include "SptReader.h"

#include <cstring>
#include <fstream>

void SptTable::Clear() {
    m_arena.clear();
    m_text.clear();
    m_hint.clear();
}

namespace {

void AppendUnescaped(std::string& out, std::string_view raw) {
    // Copied in runs between backslashes: most texts have none at all.
    size_t pos = 0;
    while (pos < raw.size()) {
        const size_t bs = raw.find('\\', pos);
        if (bs == std::string_view::npos || bs + 1 >= raw.size()) {
            out.append(raw.data() + pos, raw.size() - pos);
            return;
        }
        out.append(raw.data() + pos, bs - pos);
        const char next = raw[bs + 1];
        if (next == 'n' || next == 't') {
            out.push_back(next == 'n' ? '\r' : '\t');
            pos = bs + 2;
        } else {
            out.push_back('\\');
            pos = bs + 1;
        }
    }
}

// Appends one unescaped string with its NUL to the arena and returns its
// offset; an empty string is "no text".
uint32_t Store(std::string& arena, std::string_view raw) {
    if (raw.empty())
        return UINT32_MAX;
    const auto offset = static_cast<uint32_t>(arena.size());
    AppendUnescaped(arena, raw);
    arena.push_back('\0');
    return offset;
}

} // namespace

std::string SptReader::Unescape(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    AppendUnescaped(out, raw);
    return out;
}

bool SptReader::Parse(std::string_view bytes, SptTable& table, std::string& error) {
    table.Clear();
    if (bytes.size() > kMaxFileSize) {
        error = "the file is too large for a language file";
        return false;
    }
    if (!bytes.empty() && bytes.back() != '\0') {
        error = "the file ends inside a text; it is damaged or cut short";
        return false;
    }

    SptTable t;
    t.m_arena.reserve(bytes.size());
    t.m_text.assign(SptTable::kRecords, SptTable::kNone);
    t.m_hint.assign(SptTable::kRecords, SptTable::kNone);

    size_t pos = 0;
    for (int n = 0; n < 2 * SptTable::kRecords && pos < bytes.size(); ++n) {
        // The last byte is a NUL (checked above), so a terminator is found.
        const void* nul = std::memchr(bytes.data() + pos, '\0', bytes.size() - pos);
        const size_t end = static_cast<size_t>(static_cast<const char*>(nul) - bytes.data());
        const uint32_t offset = Store(t.m_arena, bytes.substr(pos, end - pos));
        (n % 2 == 0 ? t.m_text : t.m_hint)[static_cast<size_t>(n / 2)] = offset;
        pos = end + 1;
    }
    // NUL padding behind the last record is harmless; text there is not.
    if (pos < bytes.size() && bytes.find_first_not_of('\0', pos) != std::string_view::npos) {
        error = "the file holds data after its last record; it is not a language file";
        return false;
    }
    table = std::move(t);
    return true;
}

bool SptReader::ReadFile(const std::string& path, SptTable& table, std::string& error) {
    table.Clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "the file cannot be opened";
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) {
        error = "the file size cannot be determined";
        return false;
    }
    if (static_cast<unsigned long long>(size) > kMaxFileSize) {
        error = "the file is too large for a language file";
        return false;
    }
    in.seekg(0, std::ios::beg);
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), size);
    if (in.gcount() != size) {
        error = "the file could not be read whole";
        return false;
    }
    return Parse(bytes, table, error);
}
