#pragma once
// Result codes of the component layer: 32-bit words with the high bit set
// for a failure, with the numbers Windows gives them (E_FAIL, E_NOINTERFACE,
// SELFREG_E_CLASS ...), so that a host or a client of the bus control that
// tests a result against those numbers reads the same answer here.

#include <cstdint>

namespace mox::com {

using HRESULT = int32_t;

constexpr bool Succeeded(HRESULT hr) {
    return hr >= 0;
}
constexpr bool Failed(HRESULT hr) {
    return hr < 0;
}

constexpr HRESULT MakeFailure(uint32_t code) {
    return static_cast<HRESULT>(code);
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeFailure(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = MakeFailure(0x80004002u);
inline constexpr HRESULT E_POINTER = MakeFailure(0x80004003u);
inline constexpr HRESULT E_FAIL = MakeFailure(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = MakeFailure(0x8000FFFFu);
inline constexpr HRESULT E_OUTOFMEMORY = MakeFailure(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = MakeFailure(0x80070057u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeFailure(0x80020003u);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = MakeFailure(0x80020005u);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeFailure(0x8002000Eu);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeFailure(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeFailure(0x80040111u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = MakeFailure(0x80040154u);
inline constexpr HRESULT CONNECT_E_ADVISELIMIT = MakeFailure(0x80040201u);
inline constexpr HRESULT SELFREG_E_TYPELIB = MakeFailure(0x80040200u);
inline constexpr HRESULT SELFREG_E_CLASS = MakeFailure(0x80040201u);
// A module file that cannot be loaded or lacks an entry point.
inline constexpr HRESULT CO_E_DLLNOTFOUND = MakeFailure(0x800401F8u);
inline constexpr HRESULT CO_E_ERRORINDLL = MakeFailure(0x800401F9u);

} // namespace mox::com
