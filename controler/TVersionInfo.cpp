#include "TVersionInfo.h"

#include "MoxVersion.h"

TVersionInfo TVersionInfo::OfProgram() {
    TVersionInfo info;
    info.present = true;
    info.productName = MOX_PRODUCT_NAME;
    info.fileVersion = MOX_FILE_VERSION;
    info.fileFlags = MOX_FILE_FLAGS;
    return info;
}
