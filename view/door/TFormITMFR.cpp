#include "TFormITMFR.h"

#include "DbgOut.h"
#include "DoorFormParts.h"
#include "DoorTextIds.h"
#include "FocusRules.h"
#include "MoxDaten.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

using namespace doorform;

namespace {

constexpr int kHelpPage = 800;
// Door-interface type 3 has four call inputs instead of numbered
// subscribers.
constexpr std::uint8_t kTypeITRufeingang = eIT_Quarz;
constexpr int kRufeingaenge = 4;
const char* const kRufeingangNames[kRufeingaenge] = {"A", "B", "C", "D"};

} // namespace

TFormITMFR::TFormITMFR(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res) {
    setProperty("HelpContext", kHelpPage);
    QWidget* c = Content(this);
    auto* grid = new QGridLayout(c);
    Label5 = Label(c, "Label5", dtxt::kMfrHeading, "Funktion des Multifunktionsrelais:");
    m_pSchalter = Radio(c, "m_pSchalter", dtxt::kMfrSchalter, 802, "Steuerkontakt als Schalter");
    m_pTaster = Radio(c, "m_pTaster", dtxt::kMfrTaster, 803, "Steuerkontakt als Taster");
    m_pNSC = Radio(c, "m_pNSC", dtxt::kMfrNSC, 801, "Nebensignalkontakt");
    m_pVideo = Radio(c, "m_pVideo", dtxt::kMfrVideo, 806, "Videoansteuerkontakt");
    m_pTuer = Radio(c, "m_pTuer", dtxt::kMfrTueroeffner, 804, "Steuerkontakt als Türöffner");
    m_pLicht = Radio(c, "m_pLicht", dtxt::kMfrLicht, 805, "Steuerkontakt als Lichtschalter");
    m_pTlnLabel = Label(c, "m_pTlnLabel", dtxt::kForTln, "für Teilnehmer:");
    m_pTlnIdx = List(c, "m_pTlnIdx", dtxt::kForTln, 807);
    // A list of subscriber numbers or call inputs: as wide as its entries,
    // not as the page.
    m_pTlnIdx->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_pTlnIdx->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_pSchalter->setChecked(true);
    focusrules::TabStopOnCheckedRadio(
        {m_pSchalter, m_pTaster, m_pNSC, m_pVideo, m_pTuer, m_pLicht});

    grid->addWidget(Label5, 0, 0, 1, 2);
    int row = 1;
    for (QRadioButton* b : {m_pSchalter, m_pTaster, m_pNSC, m_pVideo, m_pTuer, m_pLicht}) {
        grid->addWidget(b, row++, 0, 1, 2);
        connect(b, &QRadioButton::clicked, this, [this](bool) { OnChangeMode(); });
    }
    grid->addWidget(m_pTlnLabel, row, 0);
    grid->addWidget(m_pTlnIdx, row, 1);
    grid->setRowStretch(row + 1, 1);
    grid->setColumnStretch(2, 1);
}

TFormITMFR::~TFormITMFR() = default;

void TFormITMFR::FillTlnList() {
    m_pTlnIdx->clear();
    const TMoxDocument* doc = GetDoc();
    if (!doc)
        return;
    if (doc->GetTypeIT() == kTypeITRufeingang) {
        for (const char* name : kRufeingangNames)
            m_pTlnIdx->addItem(QString::fromLatin1(name));
        return;
    }
    for (int i = 0; i < doc->GetAnzTln(); ++i)
        m_pTlnIdx->addItem(QString::number(i + 1));
}

void TFormITMFR::FillVideoList() {
    m_pTlnIdx->clear();
    m_nVideoCount = 0;
    const TMoxDocument* doc = GetDoc();
    if (!doc)
        return;
    const bool rufeingang = doc->GetTypeIT() == kTypeITRufeingang;
    const int count = rufeingang ? kRufeingaenge : doc->GetAnzTln();
    for (int i = 0; i < count && m_nVideoCount < static_cast<int>(m_VideoTln.size()); ++i) {
        if (!doc->GetTlnVideo(static_cast<std::uint8_t>(i)))
            continue;
        m_pTlnIdx->addItem(rufeingang ? QString::fromLatin1(kRufeingangNames[i])
                                      : QString::number(i + 1));
        m_VideoTln[static_cast<std::size_t>(m_nVideoCount++)] = static_cast<std::uint16_t>(i);
    }
}

QRadioButton* TFormITMFR::CheckedMode() const {
    for (QRadioButton* b : {m_pSchalter, m_pTaster, m_pNSC, m_pVideo, m_pTuer, m_pLicht})
        if (b->isChecked())
            return b;
    return nullptr;
}

void TFormITMFR::EnableTlnList(bool enable) {
    m_pTlnIdx->setEnabled(enable);
    m_pTlnLabel->setEnabled(enable);
}

void TFormITMFR::OnOpen(TMessage&) {
    m_pTlnIdx->clear();
    m_nVideoCount = 0;
    const TMoxDocument* doc = GetDoc();
    if (!doc)
        return;
    std::uint16_t tlnIdx = MOX_TLNIDX_NONE;
    const std::uint8_t mode = doc->GetMfrMode(&tlnIdx);
    QRadioButton* checked = m_pSchalter;
    switch (mode) {
    case eModeSchaltAusgangNSC:
        checked = m_pNSC;
        FillTlnList();
        m_pTlnIdx->setCurrentIndex(tlnIdx < m_pTlnIdx->count() ? tlnIdx : -1);
        break;
    case eModeSchaltAusgangVideo:
        checked = m_pVideo;
        FillVideoList();
        m_pTlnIdx->setCurrentIndex(m_nVideoCount > 0 ? 0 : -1);
        if (tlnIdx < doc->GetAnzTln() && doc->GetTlnVideo(static_cast<std::uint8_t>(tlnIdx)))
            for (int k = 0; k < m_nVideoCount; ++k)
                if (m_VideoTln[static_cast<std::size_t>(k)] == tlnIdx)
                    m_pTlnIdx->setCurrentIndex(k);
        break;
    case eModeSchaltAusgangTaster:
        checked = m_pTaster;
        break;
    case eModeSchaltAusgangTueroeffner:
        checked = m_pTuer;
        break;
    case eModeSchaltAusgangLicht:
        checked = m_pLicht;
        break;
    default: // 0, 3 and every mode the box does not know
        break;
    }
    checked->setChecked(true);
    m_pShownMode = checked;
    if (checked->isVisible())
        checked->setFocus();
    EnableTlnList(mode == eModeSchaltAusgangNSC || mode == eModeSchaltAusgangVideo);
    if (m_pRes)
        m_pTlnLabel->setText(
            m_pRes->GetQText(doc->GetTypeIT() == eIT_Nivo ? dtxt::kForRufeingang : dtxt::kForTln));
}

void TFormITMFR::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormITMFR::OnSave>");
    MOX_INVARIANT(GetDoc());
    TMoxDocument* doc = GetDoc();
    const int pos = m_pTlnIdx->currentIndex();
    if (m_pNSC->isChecked()) {
        // An empty list (no subscribers) leaves the relay without one.
        doc->SetMfrMode(eModeSchaltAusgangNSC,
                        pos >= 0 ? static_cast<std::uint16_t>(pos) : MOX_TLNIDX_NONE);
    } else if (m_pVideo->isChecked()) {
        // Without a subscriber with video there is no entry to take the
        // index from.
        const std::uint16_t tln = pos >= 0 && pos < m_nVideoCount
                                      ? m_VideoTln[static_cast<std::size_t>(pos)]
                                      : MOX_TLNIDX_NONE;
        doc->SetMfrMode(eModeSchaltAusgangVideo, tln);
    } else if (m_pTaster->isChecked()) {
        doc->SetMfrMode(eModeSchaltAusgangTaster, MOX_TLNIDX_NONE);
    } else if (m_pTuer->isChecked()) {
        doc->SetMfrMode(eModeSchaltAusgangTueroeffner, MOX_TLNIDX_NONE);
    } else if (m_pLicht->isChecked()) {
        doc->SetMfrMode(eModeSchaltAusgangLicht, MOX_TLNIDX_NONE);
    } else {
        doc->SetMfrMode(eModeSchaltAusgangSchalter, MOX_TLNIDX_NONE);
    }
}

void TFormITMFR::OnRestore(TMessage&) {
    if (TMoxDocument* doc = GetDoc())
        doc->InitMfr();
    Perform(WM_OPEN, -1, -1);
}

void TFormITMFR::OnChangeMode() {
    // A click on the button that is checked already is no change: a refill
    // would move the relay to the first subscriber.
    const QRadioButton* checked = CheckedMode();
    if (checked == m_pShownMode)
        return;
    m_pShownMode = checked;
    const bool nsc = m_pNSC->isChecked();
    const bool video = m_pVideo->isChecked();
    EnableTlnList(nsc || video);
    if (video)
        FillVideoList();
    else if (nsc)
        FillTlnList();
    if (!nsc && !video)
        m_pTlnIdx->setCurrentIndex(-1);
    else if (m_pTlnIdx->currentIndex() < 0 && m_pTlnIdx->count() > 0)
        m_pTlnIdx->setCurrentIndex(0);
}
