#pragma once
// Helpers of the record tests: a fixture with a freshly initialised record,
// a byte snapshot to prove that a refused call changed nothing, and text
// getters wrapped into std::string.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "MoxAccess.h"
#include "MoxDaten.h"

namespace moxtest {

// The record is large; tests keep it on the heap.
inline std::unique_ptr<MoxDaten> NewRecord() {
    auto d = std::make_unique<MoxDaten>();
    MoxInitDaten(d.get());
    return d;
}

// A byte copy of a record, to compare the whole record after a call.
class Snapshot {
public:
    explicit Snapshot(const MoxDaten& d) : m_copy(std::make_unique<MoxDaten>()) {
        std::memcpy(static_cast<void*>(m_copy.get()), &d, sizeof d);
    }
    bool Unchanged(const MoxDaten& d) const { return std::memcmp(m_copy.get(), &d, sizeof d) == 0; }

private:
    std::unique_ptr<MoxDaten> m_copy;
};

class RecordTest : public testing::Test {
protected:
    void SetUp() override { m_rec = NewRecord(); }
    MoxDaten* Rec() { return m_rec.get(); }

    std::unique_ptr<MoxDaten> m_rec;
};

using TextGetter = std::function<bool(const MoxDaten*, char*, size_t)>;

// The text a getter yields, or "<refused>" when it returns false.
inline std::string GetText(const TextGetter& get, const MoxDaten* d) {
    char buf[256];
    std::memset(buf, 0x5A, sizeof buf);
    if (!get(d, buf, sizeof buf))
        return "<refused>";
    return buf;
}

inline std::string Repeat(char c, size_t n) {
    return std::string(n, c);
}

} // namespace moxtest
