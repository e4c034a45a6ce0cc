#pragma once
// Helpers of the ISDN link tests: a builder for CAPI messages as the
// network sends them, and a catcher for trace lines.

#include "MoxTrace.h"

#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <string>
#include <vector>

namespace capitest {

// Builds the bytes of one CAPI message: header, then parameters in order.
class Bytes {
public:
    Bytes(std::uint8_t cmd, std::uint8_t sub, std::uint16_t msgNr = 0x0102,
          std::uint16_t applId = 1)
        : m_b{0,   0,   static_cast<std::uint8_t>(applId), static_cast<std::uint8_t>(applId >> 8),
              cmd, sub, static_cast<std::uint8_t>(msgNr),  static_cast<std::uint8_t>(msgNr >> 8)} {
        Fix();
    }
    Bytes& B(std::uint8_t v) {
        m_b.push_back(v);
        return Fix();
    }
    Bytes& W(std::uint16_t v) {
        return B(static_cast<std::uint8_t>(v)).B(static_cast<std::uint8_t>(v >> 8));
    }
    Bytes& D(std::uint32_t v) {
        return W(static_cast<std::uint16_t>(v)).W(static_cast<std::uint16_t>(v >> 16));
    }
    Bytes& Q(std::uint64_t v) {
        return D(static_cast<std::uint32_t>(v)).D(static_cast<std::uint32_t>(v >> 32));
    }
    Bytes& S(std::initializer_list<std::uint8_t> content = {}) {
        B(static_cast<std::uint8_t>(content.size()));
        for (std::uint8_t c : content)
            B(c);
        return *this;
    }
    Bytes& Str(const std::string& content) {
        B(static_cast<std::uint8_t>(content.size()));
        for (char c : content)
            B(static_cast<std::uint8_t>(c));
        return *this;
    }
    // Overrides the total length (for broken messages).
    Bytes& Len(std::uint16_t len) {
        m_fixed = true;
        m_b[0] = static_cast<std::uint8_t>(len);
        m_b[1] = static_cast<std::uint8_t>(len >> 8);
        return *this;
    }
    const std::vector<std::uint8_t>& Vec() const { return m_b; }
    operator const std::vector<std::uint8_t>&() const { return m_b; }

private:
    Bytes& Fix() {
        if (!m_fixed) {
            m_b[0] = static_cast<std::uint8_t>(m_b.size());
            m_b[1] = static_cast<std::uint8_t>(m_b.size() >> 8);
        }
        return *this;
    }
    std::vector<std::uint8_t> m_b;
    bool m_fixed = false;
};

// Catches every trace line while it lives.
class TraceCatcher {
public:
    TraceCatcher() {
        {
            std::lock_guard<std::mutex> lock(Mutex());
            Lines().clear();
        }
        MoxSetTraceHook(&Hook);
    }
    ~TraceCatcher() { MoxSetTraceHook(nullptr); }
    bool Saw(const std::string& part) const {
        std::lock_guard<std::mutex> lock(Mutex());
        for (const auto& l : Lines())
            if (l.find(part) != std::string::npos)
                return true;
        return false;
    }

private:
    static void Hook(int, const char* text) {
        std::lock_guard<std::mutex> lock(Mutex());
        Lines().push_back(text);
    }
    static std::vector<std::string>& Lines() {
        static std::vector<std::string> lines;
        return lines;
    }
    static std::mutex& Mutex() {
        static std::mutex m;
        return m;
    }
};

} // namespace capitest
