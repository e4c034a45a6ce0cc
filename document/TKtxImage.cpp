#include "TKtxImage.h"

#include "MoxAccess.h"
#include "MoxTagged.h"

std::uint32_t TKtxImage::Build(MoxDaten* pData, std::uint8_t* image) {
    MoxSetStreamBuffer(pData, image, kSize);
    MoxClearStream(pData);
    // Files carry the version texts of the box and the camera device; only
    // the packages sent to the box leave them out.
    MoxSetIO_Version(pData, 1);
    MoxWriteTaggedData(pData, eTaggedData_All, 255, true);
    return MoxGetStreamLen(pData);
}
