// Drives every reader of the tagged stream over arbitrary bytes: nothing may
// be read or written outside the image or a destination, whatever the bytes.

#include "TaggedStream.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

// Fields a little smaller than the largest ones of the record, on the heap
// at their exact size so that an overrun is caught.
constexpr std::uint16_t kTextField = 31;
constexpr std::uint16_t kRnrDigits = 24;

std::uint16_t ReadOne(TaggedStream* s, std::uint8_t choice) {
    switch (choice % 9) {
    case 0: {
        std::uint32_t v;
        return TagStrReadInt(s, &v);
    }
    case 1: {
        std::uint16_t v;
        return TagStrReadWord(s, &v);
    }
    case 2: {
        std::uint32_t v;
        return TagStrReadLong(s, &v);
    }
    case 3: {
        std::uint8_t v;
        return TagStrReadByte(s, &v);
    }
    case 4: {
        std::unique_ptr<char[]> text(new char[kTextField]);
        const std::uint16_t n = TagStrReadString(s, text.get(), kTextField);
        Check(std::memchr(text.get(), '\0', kTextField) != nullptr);
        return n;
    }
    case 5: {
        std::unique_ptr<char[]> digits(new char[kRnrDigits + 1]);
        const std::uint16_t n = TagStrReadRnr(s, digits.get(), kRnrDigits);
        Check(std::memchr(digits.get(), '\0', kRnrDigits + 1) != nullptr);
        return n;
    }
    case 6: {
        std::uint16_t len;
        return TagStrReadLen(s, &len);
    }
    case 7: {
        // A string into a one-byte field: only the NUL fits.
        char one[1];
        const std::uint16_t n = TagStrReadString(s, one, 1);
        Check(one[0] == '\0');
        return n;
    }
    default:
        return TagStrSkip(s);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<std::uint8_t[]> image(new std::uint8_t[size ? size : 1]);
    if (size > 0) {
        std::memcpy(image.get(), data, size);
    }

    // Pass 1: the image reader's shape, tag then a reader picked by the tag.
    // Pass 2: every reader tried at the start, in turn, with fresh state.
    TaggedStream s;
    TagStrAttach(&s, image.get(), size);
    for (;;) {
        const std::uint32_t before = TagStrLen(&s);
        std::int32_t tag;
        const std::uint16_t tagBytes = TagStrReadTag(&s, &tag);
        Check(TagStrLen(&s) == before + tagBytes);
        if (tag == TAGSTR_END) {
            break;
        }
        Check(tag >= 0 && static_cast<std::uint32_t>(tag) < TAGSTR_TAG_LIMIT);
        const std::uint32_t start = TagStrLen(&s);
        const std::uint16_t n = ReadOne(&s, static_cast<std::uint8_t>(tag));
        Check(TagStrLen(&s) == start + n);
        // A reader that succeeds always consumes its length field.
        Check(TagStrFailed(&s) == (n == 0));
        Check(TagStrLen(&s) <= size);
    }

    for (std::uint8_t choice = 0; choice < 9; ++choice) {
        TagStrAttach(&s, image.get(), size);
        const std::uint16_t n = ReadOne(&s, choice);
        Check(TagStrLen(&s) == n && n <= size);
        Check(TagStrFailed(&s) == (n == 0));
    }

    // The image itself is never written by a reader.
    Check(size == 0 || std::memcmp(image.get(), data, size) == 0);
    return 0;
}
