// Writes the ".spt" language files from the readable sources in res/lang.
//
//   mox_makespt [--names PLACES HELPDIR] OUTDIR SOURCE=NAME.spt ...
//
// A source is a file or a folder; a folder's ".txt" files are read in the
// order of their names, as one source (each part of the program keeps its
// texts in a file of its own). A source file is UTF-8 text, one row per id: "id<TAB>text" or
// "id<TAB>text<TAB>hint"; blank rows and rows starting with "#" are skipped.
// Line breaks and tabs inside a text are written "\n" and "\t", as the
// program's reader unescapes them. Each output file holds 10000 records
// (text, hint, each NUL-terminated) in Windows-1252.
//
// The build fails (exit 1, message naming file and row) when a row is
// malformed, an id repeats, a character has no Windows-1252 form, a
// backslash starts anything but "\n" or "\t", or the languages do not all
// have the same ids and the same hints. With --names, each source is a
// folder that also holds its language's names.tsv, and the build fails as
// well when a text or a help page (HELPDIR/ektx_<x>, kktx_<x> for
// ktx_<x>.spt) does not use the name its language gives a part of the
// configuration, the product or the box (NamesCheck.h).

#include "MoxCodec.h"
#include "NamesCheck.h"
#include "SourceRows.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kRecords = 10000;

struct Entry {
    std::string text; // Windows-1252, still escaped
    std::string hint;
    bool hasHint = false;
};

struct Language {
    std::string source;
    std::string output;
    std::map<int, Entry> entries;
};

bool Fail(const std::string& where, const std::string& what) {
    std::fprintf(stderr, "mox_makespt: %s: %s\n", where.c_str(), what.c_str());
    return false;
}

// Checks a field and converts it to Windows-1252.
bool Convert(const std::string& where, const std::string& utf8, std::string& out) {
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\\' && (i + 1 >= utf8.size() || (utf8[i + 1] != 'n' && utf8[i + 1] != 't')))
            return Fail(where, "a backslash must start \\n or \\t");
        if (utf8[i] == '\\')
            ++i;
    }
    out = MoxUtf8ToCp1252(utf8);
    if (MoxCp1252ToUtf8(out) != utf8)
        return Fail(where, "text is not UTF-8 or has a character without a Windows-1252 form");
    return true;
}

bool ReadFile(Language& lang, const std::string& path) {
    std::vector<SourceRow> rows;
    if (!ReadSourceRows(path, rows))
        return false;
    for (const SourceRow& row : rows) {
        const std::string& where = row.where;
        const std::vector<std::string>& fields = row.fields;
        if (fields.size() < 2 || fields.size() > 3)
            return Fail(where, "expected id<TAB>text or id<TAB>text<TAB>hint");
        const std::string& idText = fields[0];
        if (idText.empty() || idText.size() > 4 ||
            idText.find_first_not_of("0123456789") != std::string::npos)
            return Fail(where, "id must be a number 0..9999");
        const int id = std::stoi(idText);
        if (lang.entries.count(id))
            return Fail(where, "id " + idText + " appears twice");
        Entry e;
        if (!Convert(where, fields[1], e.text))
            return false;
        if (fields.size() == 3) {
            e.hasHint = true;
            if (!Convert(where, fields[2], e.hint))
                return false;
        }
        if (e.text.empty() && e.hint.empty())
            return Fail(where, "row without text and hint");
        lang.entries.emplace(id, std::move(e));
    }
    return true;
}

bool ReadSource(Language& lang) {
    std::error_code ec;
    if (!std::filesystem::is_directory(lang.source, ec))
        return ReadFile(lang, lang.source);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(lang.source, ec))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            files.push_back(entry.path().string());
    if (ec)
        return Fail(lang.source, "cannot be read: " + ec.message());
    if (files.empty())
        return Fail(lang.source, "holds no .txt file");
    std::sort(files.begin(), files.end());
    for (const std::string& f : files)
        if (!ReadFile(lang, f))
            return false;
    return true;
}

// Every language must have the ids and hints that any other has.
bool CheckComplete(const std::vector<Language>& langs) {
    bool ok = true;
    for (const Language& a : langs) {
        for (const Language& b : langs) {
            for (const auto& [id, entry] : a.entries) {
                const auto it = b.entries.find(id);
                if (it == b.entries.end()) {
                    ok = Fail(b.source,
                              "lacks id " + std::to_string(id) + " that " + a.source + " has");
                } else if (entry.hasHint && !entry.hint.empty() && it->second.hint.empty()) {
                    ok = Fail(b.source, "lacks the hint of id " + std::to_string(id) + " that " +
                                            a.source + " has");
                }
            }
        }
    }
    return ok;
}

bool Write(const Language& lang, const std::filesystem::path& outDir) {
    std::string bytes;
    for (int id = 0; id < kRecords; ++id) {
        const auto it = lang.entries.find(id);
        if (it != lang.entries.end()) {
            bytes += it->second.text;
            bytes.push_back('\0');
            bytes += it->second.hint;
        } else {
            bytes.push_back('\0');
        }
        bytes.push_back('\0');
    }
    // Written beside the target and renamed over it, so a failed build never
    // leaves a half-written language file for the program to refuse.
    const std::filesystem::path target = outDir / lang.output;
    const std::filesystem::path temp = outDir / (lang.output + ".tmp");
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            return Fail(temp.string(), "cannot be written");
    }
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    if (ec)
        return Fail(target.string(), "cannot be replaced: " + ec.message());
    return true;
}

// The names check sees each language's texts and the suffix of its help
// folders, the one of its file name ("ktx_d.spt": "d").
bool CheckLanguageNames(const std::string& places, const std::string& helpDir,
                        const std::vector<Language>& langs) {
    std::vector<NamesLanguage> named;
    for (const Language& lang : langs) {
        const std::string& out = lang.output;
        constexpr std::string_view kPrefix = "ktx_", kSuffix = ".spt";
        if (out.size() <= kPrefix.size() + kSuffix.size() || out.rfind(kPrefix, 0) != 0 ||
            out.compare(out.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
            return Fail(out, "names a language file not of the form ktx_<x>.spt");
        NamesLanguage n{lang.source,
                        out.substr(kPrefix.size(), out.size() - kPrefix.size() - kSuffix.size()),
                        {}};
        for (const auto& [id, e] : lang.entries)
            n.texts.emplace(id, NamesText{e.text, e.hint});
        named.push_back(std::move(n));
    }
    return CheckNames(places, helpDir, named);
}

} // namespace

int main(int argc, char** argv) {
    int first = 1;
    std::string places, helpDir;
    if (argc > 3 && std::string(argv[1]) == "--names") {
        places = argv[2];
        helpDir = argv[3];
        first = 4;
    }
    if (argc - first < 2) {
        std::fprintf(stderr,
                     "usage: mox_makespt [--names PLACES HELPDIR] OUTDIR SOURCE=NAME.spt ...\n");
        return 2;
    }
    const std::filesystem::path outDir = argv[first];
    std::vector<Language> langs;
    for (int i = first + 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t eq = arg.rfind('=');
        if (eq == std::string::npos || eq == 0 || eq + 1 == arg.size()) {
            std::fprintf(stderr, "mox_makespt: bad argument %s\n", arg.c_str());
            return 2;
        }
        Language lang;
        lang.source = arg.substr(0, eq);
        lang.output = arg.substr(eq + 1);
        if (!ReadSource(lang))
            return 1;
        langs.push_back(std::move(lang));
    }
    if (!CheckComplete(langs))
        return 1;
    if (!places.empty() && !CheckLanguageNames(places, helpDir, langs))
        return 1;
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    for (const Language& lang : langs)
        if (!Write(lang, outDir))
            return 1;
    return 0;
}
