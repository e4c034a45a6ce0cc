#include "TPrintBasis.h"

#include "PrintFormat.h"
#include "PrintTextIds.h"
#include "TInvariant.h"
#include "TLogo.h"
#include "TMoxDocument.h"
#include "TextIds.h"
#include "TkResourcen.h"
#include "ViewTextIds.h"

namespace {

// Door-interface type 3 names its (at most four) subscribers by letter.
constexpr std::uint8_t kTypeITLetters = 3;
constexpr std::uint8_t kTypeIT1 = 1;
constexpr char kTlnLetters[] = {'A', 'B', 'C', 'D'};

} // namespace

TPrintBasis::TPrintBasis(std::string reportName)
    : m_pReport(std::make_unique<TReport>(std::move(reportName))) {
    TReport& r = *m_pReport;
    // A4 portrait in mm; the container's defaults are the program's page.
    r.Page = TReportPageFormat{};
    r.Options.FirstPageHeader = true;
    r.Options.LastPageFooter = true;
    r.Options.PrintIfEmpty = false;

    BasisTitleBand = r.AddBand(eBandType::PageHeader, "BasisTitleBand", 18);
    QRImage1 = BasisTitleBand->AddImage("QRImage1", kWidth - 24, 0, 24, 12, TLogo::Pixmap());
    m_pCaption = Caption(BasisTitleBand, "m_pCaption", 0, 2, prtxt::kCaption, true, 12);
    m_pCaption->Caption = QStringLiteral("ktx konfigurationsprog");
    m_pCaption->WordWrap = true;
    m_pCaption->Width = kWidth - 30;
    QRShape1 = BasisTitleBand->AddShape("QRShape1", 0, 13, kWidth, 2);

    BasisEndBand = r.AddBand(eBandType::PageFooter, "BasisEndBand", 8);
    BasisEndBand->BeforePrint = [this](TReportBand& band, bool& print) {
        BeforeFootPrint(band, print);
    };
    BasisEndBand->AddShape("QRShape2", 0, 0, kWidth, 1);
    // The footer's captions print as they stand, in every language.
    m_pLabelDatum = BasisEndBand->AddLabel("m_pLabelDatum", 0, 2, QStringLiteral("Datum:"));
    m_pLabelDatum->Bold = true;
    m_pLabelDatumWert = BasisEndBand->AddSysData("m_pLabelDatumWert", 17, 2, eSysData::Date);
    m_pLabelSeite = BasisEndBand->AddLabel("m_pLabelSeite", 45, 2, QStringLiteral("Seite:"));
    m_pLabelSeite->Bold = true;
    m_pLabelSeiteWert = BasisEndBand->AddSysData("m_pLabelSeiteWert", 58, 2, eSysData::PageNumber);
    m_pLabelFile = BasisEndBand->AddLabel("m_pLabelFile", 72, 2, QStringLiteral("File:"), -1);
    m_pLabelFile->Bold = true;
    m_pLabelFileWert = Value(BasisEndBand, "m_pLabelFileWert", 83, 2, kWidth - 83);
}

TPrintBasis::~TPrintBasis() = default;

void TPrintBasis::Init(TkResourcen* res, TMoxDocument* doc) {
    m_pRes = res;
    m_pDoc = doc;
}

void TPrintBasis::BeforeFootPrint(TReportBand&, bool& print) {
    const char* name = m_pDoc ? m_pDoc->GetFileName() : nullptr;
    m_pLabelFileWert->Caption = name ? MoxToQString(name) : QString();
    print = true;
}

void TPrintBasis::OnPrintLabel(TReportItem* sender, QString& text) {
    auto* pLabel = dynamic_cast<TReportLabel*>(sender);
    MOX_INVARIANT(pLabel);
    if (pLabel->Tag != 0)
        text = Text(pLabel->Tag);
}

TReportLabel* TPrintBasis::Caption(TReportBand* band, std::string name, double left, double top,
                                   int tag, bool bold, double fontSize) {
    TReportLabel* label = band->AddLabel(std::move(name), left, top, {}, tag);
    label->Bold = bold;
    label->FontSize = fontSize;
    label->OnPrint = [this](TReportItem* sender, QString& text) { OnPrintLabel(sender, text); };
    return label;
}

TReportLabel* TPrintBasis::Value(TReportBand* band, std::string name, double left, double top,
                                 double width) {
    TReportLabel* label = band->AddLabel(std::move(name), left, top);
    if (width > 0) {
        label->Width = width;
        label->WordWrap = true;
        label->Height = kLineText;
    }
    return label;
}

TReportLabel* TPrintBasis::Row(TReportBand* band, double& y, int tag, std::string valueName,
                               double captionLeft, double valueLeft, double valueWidth) {
    TReportLabel* caption = Caption(band, "Caption" + std::to_string(tag), captionLeft, y, tag);
    caption->WordWrap = true;
    caption->Width = valueLeft - captionLeft - 2;
    caption->Height = kLineText;
    TReportLabel* value = Value(band, std::move(valueName), valueLeft, y, valueWidth);
    y += kLine;
    return value;
}

void TPrintBasis::AddSensorRows(TReportBand* band, double& y, SensorLabels& l) {
    // Each number on a row of its own below the choice it belongs to, in
    // the value column: a number of 24 digits and a provider's full name
    // need its whole width.
    auto numberRow = [&](const char* name) {
        return Row(band, y, kNumber, name, kIndent, kValueLeft, kValueWidth);
    };
    l.m_pDirektruf = Row(band, y, 261, "m_pDirektruf");
    l.m_pDirektRnr = numberRow("m_pDirektRnr");
    l.m_pKettenruf = Row(band, y, 263, "m_pKettenruf");
    l.m_pKettenRnr = numberRow("m_pKettenRnr");
    l.m_pSprachausgabe = Row(band, y, 264, "m_pSprachausgabe");
    l.m_pSMSImmer = Row(band, y, 267, "m_pSMSImmer");
    l.m_pSMSDirektRnr = Row(band, y, 265, "m_pSMSDirektRnr");
    l.m_pSMSKettenRnr = Row(band, y, 266, "m_pSMSKettenRnr");
    l.m_pSMSErfolg = Row(band, y, 268, "m_pSMSErfolg");
    l.m_pProvider = Row(band, y, 269, "m_pProvider", 0, kValueLeft, kValueWidth);
    l.m_pSMSRnr = numberRow("m_pSMSRnr");
    l.m_pText = Row(band, y, 270, "m_pText", 0, kValueLeft, kValueWidth);
}

void TPrintBasis::FillSensorRows(const SensorLabels& l, const SensorValues& v) const {
    // Ten providers; 255 stands for none, and anything else beyond the
    // table is none too rather than a provider that is not there.
    constexpr std::uint8_t kProviders = 10;
    l.m_pDirektruf->Caption = YesNo(v.direktruf);
    l.m_pDirektRnr->Caption = v.direktRnr;
    l.m_pKettenruf->Caption = YesNo(v.kettenruf);
    l.m_pKettenRnr->Caption = v.kettenRnr;
    l.m_pSprachausgabe->Caption = YesNo(v.sprache);
    l.m_pSMSImmer->Caption = YesNo(v.smsImmer);
    l.m_pSMSDirektRnr->Caption = YesNo(v.smsKeinDirektruf);
    l.m_pSMSKettenRnr->Caption = YesNo(v.smsKeinKettenruf);
    l.m_pSMSErfolg->Caption = YesNo(v.smsVerbindung);
    if (v.providerIdx >= kProviders || !m_pDoc)
        l.m_pProvider->Caption = Text(prtxt::kNone);
    else
        l.m_pProvider->Caption = DocText(
            [&](char* b, std::size_t n) { return m_pDoc->GetSMSProvider(v.providerIdx, b, n); });
    l.m_pSMSRnr->Caption = v.smsRnr;
    l.m_pText->Caption = v.text;
}

void TPrintBasis::FillSchaltuhr(TReportLabel* mode, TReportLabel* pg, bool tuermatik,
                                std::uint8_t tuermatikPG, bool diversion, std::uint8_t diversionPG,
                                std::uint8_t concierge) const {
    constexpr int kModeTuermatik = 271;
    constexpr int kModeDiversion = 272;
    constexpr int kModeConcierge = 274;
    if (tuermatik) {
        mode->Caption = Text(kModeTuermatik);
        pg->Caption = PGName(tuermatikPG);
    } else if (diversion) {
        mode->Caption = Text(kModeDiversion);
        pg->Caption = PGName(diversionPG);
    } else if (concierge) {
        mode->Caption = Text(kModeConcierge);
        pg->Caption.clear();
    } else {
        mode->Caption.clear();
        pg->Caption.clear();
    }
}

TReportLabel* TPrintBasis::Heading(TReportBand* band, std::string name, int tag) {
    TReportLabel* label = Caption(band, std::move(name), 0, 1, tag, true, 12);
    label->Underline = true;
    return label;
}

QString TPrintBasis::Text(int id) const {
    return m_pRes ? m_pRes->GetQText(id) : QString();
}

QString TPrintBasis::YesNo(std::uint8_t value) const {
    return Text(value ? txt::kJa : txt::kNein);
}

QString TPrintBasis::PGName(std::uint8_t pg) const {
    if (pg == 0)
        return Text(vtxt::kGroup0);
    if (pg == 1)
        return Text(vtxt::kGroup1);
    return QString::number(pg);
}

QString TPrintBasis::TlnRef(std::uint16_t tlnIdx) const {
    if (tlnIdx == kTlnNone)
        return {};
    // An index beyond the letters (a damaged record) prints as a number
    // rather than reading past them.
    if (TypeIT() == kTypeITLetters && tlnIdx < sizeof kTlnLetters)
        return QString(QLatin1Char(kTlnLetters[tlnIdx]));
    return QString::number(tlnIdx + 1);
}

QString TPrintBasis::TlnLabel() const {
    return Text(TypeIT() == kTypeIT1 ? vtxt::kForTlnIT1 : vtxt::kForTln);
}

void TPrintBasis::FillTlnRow(TReportLabel* label, TReportLabel* value, std::uint8_t mode,
                             std::uint16_t tlnIdx) const {
    if (mode == 1 || mode == 2) {
        label->Caption = TlnLabel();
        value->Caption = TlnRef(tlnIdx);
    } else {
        label->Caption.clear();
        value->Caption.clear();
    }
}

std::uint8_t TPrintBasis::TypeIT() const {
    return m_pDoc ? m_pDoc->GetTypeIT() : 0;
}
