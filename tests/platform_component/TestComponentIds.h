#pragma once
// The class the test module serves, shared by the module and the tests.

#include "Guid.h"

namespace testcomponent {

inline constexpr mox::com::Guid kClsid{
    0x3e0b8a51, 0x2c7d, 0x4f19, {0x9a, 0x61, 0x5b, 0x0c, 0x7e, 0x44, 0xd2, 0x18}};
inline constexpr char kProgId[] = "MoxTest.Counter.1";

// Dispatch ids of the counter.
enum : int32_t {
    kDispValue = 1,     // property I4, read/write, persisted as "Value"
    kDispIncrement = 2, // method: Value += 1, fires kEventChanged
    kDispPostLater = 3, // method: a worker thread posts to the site; the
                        // posted call fires kEventChanged on the site's thread
    kDispSum = 4,       // method (ArrayI2) -> I4 sum of the elements
};
inline constexpr int32_t kEventChanged = 1;

} // namespace testcomponent
