// libFuzzer target: any bytes as an event-log dump. Input shorter than a
// dump goes through the short-read path (the rest stays erased), so the
// decoder sees every length byte at every position, near both block ends
// and the dump's end included.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "EventLogDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using mox::EventLogDecoder;
    const std::size_t n = size < EventLogDecoder::kDumpSize ? size : EventLogDecoder::kDumpSize;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), n));
    std::size_t statusBytes = 0;
    EventLogDecoder decoder([&](const std::string& t) { statusBytes += t.size(); });

    // Heap, exactly the dump's size, so any read past it is caught.
    auto dump = std::make_unique<EventLogDecoder::Dump>();
    if (!decoder.ReadDump(in, EventLogDecoder::kDumpSize, *dump)) {
        __builtin_trap();  // the size is right: reading must go on
    }
    std::string listing;
    decoder.Decode(*dump, listing);
    // Every line ends in CR LF.
    if (!listing.empty() && listing.compare(listing.size() - 2, 2, "\r\n") != 0) {
        __builtin_trap();
    }
    return 0;
}
