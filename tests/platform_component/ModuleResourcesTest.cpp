// A module's resources: written at compile time, read back from the text
// and from an ELF image, and every malformed block or image refused.

#include "ElfSection.h"
#include "ModuleResources.h"

#include <gtest/gtest.h>

#include <elf.h>

#include <cstring>
#include <string>
#include <vector>

using namespace mox::com;

namespace {

constexpr Guid kLib{0x69f31da8, 0xdf4d, 0x4904, {0x9b, 0x5b, 0xd4, 0xb4, 0x14, 0xcb, 0x64, 0x32}};
constexpr Guid kItf{0xaecbb314, 0xa7e2, 0x415d, {0x91, 0x44, 0xf2, 0xf7, 0x64, 0xbd, 0x2a, 0xe6}};
constexpr Guid kCls{0x94d575e4, 0xbc27, 0x4b7a, {0xb0, 0xab, 0x75, 0xca, 0xaf, 0x80, 0xbc, 0x68}};

constexpr TypeInfoDecl kTypes[] = {
    {TypeKind::DispInterface, "_DSample", kItf, "Dispatch-Schnittstelle f\u00fcr Sample"},
    {TypeKind::CoClass, "Sample", kCls, "Sample Control"},
};
constexpr ModuleResourceDecl kDecl{
    .fileVersion = {2, 0, 65535, 7},
    .fileDescription = "Sample-Modul",
    .productName = "Sample Module",
    .typeLibName = "SAMPLELib",
    .typeLibId = kLib,
    .typeLibMajor = 2,
    .typeLibMinor = 10,
    .typeLibHelpString = "Sample library",
    .typeLibHelpFile = "Sample.hlp",
    .types = kTypes,
};
// Made by the compiler, as a module's block is.
constexpr auto kBlock = ResourceBlock<ResourceTextSize(kDecl)>(kDecl);

const std::string kText =
    "MOXRSRC\t1\n"
    "FileVersion\t2.0.65535.7\n"
    "FileDescription\tSample-Modul\n"
    "ProductName\tSample Module\n"
    "TypeLib\t{69F31DA8-DF4D-4904-9B5B-D4B414CB6432}\t2.10\tSAMPLELib\tSample library\tSample.hlp\n"
    "DispInterface\t{AECBB314-A7E2-415D-9144-F2F764BD2AE6}\t_DSample\t"
    "Dispatch-Schnittstelle f\xC3\xBCr Sample\n"
    "CoClass\t{94D575E4-BC27-4B7A-B0AB-75CAAF80BC68}\tSample\tSample Control\n";

TEST(ModuleResources, CompiledBlockIsTheText) {
    EXPECT_EQ(std::string(kBlock.data(), kBlock.size()), kText);
}

TEST(ModuleResources, ReadBackAsDeclared) {
    std::string error;
    // The linker may pad the section behind the text.
    const auto r = ParseModuleResources(kText + std::string(5, '\0'), &error);
    ASSERT_TRUE(r) << error;
    EXPECT_EQ(r->FileVersionText(), "2.0.65535.7");
    EXPECT_EQ(r->fileDescription, "Sample-Modul");
    EXPECT_EQ(r->productName, "Sample Module");
    EXPECT_EQ(r->typeLib.name, "SAMPLELib");
    EXPECT_EQ(r->typeLib.libid, kLib);
    EXPECT_EQ(r->typeLib.Version(), "2.10");
    EXPECT_EQ(r->typeLib.helpString, "Sample library");
    EXPECT_EQ(r->typeLib.helpFile, "Sample.hlp");
    const std::vector<TypeInfoEntry> types{
        {TypeKind::DispInterface, "_DSample", kItf, "Dispatch-Schnittstelle f\xC3\xBCr Sample"},
        {TypeKind::CoClass, "Sample", kCls, "Sample Control"}};
    EXPECT_EQ(r->typeLib.types, types);
}

struct BadTextRow {
    const char* name;
    std::string from; // replaced in the good text...
    std::string to;   // ... by this
};

void PrintTo(const BadTextRow& row, std::ostream* os) {
    *os << row.name;
}

class ModuleResourcesRefused : public ::testing::TestWithParam<BadTextRow> {};

TEST_P(ModuleResourcesRefused, AsAWhole) {
    std::string text = kText;
    const size_t at = text.find(GetParam().from);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, GetParam().from.size(), GetParam().to);
    std::string error;
    EXPECT_FALSE(ParseModuleResources(text, &error));
    EXPECT_FALSE(error.empty());
}

const std::string kTypeLibLine =
    "TypeLib\t{69F31DA8-DF4D-4904-9B5B-D4B414CB6432}\t2.10\tSAMPLELib\tSample library\tSample.hlp\n";
const std::string kCoClassLine =
    "CoClass\t{94D575E4-BC27-4B7A-B0AB-75CAAF80BC68}\tSample\tSample Control\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, ModuleResourcesRefused,
    ::testing::Values(
        BadTextRow{"NoFormatLine", "MOXRSRC\t1\n", ""},
        BadTextRow{"UnknownFormat", "MOXRSRC\t1", "MOXRSRC\t2"},
        BadTextRow{"CutInALine", "Sample Control\n", "Sample Con"},
        BadTextRow{"Empty", kText, ""},
        BadTextRow{"UnknownRecord", "ProductName", "CompanyName"},
        BadTextRow{"VersionOfThreeNumbers", "2.0.65535.7", "2.0.65535"},
        BadTextRow{"VersionNumberTooBig", "2.0.65535.7", "2.0.65536.7"},
        BadTextRow{"VersionNotANumber", "2.0.65535.7", "2.0.x.7"},
        BadTextRow{"VersionSigned", "2.0.65535.7", "2.0.+5.7"},
        BadTextRow{"NoFileVersion", "FileVersion\t2.0.65535.7\n", ""},
        BadTextRow{"SecondFileVersion", "FileVersion\t2.0.65535.7\n",
                   "FileVersion\t2.0.65535.7\nFileVersion\t2.0.65535.7\n"},
        BadTextRow{"EmptyDescription", "FileDescription\tSample-Modul", "FileDescription\t"},
        BadTextRow{"DescriptionInTwoFields", "Sample-Modul", "Sample\tModul"},
        BadTextRow{"NoTypeLib", kTypeLibLine, ""},
        BadTextRow{"SecondTypeLib", kTypeLibLine, kTypeLibLine + kTypeLibLine},
        BadTextRow{"TypeLibWithoutHelpFile", "\tSample.hlp", ""},
        BadTextRow{"TypeLibVersionOfOneNumber", "\t2.10\t", "\t2\t"},
        BadTextRow{"TypeLibBadId", "{69F31DA8-DF4D", "{69F31DA8-XF4D"},
        BadTextRow{"TypeLibWithoutName", "\tSAMPLELib\t", "\t\t"},
        BadTextRow{"TypeBeforeTheLibrary", kTypeLibLine, ""},
        BadTextRow{"TypeNamedTwice", kCoClassLine, kCoClassLine + kCoClassLine},
        BadTextRow{"TypeWithoutHelpString", "\tSample\tSample Control", "\tSample"},
        BadTextRow{"TypeBadId", "{94D575E4-BC27", "94D575E4-BC27"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- ELF image

// A little ELF image of 64 bits: header, the section table (null entry,
// names, one section named ".mox_resources"), the names, the contents.
struct ElfImage {
    std::vector<uint8_t> bytes;
    static constexpr size_t kNamesAt = sizeof(Elf64_Ehdr) + 3 * sizeof(Elf64_Shdr);

    static ElfImage Make(const std::string& contents) {
        const std::string names = std::string("\0.shstrtab\0", 11) + kModuleResourceSection + '\0';
        ElfImage img;
        img.bytes.resize(kNamesAt + names.size() + contents.size());
        Elf64_Ehdr eh{};
        std::memcpy(eh.e_ident, ELFMAG, SELFMAG);
        eh.e_ident[EI_CLASS] = ELFCLASS64;
        eh.e_ident[EI_DATA] = ELFDATA2LSB;
        eh.e_ident[EI_VERSION] = EV_CURRENT;
        eh.e_shoff = sizeof(Elf64_Ehdr);
        eh.e_shentsize = sizeof(Elf64_Shdr);
        eh.e_shnum = 3;
        eh.e_shstrndx = 1;
        img.Put(0, eh);
        Elf64_Shdr strtab{};
        strtab.sh_name = 1;
        strtab.sh_type = SHT_STRTAB;
        strtab.sh_offset = kNamesAt;
        strtab.sh_size = names.size();
        img.Put(sizeof(Elf64_Ehdr) + sizeof(Elf64_Shdr), strtab);
        Elf64_Shdr rsrc{};
        rsrc.sh_name = 11;
        rsrc.sh_type = SHT_PROGBITS;
        rsrc.sh_offset = kNamesAt + names.size();
        rsrc.sh_size = contents.size();
        img.Put(sizeof(Elf64_Ehdr) + 2 * sizeof(Elf64_Shdr), rsrc);
        std::memcpy(img.bytes.data() + kNamesAt, names.data(), names.size());
        std::memcpy(img.bytes.data() + rsrc.sh_offset, contents.data(), contents.size());
        return img;
    }
    template <class T>
    void Put(size_t at, const T& v) {
        std::memcpy(bytes.data() + at, &v, sizeof v);
    }
    Elf64_Ehdr Header() const {
        Elf64_Ehdr eh;
        std::memcpy(&eh, bytes.data(), sizeof eh);
        return eh;
    }
    Elf64_Shdr Section(int i) const {
        Elf64_Shdr sh;
        std::memcpy(&sh, bytes.data() + sizeof(Elf64_Ehdr) + i * sizeof(Elf64_Shdr), sizeof sh);
        return sh;
    }
    void SetSection(int i, const Elf64_Shdr& sh) {
        Put(sizeof(Elf64_Ehdr) + i * sizeof(Elf64_Shdr), sh);
    }
};

TEST(ElfSection, FoundByName) {
    const ElfImage img = ElfImage::Make(kText);
    std::string error;
    const auto section = FindElfSection(img.bytes, kModuleResourceSection, &error);
    ASSERT_TRUE(section) << error;
    EXPECT_EQ(std::string(section->begin(), section->end()), kText);
    EXPECT_FALSE(FindElfSection(img.bytes, ".mox_resource", &error));
    EXPECT_FALSE(FindElfSection(img.bytes, ".mox_resources2", &error));
}

struct BadElfRow {
    const char* name;
    void (*spoil)(ElfImage&);
};

void PrintTo(const BadElfRow& row, std::ostream* os) {
    *os << row.name;
}

class ElfSectionRefused : public ::testing::TestWithParam<BadElfRow> {};

TEST_P(ElfSectionRefused, WithoutReadingOutside) {
    ElfImage img = ElfImage::Make(kText);
    GetParam().spoil(img);
    std::string error;
    EXPECT_FALSE(FindElfSection(img.bytes, kModuleResourceSection, &error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ElfSectionRefused,
    ::testing::Values(
        BadElfRow{"Empty", [](ElfImage& i) { i.bytes.clear(); }},
        BadElfRow{"NoMagic", [](ElfImage& i) { i.bytes[1] = 'X'; }},
        BadElfRow{"BigEndian", [](ElfImage& i) { i.bytes[EI_DATA] = ELFDATA2MSB; }},
        BadElfRow{"UnknownClass", [](ElfImage& i) { i.bytes[EI_CLASS] = 7; }},
        BadElfRow{"HeaderCut", [](ElfImage& i) { i.bytes.resize(sizeof(Elf64_Ehdr) - 1); }},
        BadElfRow{"NoSectionTable",
                  [](ElfImage& i) {
                      auto eh = i.Header();
                      eh.e_shoff = 0;
                      i.Put(0, eh);
                  }},
        BadElfRow{"SectionTableBeyondTheEnd",
                  [](ElfImage& i) {
                      auto eh = i.Header();
                      eh.e_shoff = i.bytes.size() - 10;
                      i.Put(0, eh);
                  }},
        BadElfRow{"SectionTableOffsetWraps",
                  [](ElfImage& i) {
                      auto eh = i.Header();
                      eh.e_shoff = ~uint64_t{0} - 8;
                      i.Put(0, eh);
                  }},
        BadElfRow{"EntriesTooShort",
                  [](ElfImage& i) {
                      auto eh = i.Header();
                      eh.e_shentsize = 8;
                      i.Put(0, eh);
                  }},
        BadElfRow{"HugeCountInFirstEntry",
                  [](ElfImage& i) {
                      auto eh = i.Header();
                      eh.e_shnum = 0;
                      i.Put(0, eh);
                      auto first = i.Section(0);
                      first.sh_size = ~uint64_t{0} / 2;
                      i.SetSection(0, first);
                  }},
        BadElfRow{"NamesIndexOutside",
                  [](ElfImage& i) {
                      auto eh = i.Header();
                      eh.e_shstrndx = 3;
                      i.Put(0, eh);
                  }},
        BadElfRow{"NamesNoStringTable",
                  [](ElfImage& i) {
                      auto sh = i.Section(1);
                      sh.sh_type = SHT_PROGBITS;
                      i.SetSection(1, sh);
                  }},
        BadElfRow{"NamesBeyondTheEnd",
                  [](ElfImage& i) {
                      auto sh = i.Section(1);
                      sh.sh_size = i.bytes.size();
                      i.SetSection(1, sh);
                  }},
        BadElfRow{"NameOffsetOutsideTheNames",
                  [](ElfImage& i) {
                      auto sh = i.Section(2);
                      sh.sh_name = 1000;
                      i.SetSection(2, sh);
                  }},
        BadElfRow{"NameNotEnded",
                  [](ElfImage& i) {
                      auto sh = i.Section(1);
                      sh.sh_size -= 1; // cuts the last name's NUL
                      i.SetSection(1, sh);
                  }},
        BadElfRow{"ContentsBeyondTheEnd",
                  [](ElfImage& i) {
                      auto sh = i.Section(2);
                      sh.sh_size += 1;
                      i.SetSection(2, sh);
                  }},
        BadElfRow{"ContentsNotInTheFile",
                  [](ElfImage& i) {
                      auto sh = i.Section(2);
                      sh.sh_type = SHT_NOBITS;
                      i.SetSection(2, sh);
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
