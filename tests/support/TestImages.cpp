#include "TestImages.h"

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "TKtxImage.h"

#include <memory>

std::vector<std::uint8_t> TaggedImage(const std::function<void(MoxDaten*)>& edit) {
    auto data = std::make_unique<MoxDaten>();
    MoxInitDaten(data.get());
    if (edit)
        edit(data.get());
    std::vector<std::uint8_t> image(TKtxImage::kSize);
    TKtxImage::Build(data.get(), image.data());
    return image;
}
