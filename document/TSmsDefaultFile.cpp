#include "TSmsDefaultFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsBlank(char c) {
    // NUL counts as a separator: a word never carries one into the record,
    // where it would silently cut the text.
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\0';
}

// Splits a line into at most four words.
std::vector<std::string_view> SplitWords(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size() && words.size() < 4) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        const size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::string Cut(std::string_view word, size_t maxBytes) {
    return std::string(word.substr(0, maxBytes));
}

uint8_t MatchProtocol(std::string_view word, const char* protocol1, const char* protocol2) {
    if (word.empty())
        return 0;
    if (protocol1 && *protocol1 && word == protocol1)
        return 1;
    if (protocol2 && *protocol2 && word == protocol2)
        return 2;
    return 0;
}

} // namespace

TSmsDefaultTable TSmsDefaultFile::Parse(std::string_view content, const char* protocol1,
                                        const char* protocol2, std::vector<std::string>* pLines) {
    TSmsDefaultTable table{};
    if (content.size() > kMaxFileBytes)
        content = content.substr(0, kMaxFileBytes);

    size_t pos = 0;
    for (size_t i = 0; i < kMaxLines && pos < content.size(); ++i) {
        size_t end = content.find('\n', pos);
        if (end == std::string_view::npos)
            end = content.size();
        std::string_view line = content.substr(pos, end - pos);
        pos = end + 1;
        if (line.size() > kMaxLineBytes)
            line = line.substr(0, kMaxLineBytes);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (pLines)
            pLines->emplace_back(line);

        const std::vector<std::string_view> words = SplitWords(line);
        if (words.empty())
            continue;
        TSmsDefaultEntry& entry = table[i];
        entry.Provider = Cut(words[0], MOX_PROVIDER_SIZE - 1);
        if (words.size() > 1)
            entry.Rnr = Cut(words[1], MOX_SMSRNR_SIZE - 1);
        if (words.size() > 2)
            entry.Protokoll = MatchProtocol(words[2], protocol1, protocol2);
        // The fourth word is part of the format but carries nothing the box
        // uses.
    }
    return table;
}

bool TSmsDefaultFile::Load(const std::string& path, const char* protocol1, const char* protocol2,
                           TSmsDefaultTable* pTable, std::vector<std::string>* pLines) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    std::string content(kMaxFileBytes, '\0');
    size_t got = 0;
    while (got < content.size()) {
        const ssize_t n = ::read(fd, content.data() + got, content.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    content.resize(got);
    *pTable = Parse(content, protocol1, protocol2, pLines);
    return true;
}

const char* TSmsDefaultFile::FileNameForLand(int land) {
    switch (land) {
    case eLV_Deutschland:
        return "def_d.sms";
    case eLV_Niederlande:
        return "def_nl.sms";
    case eLV_Daenemark:
        return "def_dk.sms";
    case eLV_Frankreich:
        return "def_f.sms";
    case eLV_Italien:
        return "def_i.sms";
    case eLV_Oesterreich:
        return "def_a.sms";
    case eLV_Schweiz:
        return "def_ch.sms";
    case eLV_Belgien:
        return "def_b.sms";
    default:
        return nullptr;
    }
}
