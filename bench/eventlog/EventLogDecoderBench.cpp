// Decoding a full dump: both blocks filled with valid records up to the last
// byte that holds a whole one. The page decodes while the user waits, so the
// figure to watch is the median of one full decode.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EventLogDecoder.h"

namespace {

using mox::EventLogDecoder;
using Bytes = std::vector<std::uint8_t>;

Bytes Record(std::uint8_t type, std::int32_t time, const Bytes& payload) {
    Bytes r = {type, std::uint8_t(8 + payload.size())};
    for (int i = 0; i < 4; ++i) {
        r.push_back(std::uint8_t(std::uint32_t(time) >> (8 * i)));
    }
    r.insert(r.end(), payload.begin(), payload.end());
    std::uint16_t sum = 0;
    for (std::uint8_t b : r) {
        sum = std::uint16_t(sum + b);
    }
    r.push_back(std::uint8_t(sum));
    r.push_back(std::uint8_t(sum >> 8));
    return r;
}

// One record of each kind, payloads as the box writes them.
Bytes Payload(std::uint8_t type, int i) {
    const std::uint8_t v = std::uint8_t(i);
    switch (type) {
    case 2:
    case 16:
        return {v, 0, 0, 0, 'F', 'e', 'h', 'l', 'e', 'r', ' ', '4', '2', 0};
    case 3:
    case 4:
    case 6:
    case 7:
    case 10:
    case 11:
        return {v};
    case 14:
    case 15:
        return {'B', 'u', 's', ' ', 'A', 'd', 'r', 'e', 's', 's', 'e', ' ', '7', '0'};
    default:
        return {};
    }
}

std::unique_ptr<EventLogDecoder::Dump> FullDump(bool smallest) {
    auto dump = std::make_unique<EventLogDecoder::Dump>();
    dump->fill(0xFF);
    for (int block = 0; block < 2; ++block) {
        const std::size_t base = std::size_t(block) * EventLogDecoder::kBlockSize;
        (*dump)[base] = 0x00;
        std::size_t p = 1;
        for (int i = 0;; ++i) {
            const std::uint8_t type = smallest ? 1 : std::uint8_t(1 + i % 17);
            const Bytes r = Record(type, 1000000000 + 60 * i, Payload(type, i));
            if (p + r.size() > EventLogDecoder::kBlockSize) {
                break;
            }
            std::copy(r.begin(), r.end(), dump->begin() + long(base + p));
            p += r.size();
        }
    }
    return dump;
}

void Decode(benchmark::State& state, bool smallest) {
    const auto dump = FullDump(smallest);
    EventLogDecoder decoder(nullptr);
    std::string listing;
    for (auto _ : state) {
        decoder.Decode(*dump, listing);
        benchmark::DoNotOptimize(listing.data());
    }
    state.counters["lines"] = double(std::count(listing.begin(), listing.end(), '\n'));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(dump->size()));
}

void BM_DecodeFullDumpMixed(benchmark::State& state) {
    Decode(state, false);
}
void BM_DecodeFullDumpSmallestRecords(benchmark::State& state) {
    Decode(state, true);
}

BENCHMARK(BM_DecodeFullDumpMixed)->Unit(benchmark::kMicrosecond)->Repetitions(9);
BENCHMARK(BM_DecodeFullDumpSmallestRecords)->Unit(benchmark::kMicrosecond)->Repetitions(9);

}  // namespace
