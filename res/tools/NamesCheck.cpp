#include "NamesCheck.h"

#include "MoxCodec.h"
#include "SourceRows.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// The program modes whose help pages are checked alike.
constexpr const char* kHelpModes[] = {"ektx_", "kktx_"};
constexpr char kHelpPlace[] = "help:";

bool Fail(const std::string& where, const std::string& what) {
    std::fprintf(stderr, "mox_makespt: %s: %s\n", where.c_str(), what.c_str());
    return false;
}

std::string Shown(const std::string& cp1252) {
    return "\"" + MoxCp1252ToUtf8(cp1252) + "\"";
}

// Windows-1252 lower case: ASCII, the Latin-1 capitals (not the
// multiplication sign) and the four capitals of 0x8A..0x9F.
std::string Fold(std::string s) {
    for (char& c : s) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            c = static_cast<char>(b + 0x20);
        else if (b == 0x8A || b == 0x8C || b == 0x8E)
            c = static_cast<char>(b + 0x10);
        else if (b == 0x9F)
            c = static_cast<char>(0xFF);
    }
    return s;
}

bool Contains(const std::string& text, const std::string& word) {
    return Fold(text).find(Fold(word)) != std::string::npos;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::stringstream ss(s);
    for (std::string p; std::getline(ss, p, sep);)
        if (!p.empty())
            parts.push_back(p);
    return parts;
}

// Windows-1252 forms of a "|" list; false when one has no such form.
bool Forms(const std::string& where, const std::string& utf8, std::vector<std::string>& out) {
    for (const std::string& f : Split(utf8, '|')) {
        out.push_back(MoxUtf8ToCp1252(f));
        if (MoxCp1252ToUtf8(out.back()) != f)
            return Fail(where, "\"" + f + "\" is not UTF-8 or has no Windows-1252 form");
    }
    return true;
}

struct Name {
    std::vector<std::string> forms;
    std::vector<std::string> avoid;
};

// A help page as its reader sees it, in Windows-1252; empty when missing.
std::string HelpPage(const std::filesystem::path& path, bool& found) {
    std::ifstream in(path, std::ios::binary);
    found = static_cast<bool>(in);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string s = ss.str();
    for (const auto& [entity, c] :
         {std::pair{"&#x27;", "'"}, std::pair{"&#39;", "'"}, std::pair{"&quot;", "\""},
          std::pair{"&lt;", "<"}, std::pair{"&gt;", ">"}, std::pair{"&amp;", "&"}}) {
        const std::string e = entity;
        for (size_t at = s.find(e); at != std::string::npos; at = s.find(e, at + 1))
            s.replace(at, e.size(), c);
    }
    return MoxUtf8ToCp1252(s);
}

std::string Title(const std::string& page) {
    const size_t from = page.find("<title>");
    const size_t to = page.find("</title>");
    if (from == std::string::npos || to == std::string::npos || to < from)
        return {};
    return page.substr(from + 7, to - from - 7);
}

bool NamesOk(const std::string& forms, const Name& name) {
    for (const std::string& f : name.forms)
        if (Contains(forms, f))
            return true;
    return false;
}

std::string FormsShown(const Name& name) {
    std::string s;
    for (const std::string& f : name.forms)
        s += (s.empty() ? "" : " or ") + Shown(f);
    return s;
}

bool ReadNames(const NamesLanguage& lang,
               const std::map<std::string, std::vector<std::string>>& places,
               std::map<std::string, Name>& names) {
    std::vector<SourceRow> rows;
    if (!ReadSourceRows((std::filesystem::path(lang.source) / "names.tsv").string(), rows))
        return false;
    bool ok = true;
    for (const SourceRow& row : rows) {
        if (row.fields.size() < 2 || row.fields.size() > 3 || row.fields[1].empty()) {
            ok = Fail(row.where, "expected key<TAB>name or key<TAB>name<TAB>avoid");
            continue;
        }
        const std::string& key = row.fields[0];
        if (!places.count(key)) {
            ok = Fail(row.where, "\"" + key + "\" is not a key of the places");
            continue;
        }
        if (names.count(key)) {
            ok = Fail(row.where, "\"" + key + "\" appears twice");
            continue;
        }
        Name name;
        ok = Forms(row.where, row.fields[1], name.forms) && ok;
        if (row.fields.size() == 3)
            ok = Forms(row.where, row.fields[2], name.avoid) && ok;
        names.emplace(key, std::move(name));
    }
    for (const auto& [key, where] : places)
        if (!names.count(key))
            ok = Fail(lang.source + "/names.tsv", "lacks the name of \"" + key + "\"");
    return ok;
}

bool CheckPlaces(const NamesLanguage& lang, const std::string& helpDir,
                 const std::map<std::string, std::vector<std::string>>& places,
                 const std::map<std::string, Name>& names) {
    bool ok = true;
    for (const auto& [key, where] : places) {
        const auto name = names.find(key);
        if (name == names.end())
            continue;
        for (const std::string& place : where) {
            if (place.rfind(kHelpPlace, 0) == 0) {
                for (const char* mode : kHelpModes) {
                    const std::filesystem::path path = std::filesystem::path(helpDir) /
                                                       (mode + lang.helpSuffix) /
                                                       (place.substr(5) + ".html");
                    bool found = false;
                    const std::string title = Title(HelpPage(path, found));
                    if (!found)
                        ok = Fail(path.string(), "is missing");
                    else if (!NamesOk(title, name->second))
                        ok = Fail(path.string(), "title " + Shown(title) + " does not name \"" +
                                                     key + "\" " + FormsShown(name->second));
                }
                continue;
            }
            const auto text = lang.texts.find(std::stoi(place));
            if (text == lang.texts.end())
                ok = Fail(lang.source, "lacks text " + place + " that names \"" + key + "\"");
            else if (!NamesOk(text->second.text, name->second))
                ok = Fail(lang.source, "text " + place + " " + Shown(text->second.text) +
                                           " does not name \"" + key + "\" " +
                                           FormsShown(name->second));
        }
    }
    return ok;
}

bool CheckAvoided(const NamesLanguage& lang, const std::string& helpDir,
                  const std::map<std::string, Name>& names) {
    bool ok = true;
    std::vector<std::pair<std::string, std::string>> all; // where, text
    for (const auto& [id, t] : lang.texts)
        all.emplace_back(lang.source + ": text " + std::to_string(id), t.text + '\t' + t.hint);
    for (const char* mode : kHelpModes) {
        const std::filesystem::path dir = std::filesystem::path(helpDir) / (mode + lang.helpSuffix);
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
            bool found = false;
            if (entry.path().extension() == ".html")
                all.emplace_back(entry.path().string(), HelpPage(entry.path(), found));
        }
    }
    for (const auto& [key, name] : names)
        for (const std::string& avoid : name.avoid)
            for (const auto& [where, text] : all)
                if (Contains(text, avoid))
                    ok = Fail(where, "says " + Shown(avoid) + " for \"" + key + "\", named " +
                                         FormsShown(name));
    return ok;
}

} // namespace

bool CheckNames(const std::string& placesFile, const std::string& helpDir,
                const std::vector<NamesLanguage>& langs) {
    std::vector<SourceRow> rows;
    if (!ReadSourceRows(placesFile, rows))
        return false;
    bool ok = true;
    std::map<std::string, std::vector<std::string>> places;
    for (const SourceRow& row : rows) {
        const std::vector<std::string> where =
            row.fields.size() == 2 ? Split(row.fields[1], ' ') : std::vector<std::string>{};
        bool valid = !where.empty() && !row.fields[0].empty() && !places.count(row.fields[0]);
        for (const std::string& p : where) {
            const std::string id = p.rfind(kHelpPlace, 0) == 0 ? "" : p;
            if (!id.empty() &&
                (id.size() > 4 || id.find_first_not_of("0123456789") != std::string::npos))
                valid = false;
            if (id.empty() && p.size() == 5)
                valid = false;
        }
        if (!valid) {
            ok = Fail(row.where, "expected a new key<TAB>places (text ids, help:page)");
            continue;
        }
        places.emplace(row.fields[0], where);
    }
    for (const NamesLanguage& lang : langs) {
        std::map<std::string, Name> names;
        ok = ReadNames(lang, places, names) && ok;
        ok = CheckPlaces(lang, helpDir, places, names) && ok;
        ok = CheckAvoided(lang, helpDir, names) && ok;
    }
    return ok;
}
