#include "TPrintITKonf.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

#include <algorithm>

namespace {
// Tones 1..3 print texts 420..422, the names the door page lists them by.
// Any other value is no tone the box knows; the ids around these belong
// to other texts, so it prints nothing.
constexpr int kTonFirst = 419;
constexpr std::uint8_t kTonMin = 1;
constexpr std::uint8_t kTonMax = 3;
constexpr std::uint8_t kEtagenTuer = 6;
constexpr std::size_t kDoorsIT1 = 3;
// The text column, mm: right of the door numbers and of the floor call's
// caption, but never so far that the tones leave the page. Its width holds
// half of a text of 30 of the widest letters, so a text takes at most two
// lines.
constexpr double kTextMin = 10;
constexpr double kTextMax = 45;
constexpr double kTextWidth = 95;
constexpr double kGap = 3; // between the caption and the text, mm
} // namespace

TPrintITKonf::TPrintITKonf() : TPrintBasis("TPrintITKonf") {
    TReport& r = *m_pReport;
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 10);
    QRLabel1 = Heading(detail, "QRLabel1", 234);
    Caption(detail, "Caption286", 0, 10, 286, true);
    double y = 16;
    for (std::size_t i = 0; i < m_pText.size(); ++i) {
        m_pDoor[i] = detail->AddLabel("Door" + std::to_string(i + 1), 0, y);
        m_pText[i] = Value(detail, "m_pText" + std::to_string(i + 1), kTextMin, y, kTextWidth);
        m_pTon[i] =
            Value(detail, "m_pTon" + std::to_string(i + 1), kTextMin + kTextWidth + kGap, y);
        y += kLine;
    }
    y += 1;
    m_pEtagenLabel = Caption(detail, "Caption287", 0, y, 287);
    m_pEtagenLabel->WordWrap = true;
    m_pEtagenLabel->Height = kLineText;
    m_pEtagenText = Value(detail, "m_pEtagenText", kTextMin, y, kTextWidth);
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
}

void TPrintITKonf::PlaceColumns() {
    const double caption =
        ReportTextWidth(m_pEtagenLabel->FontSize, m_pEtagenLabel->Bold, Text(m_pEtagenLabel->Tag));
    const double left = std::clamp(caption + kGap, kTextMin, kTextMax);
    // A caption longer than the room before the texts wraps there; one that
    // fits keeps a little room, so that rounding does not wrap it.
    m_pEtagenLabel->Width = left - kGap / 2;
    for (std::size_t i = 0; i < m_pText.size(); ++i) {
        m_pText[i]->Left = left;
        m_pTon[i]->Left = left + kTextWidth + kGap;
    }
    m_pEtagenText->Left = left;
}

void TPrintITKonf::BeforePrint(TReport&) {
    PlaceColumns();
    if (!m_pDoc)
        return;
    const TMoxDocument& d = *m_pDoc;
    const bool threeDoors = d.GetTypeIT() == 1;
    for (std::size_t i = 0; i < m_pText.size(); ++i) {
        const auto tuer = static_cast<std::uint8_t>(i);
        if (threeDoors && i >= kDoorsIT1) {
            // No number for a door the door interface does not have.
            m_pDoor[i]->Caption.clear();
            m_pText[i]->Caption.clear();
            m_pTon[i]->Caption.clear();
            continue;
        }
        m_pDoor[i]->Caption = QString::number(i + 1);
        m_pText[i]->Caption =
            DocText([&](char* b, std::size_t n) { return d.GetTuerrufText(tuer, b, n); });
        const std::uint8_t ton = d.GetRufton(tuer);
        m_pTon[i]->Caption = ton >= kTonMin && ton <= kTonMax ? Text(kTonFirst + ton) : QString();
    }
    m_pEtagenText->Caption =
        DocText([&](char* b, std::size_t n) { return d.GetTuerrufText(kEtagenTuer, b, n); });
}
