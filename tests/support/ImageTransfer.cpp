#include "ImageTransfer.h"

#include "MoxAccess.h"
#include "TMoxDocument.h"

int ImageTransfer::ShowModal() {
    runs.push_back(mode);
    if (duringRun)
        duringRun();
    if (mode == 2) {
        ServeRead(readImage);
        return result;
    }
    if (mode != 1 || !buf || len == 0 || !doc)
        return 2;
    ioTlnAdr.push_back(MoxGetIO_TlnAdr(doc->GetDaten()));
    packages = SendPackages(*doc);
    return packages < 0 ? 2 : result;
}
