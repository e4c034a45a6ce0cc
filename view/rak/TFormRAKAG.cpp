#include "TFormRAKAG.h"

#include "DbgOut.h"
#include "FocusRules.h"
#include "MoxDaten.h"
#include "MoxQString.h"
#include "RakTextIds.h"
#include "RakWidgets.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

constexpr int kHelpPage = 1400;
// The type of door interface whose subscribers are the four call inputs
// A to D.
constexpr std::uint8_t kTypeITLetters = 3;
constexpr int kLetterTln = 4;
// Room for a name text of the record and its terminator.
constexpr std::size_t kTextBuffer = 64;

QString TlnName(std::uint8_t typeIT, int tln) {
    if (typeIT == kTypeITLetters)
        return QString(QChar(QLatin1Char('A').unicode() + tln));
    return QString::number(tln + 1);
}

} // namespace

TFormRAKAG::TFormRAKAG(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res) {
    setProperty("HelpContext", kHelpPage);
    QWidget* area = PageArea();
    auto* top = new QVBoxLayout(area);
    top->setContentsMargins(8, 4, 8, 8);

    m_pTabControl = rak::AddTabBar(top, area, rtxt::kTabOutputs, 1401);

    auto* body = new QWidget(area);
    auto* grid = new QGridLayout(body);
    auto* label3 = pagectl::Make<QLabel>(body, "Label3", rtxt::kOutputFunction);
    label3->setText(QStringLiteral("ausgangsfunktion/ -zuordnung:"));
    grid->addWidget(label3, 0, 0, 1, 2);
    m_pSchalter = pagectl::Make<QRadioButton>(body, "m_pSchalter", rtxt::kSchalter, 1402);
    m_pSchalter->setText(QStringLiteral("schalter"));
    m_pNSC = pagectl::Make<QRadioButton>(body, "m_pNSC", rtxt::kNSC, 1403);
    m_pNSC->setText(QStringLiteral("nebensignalkontakt"));
    m_pVideo = pagectl::Make<QRadioButton>(body, "m_pVideo", rtxt::kVideo, 1404);
    m_pVideo->setText(QStringLiteral("videoansteuerkontakt"));
    grid->addWidget(m_pSchalter, 1, 0, 1, 2);
    grid->addWidget(m_pNSC, 2, 0, 1, 2);
    grid->addWidget(m_pVideo, 3, 0, 1, 2);
    m_pTlnLabel = pagectl::Make<QLabel>(body, "m_pTlnLabel", rtxt::kForCallInput);
    m_pTlnLabel->setText(QStringLiteral("für Rufeingang:"));
    m_pTlnIdx = pagectl::Make<QComboBox>(body, "m_pTlnIdx", rtxt::kForCallInput, 1405);
    // A list of subscriber numbers or call inputs: as wide as its entries,
    // not as the page.
    m_pTlnIdx->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_pTlnIdx->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    grid->addWidget(m_pTlnLabel, 4, 0);
    grid->addWidget(m_pTlnIdx, 4, 1, Qt::AlignLeft);
    m_pSprache = pagectl::Make<QCheckBox>(body, "m_pSprache", rtxt::kSpracheOutput, 1406);
    m_pSprache->setText(QStringLiteral("sprachausgabe"));
    m_pSprache->setEnabled(false);
    grid->addWidget(m_pSprache, 5, 0, 1, 2);
    auto* label4 = pagectl::Make<QLabel>(body, "Label4", rtxt::kOutputText);
    label4->setText(QStringLiteral("hinweistext:"));
    m_pTxt = pagectl::Make<QLineEdit>(body, "m_pTxt", rtxt::kOutputText, 1407);
    m_pTxt->setMaxLength(kMaxText);
    grid->addWidget(label4, 6, 0);
    grid->addWidget(m_pTxt, 6, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(7, 1);
    top->addWidget(body, 1);

    connect(m_pTabControl, &QTabBar::currentChanged, this, &TFormRAKAG::OnTabChanged);
    for (QRadioButton* b : {m_pSchalter, m_pNSC, m_pVideo})
        connect(b, &QRadioButton::clicked, this, [this] { OnChangeMode(); });
    focusrules::TabStopOnCheckedRadio({m_pSchalter, m_pNSC, m_pVideo});
}

TFormRAKAG::~TFormRAKAG() = default;

bool TFormRAKAG::ValidTab(int index) const {
    return index >= 0 && index < static_cast<int>(m_Ausgang.size());
}

void TFormRAKAG::OnOpen(TMessage&) {
    TMoxDocument* doc = GetDoc();
    const int count = doc ? doc->GetAnzRAK() : 0;
    rak::NumberTabs(m_pTabControl, count);
    m_Ausgang.assign(static_cast<std::size_t>(count), SchaltAusgang{});
    for (int i = 0; i < count; ++i) {
        const auto idx = static_cast<std::uint8_t>(i);
        SchaltAusgang& a = m_Ausgang[static_cast<std::size_t>(i)];
        a.mode = doc->GetRAKAusgangMode(idx, &a.tlnIdx);
        a.sprache = doc->GetRAKAusgangSprache(idx);
        char text[kTextBuffer] = {};
        if (doc->GetSchaltausgangsText(idx, text, sizeof text))
            a.text = text;
    }
    m_nCurTab = rak::SelectFirstTab(m_pTabControl);
    if (m_pRes)
        m_pTlnLabel->setText(m_pRes->GetQText(doc && doc->GetTypeIT() == 1 ? rtxt::kForCallInputIT1
                                                                           : rtxt::kForTln));

    for (QWidget* w : std::initializer_list<QWidget*>{m_pSchalter, m_pNSC, m_pVideo, m_pTxt})
        w->setEnabled(count > 0);
    OnLoadNewSAG();
}

void TFormRAKAG::FillTln(bool videoOnly) {
    const TMoxDocument* doc = GetDoc();
    const QSignalBlocker block(m_pTlnIdx);
    m_pTlnIdx->clear();
    m_ListTln.clear();
    if (!doc)
        return;
    const std::uint8_t typeIT = doc->GetTypeIT();
    const int count = typeIT == kTypeITLetters ? kLetterTln : doc->GetAnzTln();
    for (int k = 0; k < count; ++k)
        if (!videoOnly || doc->GetTlnVideo(static_cast<std::uint8_t>(k))) {
            m_pTlnIdx->addItem(TlnName(typeIT, k));
            m_ListTln.push_back(static_cast<std::uint16_t>(k));
        }
}

void TFormRAKAG::OnLoadNewSAG() {
    const int tab = m_nCurTab;
    if (!ValidTab(tab))
        return;
    const SchaltAusgang& a = m_Ausgang[static_cast<std::size_t>(tab)];
    QRadioButton* checked = m_pNSC;
    if (a.mode == eModeSchaltAusgangVideo) {
        checked = m_pVideo;
        m_pVideo->setChecked(true);
        FillTln(true);
        int pos = m_ListTln.empty() ? -1 : 0;
        for (std::size_t k = 0; k < m_ListTln.size(); ++k)
            if (m_ListTln[k] == a.tlnIdx)
                pos = static_cast<int>(k);
        m_pTlnIdx->setCurrentIndex(pos);
        m_pTlnIdx->setEnabled(true);
    } else if (a.mode == eModeSchaltAusgangSchalter) {
        checked = m_pSchalter;
        m_pSchalter->setChecked(true);
        m_pTlnIdx->setCurrentIndex(-1);
        m_pTlnIdx->setEnabled(false);
    } else {
        m_pNSC->setChecked(true);
        FillTln(false);
        // An index the list does not hold (none, or one beyond the
        // subscribers in use) stands at the first entry.
        const int pos = a.tlnIdx < m_ListTln.size() ? a.tlnIdx : 0;
        m_pTlnIdx->setCurrentIndex(m_ListTln.empty() ? -1 : pos);
        m_pTlnIdx->setEnabled(true);
    }
    m_pShownMode = checked;
    m_pTlnLabel->setEnabled(m_pTlnIdx->isEnabled());
    if (checked->isEnabled() && !m_pTabControl->hasFocus())
        checked->setFocus();
    m_pTxt->setText(MoxToQString(a.text));
    m_pSprache->setChecked(a.sprache != 0);
}

void TFormRAKAG::OnSaveNewSAG() {
    const int tab = m_nCurTab;
    if (!ValidTab(tab))
        return;
    SchaltAusgang& a = m_Ausgang[static_cast<std::size_t>(tab)];
    const int pos = m_pTlnIdx->currentIndex();
    const bool listed = pos >= 0 && pos < static_cast<int>(m_ListTln.size());
    if (m_pSchalter->isChecked()) {
        a.mode = eModeSchaltAusgangSchalter;
        a.tlnIdx = kNoTln;
    } else if (m_pNSC->isChecked()) {
        a.mode = eModeSchaltAusgangNSC;
        a.tlnIdx = listed ? m_ListTln[static_cast<std::size_t>(pos)] : kNoTln;
    } else if (m_pVideo->isChecked()) {
        a.mode = eModeSchaltAusgangVideo;
        a.tlnIdx = listed ? m_ListTln[static_cast<std::size_t>(pos)] : kNoTln;
    }
    a.sprache = m_pSprache->isChecked() ? 1 : 0;
    a.text = MoxFromQString(m_pTxt->text()).substr(0, kMaxText);
}

void TFormRAKAG::OnTabChanged(int index) {
    OnSaveNewSAG();
    m_nCurTab = index;
    OnLoadNewSAG();
}

void TFormRAKAG::OnChangeMode() {
    // A click on the button that is checked already is no change: a refill
    // would move the output to the first subscriber.
    const QRadioButton* checked = m_pSchalter->isChecked() ? m_pSchalter
                                  : m_pNSC->isChecked()    ? m_pNSC
                                  : m_pVideo->isChecked()  ? m_pVideo
                                                           : nullptr;
    if (checked == m_pShownMode)
        return;
    m_pShownMode = checked;
    if (m_pSchalter->isChecked()) {
        m_pTlnIdx->setCurrentIndex(-1);
        m_pTlnIdx->setEnabled(false);
    } else {
        m_pTlnIdx->setEnabled(true);
        FillTln(m_pVideo->isChecked());
        if (m_pTlnIdx->currentIndex() < 0 && m_pTlnIdx->count() > 0)
            m_pTlnIdx->setCurrentIndex(0);
    }
    m_pTlnLabel->setEnabled(m_pTlnIdx->isEnabled());
}

void TFormRAKAG::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormRAKAG::OnSave>");
    MOX_INVARIANT(GetDoc());
    TMoxDocument* doc = GetDoc();
    OnSaveNewSAG();
    for (std::size_t i = 0; i < m_Ausgang.size(); ++i) {
        const auto idx = static_cast<std::uint8_t>(i);
        const SchaltAusgang& a = m_Ausgang[i];
        doc->SetRAKAusgangMode(idx, a.mode, a.tlnIdx);
        doc->SetRAKAusgangSprache(idx, a.sprache);
        doc->SetSchaltausgangsText(idx, a.text.c_str());
    }
}

void TFormRAKAG::OnRestore(TMessage&) {
    if (TMoxDocument* doc = GetDoc())
        doc->InitRAKAusgang();
    Perform(WM_OPEN, -1, -1);
}
