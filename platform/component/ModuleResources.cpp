#include "ModuleResources.h"

#include "ElfSection.h"

#include <charconv>
#include <fstream>
#include <iterator>

namespace mox::com {

namespace {

// No module comes near this; a bigger file is not read into memory.
constexpr std::streamoff kMaxModuleFileBytes = 512LL * 1024 * 1024;

std::vector<std::string_view> Split(std::string_view line, char sep) {
    std::vector<std::string_view> fields;
    for (;;) {
        const size_t at = line.find(sep);
        fields.push_back(line.substr(0, at));
        if (at == std::string_view::npos)
            return fields;
        line.remove_prefix(at + 1);
    }
}

std::optional<uint16_t> ParseNumber(std::string_view text) {
    uint16_t value = 0;
    if (text.empty() || text.front() == '+' || text.front() == '-')
        return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// "a.b" or "a.b.c.d": exactly count numbers of 0..65535.
bool ParseVersion(std::string_view text, size_t count, uint16_t* out) {
    const auto parts = Split(text, '.');
    if (parts.size() != count)
        return false;
    for (size_t i = 0; i < count; ++i) {
        const auto n = ParseNumber(parts[i]);
        if (!n)
            return false;
        out[i] = *n;
    }
    return true;
}

std::optional<Guid> ParseId(std::string_view text) {
    return Guid::FromString(std::string(text));
}

class Parser {
public:
    explicit Parser(std::string* error) : m_error(error) {}

    std::optional<ModuleResources> Run(std::string_view text) {
        // The linker may pad the section; the text ends at the first NUL.
        text = text.substr(0, text.find('\0'));
        if (text.empty() || text.back() != '\n')
            return Fail(0, "the resources do not end with a whole line");
        text.remove_suffix(1);
        const auto lines = Split(text, '\n');
        for (size_t i = 0; i < lines.size(); ++i)
            if (!Line(i + 1, Split(lines[i], '\t')))
                return std::nullopt;
        if (!m_haveVersion)
            return Fail(0, "the resources have no file version");
        if (!m_haveTypeLib)
            return Fail(0, "the resources have no type library");
        return m_result;
    }

private:
    std::nullopt_t Fail(size_t line, const std::string& why) {
        if (m_error)
            *m_error = line ? "resource line " + std::to_string(line) + ": " + why : why;
        return std::nullopt;
    }
    bool Refuse(size_t line, const std::string& why) {
        Fail(line, why);
        return false;
    }

    bool Line(size_t n, const std::vector<std::string_view>& f) {
        const std::string_view kind = f[0];
        if (n == 1) {
            if (kind != "MOXRSRC" || f.size() != 2 || f[1] != "1")
                return Refuse(n, "not resources of a known format");
            return true;
        }
        if (kind == "FileVersion")
            return Version(n, f);
        if (kind == "FileDescription" || kind == "ProductName")
            return Text(n, f, kind == "FileDescription" ? m_result.fileDescription
                                                        : m_result.productName);
        if (kind == "TypeLib")
            return TypeLib(n, f);
        if (kind == "DispInterface" || kind == "CoClass")
            return TypeInfo(n, f);
        return Refuse(n, "unknown record \"" + std::string(kind) + "\"");
    }

    bool Version(size_t n, const std::vector<std::string_view>& f) {
        if (m_haveVersion)
            return Refuse(n, "a second file version");
        if (f.size() != 2 || !ParseVersion(f[1], 4, m_result.fileVersion.data()))
            return Refuse(n, "a file version is four numbers a.b.c.d");
        m_haveVersion = true;
        return true;
    }

    bool Text(size_t n, const std::vector<std::string_view>& f, std::string& into) {
        if (!into.empty())
            return Refuse(n, "a second " + std::string(f[0]));
        if (f.size() != 2 || f[1].empty())
            return Refuse(n, std::string(f[0]) + " wants one text");
        into = f[1];
        return true;
    }

    bool TypeLib(size_t n, const std::vector<std::string_view>& f) {
        if (m_haveTypeLib)
            return Refuse(n, "a second type library");
        if (f.size() != 6)
            return Refuse(n, "a type library wants id, version, name, help string, help file");
        auto& lib = m_result.typeLib;
        const auto id = ParseId(f[1]);
        uint16_t version[2] = {};
        if (!id || !ParseVersion(f[2], 2, version) || f[3].empty())
            return Refuse(n, "a type library wants an id, a version a.b and a name");
        lib.libid = *id;
        lib.major = version[0];
        lib.minor = version[1];
        lib.name = f[3];
        lib.helpString = f[4];
        lib.helpFile = f[5];
        m_haveTypeLib = true;
        return true;
    }

    bool TypeInfo(size_t n, const std::vector<std::string_view>& f) {
        if (!m_haveTypeLib)
            return Refuse(n, "a type outside a type library");
        const auto id = f.size() == 4 ? ParseId(f[1]) : std::nullopt;
        if (!id || f[2].empty())
            return Refuse(n, "a type wants an id, a name and a help string");
        for (const auto& t : m_result.typeLib.types)
            if (t.guid == *id || t.name == f[2])
                return Refuse(n, "a type named twice");
        m_result.typeLib.types.push_back(
            {f[0] == "CoClass" ? TypeKind::CoClass : TypeKind::DispInterface, std::string(f[2]),
             *id, std::string(f[3])});
        return true;
    }

    std::string* m_error;
    ModuleResources m_result;
    bool m_haveVersion = false;
    bool m_haveTypeLib = false;
};

} // namespace

std::string TypeLibInfo::Version() const {
    return std::to_string(major) + "." + std::to_string(minor);
}

std::string ModuleResources::FileVersionText() const {
    std::string text;
    for (size_t i = 0; i < fileVersion.size(); ++i)
        text += (i ? "." : "") + std::to_string(fileVersion[i]);
    return text;
}

std::optional<ModuleResources> ParseModuleResources(std::string_view text, std::string* error) {
    return Parser(error).Run(text);
}

std::optional<ModuleResources> ReadModuleResources(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        if (error)
            *error = "cannot read " + path;
        return std::nullopt;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxModuleFileBytes) {
        if (error)
            *error = path + " is no module file";
        return std::nullopt;
    }
    std::vector<uint8_t> image(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(image.data()), size)) {
        if (error)
            *error = "cannot read " + path;
        return std::nullopt;
    }
    std::string why;
    const auto section = FindElfSection(image, kModuleResourceSection, &why);
    if (!section) {
        if (error)
            *error = path + ": " + why;
        return std::nullopt;
    }
    auto resources = ParseModuleResources(
        std::string_view(reinterpret_cast<const char*>(section->data()), section->size()), &why);
    if (!resources && error)
        *error = path + ": " + why;
    return resources;
}

std::string FormatModuleResources(const ModuleResources& r) {
    const TypeLibInfo& lib = r.typeLib;
    std::string out;
    out += "File version:     " + r.FileVersionText() + "\n";
    out += "File description: " + r.fileDescription + "\n";
    out += "Product name:     " + r.productName + "\n";
    out += "Type library:     " + lib.name + " " + lib.libid.ToString() + ", version " +
           lib.Version() + "\n";
    out += "  help string:    " + lib.helpString + "\n";
    out += "  help file:      " + lib.helpFile + "\n";
    for (const auto& t : lib.types) {
        out += t.kind == TypeKind::CoClass ? "  coclass " : "  dispinterface ";
        out += t.name + " " + t.guid.ToString() + ": " + t.helpString + "\n";
    }
    return out;
}

} // namespace mox::com
