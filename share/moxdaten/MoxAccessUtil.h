#pragma once
// Small text helpers shared by the accessor files. Every text of the record
// is a NUL-terminated byte string inside a fixed capacity; these helpers are
// the only places that copy into or out of such a field, so no copy can run
// past a field or a caller's buffer.

#include <cstddef>
#include <cstring>
#include <type_traits>

namespace moxaccess {

// Length of src, but never reading more than maxLen bytes (a field that lost
// its NUL through a raw block copy still reads safely).
inline size_t BoundedLen(const char* src, size_t maxLen) {
    const void* nul = std::memchr(src, '\0', maxLen);
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - src) : maxLen;
}

// Stores at most maxChars bytes of src (and never more than capacity - 1) and
// ends the field with NUL.
inline void StoreCut(char* field, size_t capacity, size_t maxChars, const char* src) {
    if (maxChars > capacity - 1)
        maxChars = capacity - 1;
    size_t n = std::strlen(src);
    if (n > maxChars)
        n = maxChars;
    std::memcpy(field, src, n);
    std::memset(field + n, 0, capacity - n);
}

// Stores src only when it fits (at most maxChars bytes); a longer text is
// refused and the field is kept. A null text is refused as well.
inline bool StoreWhole(char* field, size_t capacity, size_t maxChars, const char* src) {
    if (!src)
        return false;
    if (maxChars > capacity - 1)
        maxChars = capacity - 1;
    if (std::strlen(src) > maxChars)
        return false;
    StoreCut(field, capacity, maxChars, src);
    return true;
}

// Copies a field into the caller's buffer of destSize bytes, cut to fit, and
// always ends it with NUL. A null or empty buffer gets nothing (false).
inline bool CopyOut(char* dest, size_t destSize, const char* field, size_t capacity) {
    if (!dest || destSize == 0)
        return false;
    size_t n = BoundedLen(field, capacity);
    if (n > destSize - 1)
        n = destSize - 1;
    std::memcpy(dest, field, n);
    dest[n] = '\0';
    return true;
}

template <size_t N> inline bool CopyOut(char* dest, size_t destSize, const char (&field)[N]) {
    return CopyOut(dest, destSize, field, N);
}
// A null text is refused (false) and the field kept.
template <size_t N> inline bool StoreCut(char (&field)[N], size_t maxChars, const char* src) {
    if (!src)
        return false;
    StoreCut(field, N, maxChars, src);
    return true;
}
template <size_t N> inline bool StoreWhole(char (&field)[N], size_t maxChars, const char* src) {
    return StoreWhole(field, N, maxChars, src);
}
template <size_t N> inline void Clear(char (&field)[N]) {
    std::memset(field, 0, N);
}

// Sets a record or sub-record to all zero bits, padding included, so that two
// records with equal fields are equal byte for byte (files, memcmp checks).
template <typename T> inline void Zero(T& record) {
    static_assert(std::is_trivially_copyable_v<T>, "records are plain bytes");
    std::memset(static_cast<void*>(&record), 0, sizeof record);
}

} // namespace moxaccess
