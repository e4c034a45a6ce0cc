#include "TPrintPG.h"

#include "PrintFormat.h"
#include "PrintTextIds.h"
#include "TMoxDocument.h"

namespace {

// Dial-in is a right of door-interface type 3 only; the other types print
// "no" whatever the record holds.
constexpr std::uint8_t kTypeITEinwahl = 3;
constexpr double kRight = 85; // left edge of the right column
// A yes or no from the left edge of its column: the captions of both
// columns take one line in most languages.
constexpr double kYesNo = 70;
// The group's subscriber from the right column's edge.
constexpr double kTlnValue = 55;

} // namespace

TPrintPG::TPrintPG() : TPrintBasis("TPrintPG") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 10);
    QRLabel1 = Heading(title, "QRLabel1", 229);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 10);
    title->LinkBand = detail;

    m_pLabelBerechtigungsgruppe = Value(detail, "m_pLabelBerechtigungsgruppe", 0, 2);
    m_pLabelBerechtigungsgruppe->Bold = true;
    double y = 2 + kLine + 1;
    Caption(detail, "Caption301", 0, y, 301);
    m_pPin = Value(detail, "m_pPin", kYesNo, y);
    m_pTlnLabel = Value(detail, "m_pTlnLabel", kRight, y);
    m_pTln = Value(detail, "m_pTln", kRight + kTlnValue, y);
    y += kLine + 1;

    const double groupTop = y;
    auto yesNo = [this](std::uint8_t (TMoxDocument::*getter)(std::uint8_t) const) {
        return [this, getter](std::uint8_t i) { return YesNo((m_pDoc->*getter)(i)); };
    };
    auto number = [this](bool (TMoxDocument::*getter)(std::uint8_t, char*, std::size_t) const) {
        return [this, getter](std::uint8_t i) {
            return DocText([&](char* b, std::size_t n) { return (m_pDoc->*getter)(i, b, n); });
        };
    };
    auto add = [&](double left, double& rowY, int tag, const char* name,
                   std::function<QString(std::uint8_t)> fill) {
        TReportLabel* value = Row(detail, rowY, tag, name, left, left + kYesNo);
        m_Rows.push_back({value, std::move(fill)});
    };
    // A number takes the whole width of its column, on the line below its
    // caption: 24 digits do not fit beside it.
    auto addNumber = [&](double& rowY, int tag, const char* name,
                         std::function<QString(std::uint8_t)> fill) {
        TReportLabel* caption = Caption(detail, "Caption" + std::to_string(tag), 0, rowY, tag);
        caption->WordWrap = true;
        caption->Width = kRight - 2;
        caption->Height = kLineText;
        rowY += kLine;
        TReportLabel* value = Value(detail, name, kIndent, rowY, kRight - 2 - kIndent);
        rowY += kLine;
        m_Rows.push_back({value, std::move(fill)});
    };

    // Left column: the functions.
    double yl = groupTop;
    Caption(detail, "Caption305", 0, yl, 305, true);
    yl += kLine;
    add(0, yl, 307, "m_pTuerOeffnen", yesNo(&TMoxDocument::GetPGTueroeffner));
    add(0, yl, 308, "m_pLicht", yesNo(&TMoxDocument::GetPGLicht));
    add(0, yl, 310, "m_pTueranwahl", yesNo(&TMoxDocument::GetPGTueranwahl));
    add(0, yl, 311, "m_pMfr", yesNo(&TMoxDocument::GetPGMultifktRelais));
    add(0, yl, 335, "m_pEinwahl", [this](std::uint8_t i) {
        return YesNo(TypeIT() == kTypeITEinwahl ? m_pDoc->GetPGEinwahl(i) : 0);
    });
    Caption(detail, "Caption302", 0, yl, 302, true);
    yl += kLine;
    add(0, yl, 337, "m_pTuermatikEinAus", yesNo(&TMoxDocument::GetPGTuermatikEin));
    add(0, yl, 313, "m_pTuermatik", yesNo(&TMoxDocument::GetPGTuermatik));
    add(0, yl, 377, "m_pTuermatikSignal", yesNo(&TMoxDocument::GetPGTuermatikSignal));
    add(0, yl, 338, "m_pKettenrufEin", yesNo(&TMoxDocument::GetPGKettenrufEin));
    add(0, yl, 314, "m_pKettenruf", yesNo(&TMoxDocument::GetPGKettenruf));
    addNumber(yl, 318, "m_pKettenRnr", number(&TMoxDocument::GetPGKettenRnr));
    add(0, yl, 339, "m_pSignalEin", yesNo(&TMoxDocument::GetPGSignalisierungEin));
    add(0, yl, 315, "m_pSignal", yesNo(&TMoxDocument::GetPGSignalisierung));
    addNumber(yl, 319, "m_pSignalRnr", number(&TMoxDocument::GetPGSignalRnr));
    add(0, yl, 347, "m_pRufumleitungEin", yesNo(&TMoxDocument::GetPGDiversionEin));
    add(0, yl, 316, "m_pRufumleitung", yesNo(&TMoxDocument::GetPGDiversion));
    addNumber(yl, 320, "m_pRufumleitungRnr", number(&TMoxDocument::GetPGDiversionRnr));

    // Right column: switching codes, the controller and its outputs, under
    // the switching codes' heading beside the basic functions'.
    double yr = groupTop;
    Caption(detail, "Caption306", kRight, yr, 306, true);
    yr += kLine;
    constexpr std::array<int, 6> kCodeTags = {336, 355, 356, 357, 358, 359};
    for (std::size_t n = 0; n < kCodeTags.size(); ++n) {
        const std::string name = "m_pCode5" + std::to_string(n + 1);
        add(kRight, yr, kCodeTags[n], name.c_str(), [this, n](std::uint8_t i) {
            return YesNo(m_pDoc->GetPGSchaltcode(i, static_cast<std::uint8_t>(n)));
        });
    }
    add(kRight, yr, 367, "m_pCode78", yesNo(&TMoxDocument::GetPGSchaltcode78));
    add(kRight, yr, 312, "m_pEIBEin", yesNo(&TMoxDocument::GetPGRAK));
    for (std::uint8_t n = 0; n < 12; ++n) {
        const std::string name = "m_pAktor" + std::to_string(n + 1);
        add(kRight, yr, 321 + n, name.c_str(),
            [this, n](std::uint8_t i) { return YesNo(m_pDoc->GetPGSchaltausgang(i, n)); });
    }
    detail->Height = std::max(yl, yr) + 3;

    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
    r.OnNeedData = [this](TReport& rep) { return OnNeedData(rep); };
}

void TPrintPG::BeforePrint(TReport&) {
    m_nRow = 0;
}

bool TPrintPG::OnNeedData(TReport&) {
    if (!m_pDoc || m_nRow >= m_pDoc->GetAnzPG())
        return false;
    const auto i = static_cast<std::uint8_t>(m_nRow);
    m_pLabelBerechtigungsgruppe->Caption = Text(prtxt::kPGHeading) + QLatin1Char(' ') + PGName(i);
    m_pTlnLabel->Caption = TlnLabel();
    m_pPin->Caption = DocText([&](char* b, std::size_t n) { return m_pDoc->GetPGPin(i, b, n); });
    const std::uint16_t tln = m_pDoc->GetPGTlnIdx(i);
    m_pTln->Caption = tln == kTlnNone ? Text(prtxt::kTlnNone) : TlnRef(tln);
    for (const ValueRow& row : m_Rows)
        row.label->Caption = row.fill(i);
    ++m_nRow;
    return true;
}
