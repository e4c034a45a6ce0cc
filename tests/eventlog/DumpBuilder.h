#pragma once
// A tiny builder of event-log dumps for the tests: an erased 16384-byte dump
// (all 0xFF) on the heap, exactly that size, so AddressSanitizer sees any
// read past its end. Records are appended to a block's chain with their
// length byte and sum filled in; broken records go in as raw bytes.

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "EventLogDecoder.h"

namespace mox::test {

using Bytes = std::vector<std::uint8_t>;
using Dump = EventLogDecoder::Dump;

inline Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

inline Bytes Int32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    return {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16), std::uint8_t(u >> 24)};
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

// A well-formed record: type, length, time, payload and the 16-bit sum of
// everything before the sum, low byte first.
inline Bytes MakeRecord(std::uint8_t type, std::int32_t time, const Bytes& payload = {}) {
    Bytes r = Cat({{type, std::uint8_t(8 + payload.size())}, Int32(time), payload});
    std::uint16_t sum = 0;
    for (std::uint8_t b : r) {
        sum = static_cast<std::uint16_t>(sum + b);
    }
    r.push_back(std::uint8_t(sum));
    r.push_back(std::uint8_t(sum >> 8));
    return r;
}

inline Bytes WithBadSum(Bytes record) {
    record.back() ^= 0x01;
    return record;
}

class DumpBuilder {
public:
    DumpBuilder() : m_dump(std::make_unique<Dump>()) { m_dump->fill(0xFF); }

    DumpBuilder& Header(int block, std::uint8_t value) {
        (*m_dump)[Base(block)] = value;
        return *this;
    }

    // Appends bytes to the block's chain as they stand.
    DumpBuilder& Append(int block, const Bytes& bytes) {
        Put(Base(block) + m_next[block], bytes);
        m_next[block] += bytes.size();
        return *this;
    }

    DumpBuilder& Record(int block, std::uint8_t type, std::int32_t time,
                        const Bytes& payload = {}) {
        return Append(block, MakeRecord(type, time, payload));
    }

    // Writes bytes at a dump offset; whatever would fall past the end is
    // dropped.
    DumpBuilder& Put(std::size_t pos, const Bytes& bytes) {
        for (std::size_t i = 0; i < bytes.size() && pos + i < m_dump->size(); ++i) {
            (*m_dump)[pos + i] = bytes[i];
        }
        return *this;
    }

    const Dump& Get() const { return *m_dump; }

    std::string AsString() const {
        return std::string(reinterpret_cast<const char*>(m_dump->data()), m_dump->size());
    }

private:
    static std::size_t Base(int block) { return std::size_t(block) * EventLogDecoder::kBlockSize; }

    std::unique_ptr<Dump> m_dump;
    std::size_t m_next[2] = {1, 1};
};

}  // namespace mox::test
