#pragma once
// Owning pointer to a component interface: AddRef on copy, Release on reset.

#include "ComInterfaces.h"

#include <utility>

namespace mox::com {

template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a reference of its own.
    explicit ComPtr(T* p) : m_p(p) {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Adopts a reference the caller already owns.
    static ComPtr Attach(T* p) {
        ComPtr c;
        c.m_p = p;
        return c;
    }
    T* Detach() { return std::exchange(m_p, nullptr); }

    void Reset() {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // Out-parameter for calls that hand over a reference.
    void** PutVoid() {
        Reset();
        return reinterpret_cast<void**>(&m_p);
    }
    T** Put() {
        Reset();
        return &m_p;
    }

    // Another interface of the same object, or empty.
    template <class U> ComPtr<U> As() const {
        ComPtr<U> other;
        if (m_p)
            m_p->QueryInterface(U::kIid, other.PutVoid());
        return other;
    }

private:
    T* m_p = nullptr;
};

} // namespace mox::com
