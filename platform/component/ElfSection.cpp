#include "ElfSection.h"

#include <elf.h>

#include <bit>
#include <cstring>

namespace mox::com {

namespace {

// Headers are copied out as they stand in the file.
static_assert(std::endian::native == std::endian::little);

bool Fail(std::string* error, const char* why) {
    if (error)
        *error = why;
    return false;
}

// Whether [offset, offset + size) lies inside an image of imageSize bytes,
// without overflow.
bool Inside(uint64_t offset, uint64_t size, size_t imageSize) {
    return offset <= imageSize && size <= imageSize - offset;
}

template <class T>
T ReadAt(std::span<const uint8_t> image, uint64_t offset) {
    T value;
    std::memcpy(&value, image.data() + offset, sizeof value);
    return value;
}

template <class Ehdr, class Shdr>
std::optional<std::span<const uint8_t>> Find(std::span<const uint8_t> image,
                                             std::string_view name, std::string* error) {
    if (image.size() < sizeof(Ehdr)) {
        Fail(error, "the file is too short for an ELF header");
        return std::nullopt;
    }
    const auto eh = ReadAt<Ehdr>(image, 0);
    if (eh.e_shoff == 0) {
        Fail(error, "the file has no section table");
        return std::nullopt;
    }
    if (eh.e_shentsize < sizeof(Shdr)) {
        Fail(error, "the section table's entries are too short");
        return std::nullopt;
    }
    const auto section = [&](uint64_t index) -> std::optional<Shdr> {
        const uint64_t at = eh.e_shoff + index * eh.e_shentsize;
        if (!Inside(eh.e_shoff, (index + 1) * eh.e_shentsize, image.size()))
            return std::nullopt;
        return ReadAt<Shdr>(image, at);
    };
    // Counts that do not fit the header stand in the first entry.
    uint64_t count = eh.e_shnum;
    uint64_t names = eh.e_shstrndx;
    if (count == 0 || names == SHN_XINDEX) {
        const auto first = section(0);
        if (!first) {
            Fail(error, "the section table lies outside the file");
            return std::nullopt;
        }
        if (count == 0)
            count = first->sh_size;
        if (names == SHN_XINDEX)
            names = first->sh_link;
    }
    // An entry takes at least sizeof(Shdr) bytes, so a count beyond this
    // cannot be real (and the products below cannot overflow).
    if (count > image.size() / sizeof(Shdr) ||
        !Inside(eh.e_shoff, count * eh.e_shentsize, image.size())) {
        Fail(error, "the section table lies outside the file");
        return std::nullopt;
    }
    if (names >= count) {
        Fail(error, "the file has no table of section names");
        return std::nullopt;
    }
    const Shdr strtab = *section(names);
    if (strtab.sh_type != SHT_STRTAB || !Inside(strtab.sh_offset, strtab.sh_size, image.size())) {
        Fail(error, "the table of section names lies outside the file");
        return std::nullopt;
    }
    const std::string_view nameTable(reinterpret_cast<const char*>(image.data()) + strtab.sh_offset,
                                     static_cast<size_t>(strtab.sh_size));
    for (uint64_t i = 1; i < count; ++i) {
        const Shdr sh = *section(i);
        if (sh.sh_name >= nameTable.size())
            continue;
        const std::string_view rest = nameTable.substr(sh.sh_name);
        const size_t end = rest.find('\0');
        if (end == std::string_view::npos || rest.substr(0, end) != name)
            continue;
        if (sh.sh_type == SHT_NOBITS || !Inside(sh.sh_offset, sh.sh_size, image.size())) {
            Fail(error, "the section's contents lie outside the file");
            return std::nullopt;
        }
        return image.subspan(static_cast<size_t>(sh.sh_offset), static_cast<size_t>(sh.sh_size));
    }
    if (error)
        *error = "the file has no section " + std::string(name);
    return std::nullopt;
}

} // namespace

std::optional<std::span<const uint8_t>> FindElfSection(std::span<const uint8_t> image,
                                                       std::string_view name,
                                                       std::string* error) {
    if (image.size() < EI_NIDENT || std::memcmp(image.data(), ELFMAG, SELFMAG) != 0) {
        Fail(error, "the file is no ELF file");
        return std::nullopt;
    }
    if (image[EI_DATA] != ELFDATA2LSB) {
        Fail(error, "the file is no little-endian ELF file");
        return std::nullopt;
    }
    switch (image[EI_CLASS]) {
    case ELFCLASS64:
        return Find<Elf64_Ehdr, Elf64_Shdr>(image, name, error);
    case ELFCLASS32:
        return Find<Elf32_Ehdr, Elf32_Shdr>(image, name, error);
    default:
        Fail(error, "the file is an ELF file of an unknown class");
        return std::nullopt;
    }
}

} // namespace mox::com
