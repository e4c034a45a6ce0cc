// Build tool: writes "mox.def", the document file of a configuration that
// holds the data library's defaults and no SMS providers, so it serves every
// country. The image is built by the same code the document saves with, so
// the file is exactly what the program would write for that record.
//
// Usage: mkmoxdef <output path>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "MoxDaten.h"
#include "TKtxFile.h"
#include "TKtxImage.h"
#include "TPosixDocFileSystem.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <mox.def>\n", argc > 0 ? argv[0] : "mkmoxdef");
        return 2;
    }
    auto pData = std::make_unique<MoxDaten>();
    MoxInitDaten(pData.get());
    std::vector<std::uint8_t> image(TKtxImage::kSize);
    TKtxImage::Build(pData.get(), image.data());

    TKtxFile file(TPosixDocFileSystem::Instance());
    const eKtxFileResult r = file.WriteAtomic(argv[1], image.data(), image.size());
    if (r != eKtxFileOk) {
        std::fprintf(stderr, "mkmoxdef: %s: %s (%s)\n", argv[1], TKtxFile::ResultName(r),
                     std::strerror(file.GetLastErrno()));
        return 1;
    }
    return 0;
}
