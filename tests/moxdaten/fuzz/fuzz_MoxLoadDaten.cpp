// Loads arbitrary bytes as a document image. Whatever the bytes: nothing is
// read or written outside the image or the record, the check pass and the
// load give the same verdict, the image itself stays untouched, and a loaded
// record writes an image that loads back to the very same image.

#include "MoxTagged.h"

#include "MoxDaten.h"
#include "TaggedStream.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr std::size_t kImageSize = 32768; // the document file and buffer

void Check(bool ok) {
    if (!ok)
        std::abort();
}

template <std::size_t N> bool Terminated(const char (&field)[N]) {
    return std::memchr(field, '\0', N) != nullptr;
}

// Texts and numbers read from an image always end within their field.
void CheckTexts(const MoxDaten& d) {
    Check(Terminated(d.Rnr) && Terminated(d.RnrExtBelegung) && Terminated(d.MasterPin));
    Check(Terminated(d.ConciergeRnr) && Terminated(d.EtagenrufText));
    Check(Terminated(d.VersionMox) && Terminated(d.VersionKMR));
    for (const auto& nr : d.Sperrnr)
        Check(Terminated(nr));
    for (const auto& tln : d.Tln)
        Check(Terminated(tln.Rnr));
    for (const auto& pg : d.PG)
        Check(Terminated(pg.Pin) && Terminated(pg.KettenRnr) && Terminated(pg.SignalRnr) &&
              Terminated(pg.DiversionRnr));
    for (const auto& text : d.MeldeeingangsText)
        Check(Terminated(text));
    for (const auto& text : d.SchaltausgangsText)
        Check(Terminated(text));
    for (const auto& text : d.TuerrufText)
        Check(Terminated(text));
    for (const auto& sms : d.SMS)
        Check(Terminated(sms.Provider) && Terminated(sms.Rnr));
    for (const auto& r : d.BSMRelais)
        Check(Terminated(r.Text));
    for (const auto& c : d.Schaltcode)
        Check(Terminated(c.Text));
}

uint16_t WriteWhole(MoxDaten* d, std::uint8_t* out) {
    MoxSetStreamBuffer(d, out, kImageSize);
    const uint16_t counted = MoxWriteTaggedData(d, eTaggedData_All, 255, false);
    const uint16_t written = MoxWriteTaggedData(d, eTaggedData_All, 255, true);
    Check(counted == written && written == MoxGetStreamLen(d));
    Check(!TagStrFailed(MoxGetStream(d)));
    return written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kImageSize)
        return 0;
    // The image at its exact size, so that any step past it is caught.
    std::unique_ptr<std::uint8_t[]> image(new std::uint8_t[size ? size : 1]);
    if (size > 0)
        std::memcpy(image.get(), data, size);

    auto loaded = std::make_unique<MoxDaten>();
    const bool ok = MoxLoadDaten(loaded.get(), image.get(), size);
    CheckTexts(*loaded);

    auto checked = std::make_unique<MoxDaten>();
    MoxInitDaten(checked.get());
    MoxSetStreamBuffer(checked.get(), image.get(), size);
    Check(MoxReadTaggedData(checked.get(), false) == ok);
    Check(size == 0 || std::memcmp(image.get(), data, size) == 0);

    // Whatever was loaded (the defaults, when refused) writes and reloads
    // stably.
    static std::uint8_t first[kImageSize];
    static std::uint8_t second[kImageSize];
    const uint16_t n = WriteWhole(loaded.get(), first);
    auto again = std::make_unique<MoxDaten>();
    Check(MoxLoadDaten(again.get(), first, kImageSize));
    Check(WriteWhole(again.get(), second) == n);
    Check(std::memcmp(first, second, n) == 0);
    return 0;
}
