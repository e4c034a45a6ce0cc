// A module file's resources: whatever the file holds, the section is found
// inside it or refused, and its text is read or refused, without reading
// outside the bytes given. The input is taken both as a whole ELF image and
// as the section's text.

#include "ElfSection.h"
#include "ModuleResources.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> image(data, size);
    if (const auto section = mox::com::FindElfSection(image, mox::com::kModuleResourceSection)) {
        if (section->data() < data || section->data() + section->size() > data + size)
            std::abort();
        mox::com::ParseModuleResources(
            {reinterpret_cast<const char*>(section->data()), section->size()});
    }
    if (const auto r = mox::com::ParseModuleResources({reinterpret_cast<const char*>(data), size}))
        if (mox::com::FormatModuleResources(*r).empty())
            std::abort();
    return 0;
}
