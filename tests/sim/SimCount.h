#pragma once
// The count of a misbehaviour asked for: this many more times, for ever,
// or not at all.

namespace boxsim {

inline constexpr int kAlways = -1;

// Uses up one of the count; true when the misbehaviour applies this time.
inline bool TakeOne(int& count) {
    if (count == kAlways)
        return true;
    if (count <= 0)
        return false;
    --count;
    return true;
}

} // namespace boxsim
