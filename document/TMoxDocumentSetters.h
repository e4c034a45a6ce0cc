#pragma once
// The three setter shapes of the document's facade, shared by its source
// files. Each reads the current value, marks the document modified when the
// new one differs (before the library's range check, so a refused value
// still marks it) and returns what the library answers. The setter's new
// value is named `text` or `value`.

// Text item: the current text goes into the scratch buffer and is compared
// as a NUL-terminated string.
#define MOX_DOC_TEXT_SETTER(Item, ...)                                                             \
    SetModified(TextDiffers(                                                                       \
        MoxGet##Item(m_pData.get() __VA_OPT__(, ) __VA_ARGS__, m_szScratch, sizeof m_szScratch),   \
        text));                                                                                    \
    return MoxSet##Item(m_pData.get() __VA_OPT__(, ) __VA_ARGS__, text)

// Flag item: any non-zero value sets it, so 1 and 5 are the same value.
#define MOX_DOC_FLAG_SETTER(Item, ...)                                                             \
    SetModified((value != 0) != (MoxGet##Item(m_pData.get() __VA_OPT__(, ) __VA_ARGS__) != 0));    \
    return MoxSet##Item(m_pData.get() __VA_OPT__(, ) __VA_ARGS__, value)

// Scalar item.
#define MOX_DOC_VALUE_SETTER(Item, ...)                                                            \
    SetModified(value != MoxGet##Item(m_pData.get() __VA_OPT__(, ) __VA_ARGS__));                  \
    return MoxSet##Item(m_pData.get() __VA_OPT__(, ) __VA_ARGS__, value)
