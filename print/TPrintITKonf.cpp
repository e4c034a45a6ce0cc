#include "TPrintITKonf.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

namespace {
// Tones 1..3 print texts 420..422, the names the door page lists them by.
// Any other value is no tone the box knows; the ids around these belong
// to other texts, so it prints nothing.
constexpr int kTonFirst = 419;
constexpr std::uint8_t kTonMin = 1;
constexpr std::uint8_t kTonMax = 3;
constexpr std::uint8_t kEtagenTuer = 6;
constexpr std::size_t kDoorsIT1 = 3;
} // namespace

TPrintITKonf::TPrintITKonf() : TPrintBasis("TPrintITKonf") {
    TReport& r = *m_pReport;
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 10);
    QRLabel1 = Heading(detail, "QRLabel1", 234);
    Caption(detail, "Caption286", 10, 10, 286, true);
    Caption(detail, "Caption287", 110, 10, 287, true);
    double y = 16;
    for (std::size_t i = 0; i < m_pText.size(); ++i) {
        detail->AddLabel("Door" + std::to_string(i + 1), 0, y, QString::number(i + 1));
        m_pText[i] = Value(detail, "m_pText" + std::to_string(i + 1), 10, y, 95);
        m_pTon[i] = Value(detail, "m_pTon" + std::to_string(i + 1), 110, y);
        y += kLine;
    }
    m_pEtagenText = Value(detail, "m_pEtagenText", 10, y, 95);
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
}

void TPrintITKonf::BeforePrint(TReport&) {
    if (!m_pDoc)
        return;
    const TMoxDocument& d = *m_pDoc;
    const bool threeDoors = d.GetTypeIT() == 1;
    for (std::size_t i = 0; i < m_pText.size(); ++i) {
        const auto tuer = static_cast<std::uint8_t>(i);
        if (threeDoors && i >= kDoorsIT1) {
            m_pText[i]->Caption.clear();
            m_pTon[i]->Caption.clear();
            continue;
        }
        m_pText[i]->Caption =
            DocText([&](char* b, std::size_t n) { return d.GetTuerrufText(tuer, b, n); });
        const std::uint8_t ton = d.GetRufton(tuer);
        m_pTon[i]->Caption = ton >= kTonMin && ton <= kTonMax ? Text(kTonFirst + ton) : QString();
    }
    m_pEtagenText->Caption =
        DocText([&](char* b, std::size_t n) { return d.GetTuerrufText(kEtagenTuer, b, n); });
}
