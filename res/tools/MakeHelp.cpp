// Writes the help folders of both modes from one source folder per language.
//
//   mox_makehelp OUTDIR SOURCE=SUFFIX ...
//
// Each ".html" page of SOURCE becomes OUTDIR/kktx_SUFFIX/<page> (standard
// mode) and OUTDIR/ektx_SUFFIX/<page> (expert mode). A line that starts with
// "<!--k-->" belongs to the standard page only, one that starts with
// "<!--e-->" to the expert page only; the marker itself is dropped. Every
// other line goes into both pages as it stands, so a page is written once
// and a fix reaches both modes.
//
// A page is rewritten only when its text changed, so a rebuild does not
// touch the pages the help window may have open. The build fails (exit 1,
// message naming the page) when a source cannot be read or a page cannot be
// written, or when a source holds no page at all.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kStandardOnly = "<!--k-->";
constexpr std::string_view kExpertOnly = "<!--e-->";

bool Fail(const std::string& where, const std::string& what) {
    std::fprintf(stderr, "mox_makehelp: %s: %s\n", where.c_str(), what.c_str());
    return false;
}

// The page of one mode: 'k' standard, 'e' expert.
std::string PageForMode(const std::string& source, char mode) {
    const std::string_view own = mode == 'k' ? kStandardOnly : kExpertOnly;
    const std::string_view other = mode == 'k' ? kExpertOnly : kStandardOnly;
    std::string page;
    page.reserve(source.size());
    size_t pos = 0;
    while (pos < source.size()) {
        size_t end = source.find('\n', pos);
        const bool lastWithoutBreak = end == std::string::npos;
        if (lastWithoutBreak)
            end = source.size();
        std::string_view line(source.data() + pos, end - pos);
        pos = lastWithoutBreak ? end : end + 1;
        if (line.starts_with(other))
            continue;
        if (line.starts_with(own))
            line.remove_prefix(own.size());
        page.append(line);
        if (!lastWithoutBreak)
            page.push_back('\n');
    }
    return page;
}

bool ReadAll(const std::filesystem::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail(path.string(), "cannot be read");
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad() || Fail(path.string(), "cannot be read");
}

bool WriteIfChanged(const std::filesystem::path& path, const std::string& text) {
    std::string old;
    if (std::ifstream in(path, std::ios::binary); in) {
        old.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (old == text)
            return true;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return out.good() || Fail(path.string(), "cannot be written");
}

bool MakeLanguage(const std::filesystem::path& source, const std::string& suffix,
                  const std::filesystem::path& outDir) {
    std::error_code ec;
    std::vector<std::filesystem::path> pages;
    for (const auto& entry : std::filesystem::directory_iterator(source, ec))
        if (entry.is_regular_file() && entry.path().extension() == ".html")
            pages.push_back(entry.path());
    if (ec)
        return Fail(source.string(), "cannot be read: " + ec.message());
    if (pages.empty())
        return Fail(source.string(), "holds no help page");
    std::sort(pages.begin(), pages.end());
    for (const char mode : {'k', 'e'}) {
        const std::filesystem::path folder = outDir / (std::string(1, mode) + "ktx_" + suffix);
        std::filesystem::create_directories(folder, ec);
        if (ec)
            return Fail(folder.string(), "cannot be made: " + ec.message());
        for (const auto& page : pages) {
            std::string text;
            if (!ReadAll(page, text) || !WriteIfChanged(folder / page.filename(), PageForMode(text, mode)))
                return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: mox_makehelp OUTDIR SOURCE=SUFFIX ...\n");
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t eq = arg.rfind('=');
        if (eq == std::string::npos || eq == 0 || eq + 1 == arg.size()) {
            std::fprintf(stderr, "mox_makehelp: bad argument %s\n", arg.c_str());
            return 2;
        }
        if (!MakeLanguage(arg.substr(0, eq), arg.substr(eq + 1), outDir))
            return 1;
    }
    return 0;
}
