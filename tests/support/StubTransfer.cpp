#include "StubTransfer.h"

#include "TMoxDocument.h"

#include <algorithm>
#include <cstring>

void StubTransfer::ServeRead(const std::vector<std::uint8_t>& image) {
    if (buf && !image.empty())
        std::memcpy(buf, image.data(), std::min<std::size_t>(image.size(), len));
}

int StubTransfer::SendPackages(TMoxDocument& doc) {
    // A document that never says "done" would hang the test: far more
    // packages than the largest configuration has end the run as failed.
    constexpr int kMaxPackages = 500;
    int packages = 1;
    for (int guard = 0; guard < kMaxPackages; ++guard) {
        doc.OnNeedTransferData();
        if (len == 0)
            return packages;
        doc.MoreAnlDataToComPort();
        ++packages;
    }
    return -1;
}
