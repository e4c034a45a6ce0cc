#pragma once
// What a component module tells about itself without being run, as a
// Windows module's resources do: its version block (file version, file
// description, product name) and its type library (name, id, version, help
// string, help file, and every dispatch interface and class with its id
// and help string).
//
// A module declares them once, at compile time (ModuleResourceDecl); they
// are written as lines of text into a section of their own in the module
// file (MOX_RESOURCE_SECTION), so the registration command reads them from
// the file the way a file's version is read, and the module registers its
// type library from the same lines. The text is UTF-8, one record a line,
// fields apart by tabs:
//   MOXRSRC         1
//   FileVersion     1.3.1.0
//   FileDescription <text>
//   ProductName     <text>
//   TypeLib         {library id}  1.3  <name>  <help string>  <help file>
//   DispInterface   {interface id}  <name>  <help string>
//   CoClass         {class id}  <name>  <help string>

#include "Guid.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The name of the section, as a literal for the section attribute.
#define MOX_RESOURCE_SECTION ".mox_resources"

namespace mox::com {

inline constexpr char kModuleResourceSection[] = MOX_RESOURCE_SECTION;

enum class TypeKind { DispInterface, CoClass };

// ---------------------------------------------------------------- declared

struct TypeInfoDecl {
    TypeKind kind;
    std::string_view name;
    Guid guid;
    std::string_view helpString;
};

struct ModuleResourceDecl {
    std::array<uint16_t, 4> fileVersion;
    std::string_view fileDescription;
    std::string_view productName;
    std::string_view typeLibName;
    Guid typeLibId;
    uint16_t typeLibMajor;
    uint16_t typeLibMinor;
    std::string_view typeLibHelpString;
    std::string_view typeLibHelpFile;
    std::span<const TypeInfoDecl> types;
};

// Writes the lines of a declaration; with no buffer it only counts. A text
// with a tab or a line break in it cannot be written: at compile time that
// is an error of the declaration.
class ResourceWriter {
public:
    constexpr ResourceWriter() = default;
    constexpr ResourceWriter(char* out, size_t capacity) : m_out(out), m_capacity(capacity) {}

    constexpr void Text(std::string_view s) {
        for (char c : s) {
            if (c == '\t' || c == '\n' || c == '\r' || c == '\0')
                throw std::invalid_argument("a resource text holds a tab or a line break");
            Put(c);
        }
    }
    constexpr void Tab() { Put('\t'); }
    constexpr void EndLine() { Put('\n'); }
    constexpr void Number(unsigned value) {
        char digits[10] = {};
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (n > 0)
            Put(digits[--n]);
    }
    // Upper-case braced form, as Guid::ToString writes it.
    constexpr void Id(const Guid& g) {
        Put('{');
        Hex(g.data1, 8);
        Put('-');
        Hex(g.data2, 4);
        Put('-');
        Hex(g.data3, 4);
        Put('-');
        Hex(g.data4[0], 2);
        Hex(g.data4[1], 2);
        Put('-');
        for (int i = 2; i < 8; ++i)
            Hex(g.data4[i], 2);
        Put('}');
    }
    constexpr size_t Size() const { return m_size; }

private:
    constexpr void Put(char c) {
        if (m_out && m_size < m_capacity)
            m_out[m_size] = c;
        ++m_size;
    }
    constexpr void Hex(uint32_t value, int digits) {
        for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
            Put("0123456789ABCDEF"[(value >> shift) & 0xF]);
    }

    char* m_out = nullptr;
    size_t m_capacity = 0;
    size_t m_size = 0;
};

// A record of one text: "<kind>\t<text>\n".
constexpr void WriteTextRecord(ResourceWriter& w, std::string_view kind, std::string_view text) {
    w.Text(kind);
    w.Tab();
    w.Text(text);
    w.EndLine();
}

constexpr void WriteResources(ResourceWriter& w, const ModuleResourceDecl& d) {
    WriteTextRecord(w, "MOXRSRC", "1");
    w.Text("FileVersion");
    w.Tab();
    for (size_t i = 0; i < d.fileVersion.size(); ++i) {
        if (i > 0)
            w.Text(".");
        w.Number(d.fileVersion[i]);
    }
    w.EndLine();
    WriteTextRecord(w, "FileDescription", d.fileDescription);
    WriteTextRecord(w, "ProductName", d.productName);
    w.Text("TypeLib");
    w.Tab();
    w.Id(d.typeLibId);
    w.Tab();
    w.Number(d.typeLibMajor);
    w.Text(".");
    w.Number(d.typeLibMinor);
    w.Tab();
    w.Text(d.typeLibName);
    w.Tab();
    w.Text(d.typeLibHelpString);
    w.Tab();
    w.Text(d.typeLibHelpFile);
    w.EndLine();
    for (const TypeInfoDecl& t : d.types) {
        w.Text(t.kind == TypeKind::DispInterface ? "DispInterface" : "CoClass");
        w.Tab();
        w.Id(t.guid);
        w.Tab();
        w.Text(t.name);
        w.Tab();
        w.Text(t.helpString);
        w.EndLine();
    }
}

constexpr size_t ResourceTextSize(const ModuleResourceDecl& d) {
    ResourceWriter w;
    WriteResources(w, d);
    return w.Size();
}

// The block a module places in MOX_RESOURCE_SECTION:
//   [[gnu::section(MOX_RESOURCE_SECTION), gnu::used]] constexpr auto kBlock =
//       ResourceBlock<ResourceTextSize(kDecl)>(kDecl);
template <size_t N>
constexpr std::array<char, N> ResourceBlock(const ModuleResourceDecl& d) {
    std::array<char, N> block{};
    ResourceWriter w(block.data(), N);
    WriteResources(w, d);
    return block;
}

// ---------------------------------------------------------------- read back

struct TypeInfoEntry {
    TypeKind kind = TypeKind::DispInterface;
    std::string name;
    Guid guid;
    std::string helpString;
    friend bool operator==(const TypeInfoEntry&, const TypeInfoEntry&) = default;
};

struct TypeLibInfo {
    std::string name;
    Guid libid;
    uint16_t major = 0;
    uint16_t minor = 0;
    std::string helpString;
    std::string helpFile;
    std::vector<TypeInfoEntry> types;
    // "1.3", as the registry names the library's version.
    std::string Version() const;
};

struct ModuleResources {
    std::array<uint16_t, 4> fileVersion{};
    std::string fileDescription;
    std::string productName;
    TypeLibInfo typeLib;
    // "1.3.1.0"
    std::string FileVersionText() const;
};

// Reads the lines back. Anything malformed, unknown, doubled or missing
// refuses the whole block (nullopt, and *error says why). The section may
// be padded with NULs at its end.
std::optional<ModuleResources> ParseModuleResources(std::string_view text,
                                                    std::string* error = nullptr);

// The resources of the module file at path, read from the file without
// loading it; nullopt (and *error) when the file cannot be read, is no
// ELF file, has no resource section or a malformed one.
std::optional<ModuleResources> ReadModuleResources(const std::string& path,
                                                   std::string* error = nullptr);

// The resources as the registration command prints them, one item a line.
std::string FormatModuleResources(const ModuleResources& r);

} // namespace mox::com
