// Feeds arbitrary bytes to the CAPI message parser the receive thread uses,
// then reads every parameter the parsed message claims to have, copies it
// and dumps it: nothing may read outside the bytes handed over.

#include "CapiMessage.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact heap copy, so a read past the end is caught.
    std::vector<std::uint8_t> bytes(data, data + size);
    CapiMessage msg;
    if (!msg.Parse(bytes.data(), bytes.size()))
        return 0;
    volatile std::uint64_t sink = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(CapiParam::Count); ++i) {
        const auto p = static_cast<CapiParam>(i);
        if (!msg.Has(p))
            continue;
        if (p >= CapiParam::CalledPartyNumber) {
            for (std::uint8_t b : msg.GetStruct(p))
                sink = sink + b;
        } else {
            sink = sink + msg.Get(p);
        }
    }
    sink = sink + msg.GetAddress() + msg.GetMsgNr();
    sink = sink + msg.Dump().size();
    CapiMessage copy;
    copy.Copy(msg);
    if (copy.IsEmpty() || copy.GetTotalLen() != msg.GetTotalLen() ||
        std::memcmp(copy.Bytes(), msg.Bytes(), msg.GetTotalLen()) != 0)
        __builtin_trap();
    CapiMessage again;
    if (!again.ParseCopy(bytes.data(), bytes.size()))
        __builtin_trap();
    return 0;
}
