#include "TFormRAKEG.h"

#include "DbgOut.h"
#include "MoxDaten.h"
#include "MoxQString.h"
#include "RakTextIds.h"
#include "RakWidgets.h"
#include "TInvariant.h"
#include "TKonfigDlg.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kHelpPage = 1500;
// Room for a number or name of the record and its terminator.
constexpr std::size_t kFieldBuffer = 64;
// The permission groups 0 and 1 have names of their own; the list numbers
// the others from 1.
constexpr int kNamedGroups = 2;
// Entries of the SMS provider table.
constexpr int kSmsProviders = MOX_MAX_SMS;

TFormRAKEG::KonfigDlgRunner& Runner() {
    static TFormRAKEG::KonfigDlgRunner runner;
    return runner;
}

void RunKonfigDlg(QWidget* owner, std::uint8_t page, TkResourcen* res) {
    if (Runner()) {
        Runner()(owner, page, res);
        return;
    }
    TKonfigDlg dlg(owner, false, nullptr, page, res);
    dlg.exec();
}

std::string Field(const QLineEdit* edit, int max) {
    return MoxFromQString(edit->text()).substr(0, static_cast<std::size_t>(max));
}

std::uint16_t Bit(const QCheckBox* box, std::uint16_t bit) {
    return box->isChecked() ? bit : 0;
}

std::uint8_t Flag(std::uint16_t options, std::uint16_t bit) {
    return (options & bit) ? 1 : 0;
}

} // namespace

void TFormRAKEG::SetKonfigDlgRunnerForTesting(KonfigDlgRunner runner) {
    Runner() = std::move(runner);
}

TFormRAKEG::TFormRAKEG(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res) {
    setProperty("HelpContext", kHelpPage);
    QWidget* area = PageArea();
    auto* top = new QVBoxLayout(area);
    top->setContentsMargins(8, 4, 8, 8);

    m_pTabControl = rak::AddTabBar(top, area, rtxt::kTabInputs, 1501);

    m_pScrollBoxMeldeeingang = pagectl::Make<QWidget>(area, "m_pScrollBoxMeldeeingang");
    auto* box = new QVBoxLayout(m_pScrollBoxMeldeeingang);
    auto* head = new QGridLayout;
    auto* label10 = pagectl::Make<QLabel>(m_pScrollBoxMeldeeingang, "Label10", rtxt::kModeLabel);
    label10->setText(QStringLiteral("funktion des eingangs:"));
    m_pComboBoxMode = pagectl::Make<QComboBox>(m_pScrollBoxMeldeeingang, "m_pComboBoxMode",
                                               rtxt::kModeNone, 1502);
    head->addWidget(label10, 0, 0);
    head->addWidget(m_pComboBoxMode, 0, 1);
    m_pLabelTxt = pagectl::Make<QLabel>(m_pScrollBoxMeldeeingang, "m_pLabelTxt", rtxt::kInputText);
    m_pLabelTxtSchaltuhr =
        pagectl::Make<QLabel>(m_pScrollBoxMeldeeingang, "m_pLabelTxtSchaltuhr", rtxt::kInputText);
    m_pLabelTxtDefault =
        pagectl::Make<QLabel>(m_pScrollBoxMeldeeingang, "m_pLabelTxtDefault", rtxt::kInputText);
    for (QLabel* l : {m_pLabelTxt, m_pLabelTxtSchaltuhr, m_pLabelTxtDefault})
        l->setText(QStringLiteral("hinweistext:"));
    m_pLabelTxtSchaltuhr->hide();
    m_pTxt = pagectl::Make<QLineEdit>(m_pScrollBoxMeldeeingang, "m_pTxt", rtxt::kInputText, 1514);
    m_pTxt->setMaxLength(kMaxText);
    auto* names = new QVBoxLayout;
    names->addWidget(m_pLabelTxt);
    names->addWidget(m_pLabelTxtSchaltuhr);
    names->addWidget(m_pLabelTxtDefault);
    head->addLayout(names, 1, 0);
    head->addWidget(m_pTxt, 1, 1);
    head->setColumnStretch(1, 1);
    box->addLayout(head);

    BuildSignalPanel(m_pScrollBoxMeldeeingang);
    BuildSchaltuhrPanel(m_pScrollBoxMeldeeingang);
    box->addWidget(m_pPanelMeldeeingang);
    box->addWidget(m_pPanelSchaltuhr);
    box->addStretch(1);
    top->addWidget(m_pScrollBoxMeldeeingang, 1);

    connect(m_pTabControl, &QTabBar::currentChanged, this, &TFormRAKEG::OnTabChanged);
    connect(m_pComboBoxMode, &QComboBox::currentIndexChanged, this,
            [this](int) { OnChangeMode(); });
    connect(m_pSignal, &QCheckBox::clicked, this, [this] { OnSignalClick(); });
    connect(m_pKettenruf, &QCheckBox::clicked, this, [this] { OnKettenrufClick(); });
    connect(m_pSMSImmer, &QCheckBox::clicked, this, [this] { OnSMSImmer(); });
    for (QCheckBox* b : {m_pSMSNichtmeldenDirektruf, m_pSMSNichtmeldenKettenruf, m_pSMSVerbindung})
        connect(b, &QCheckBox::clicked, this, [this] { ApplySMSFieldRule(); });
    for (QCheckBox* b : {m_pTuematik, m_pDiversion, m_pConcierge})
        connect(b, &QCheckBox::clicked, this, [this, b] { OnCheckSchaltuhr(b); });
    for (QLineEdit* e : {m_pSignalRnr, m_pKettenRnr, m_pSMSRnr})
        connect(e, &QLineEdit::textChanged, this, [this, e] { CheckInput(e); });
    connect(m_pSMSBtn, &QPushButton::clicked, this, &TFormRAKEG::OnSMS);
}

TFormRAKEG::~TFormRAKEG() = default;

void TFormRAKEG::BuildSignalPanel(QWidget* parent) {
    m_pPanelMeldeeingang = pagectl::Make<QWidget>(parent, "m_pPanelMeldeeingang");
    auto* g = new QGridLayout(m_pPanelMeldeeingang);
    QWidget* p = m_pPanelMeldeeingang;
    auto check = [p](const char* name, int tag, int help, const char* design) {
        auto* b = pagectl::Make<QCheckBox>(p, name, tag, help);
        b->setText(QString::fromUtf8(design));
        return b;
    };
    auto label = [p](const char* name, int tag, const char* design) {
        auto* l = pagectl::Make<QLabel>(p, name, tag);
        l->setText(QString::fromUtf8(design));
        return l;
    };
    auto number = [p](const char* name, int help) {
        auto* e = pagectl::Make<QLineEdit>(p, name, rtxt::kRnr, help);
        e->setMaxLength(kMaxRnr);
        return e;
    };
    m_pSignal = check("m_pSignal", rtxt::kSignal, 1503, "mit signalisierung");
    Label2 = label("Label2", rtxt::kRnr, "rufnummer");
    m_pSignalRnr = number("m_pSignalRnr", 1504);
    m_pKettenruf = check("m_pKettenruf", rtxt::kKettenruf, 1505, "mit kettenruf");
    Label9 = label("Label9", rtxt::kRnr, "rufnummer");
    m_pKettenRnr = number("m_pKettenRnr", 1506);
    m_pSprachAG =
        check("m_pSprachAG", rtxt::kSprachAGInput, 1507, "sprachausgabe (Sprachgenerator)");
    m_pSprachAG->setEnabled(false);
    m_pSMSNichtmeldenDirektruf = check("m_pSMSNichtmeldenDirektruf", rtxt::kSMSKeinDirektruf, 1508,
                                       "sms bei Nichtmelden der Direktrufnummer");
    m_pSMSNichtmeldenKettenruf = check("m_pSMSNichtmeldenKettenruf", rtxt::kSMSKeinKettenruf, 1509,
                                       "sms bei Nichtmelden der Kettenrufnummer");
    m_pSMSImmer = check("m_pSMSImmer", rtxt::kSMSImmer, 1510, "sms immer");
    m_pSMSVerbindung = check("m_pSMSVerbindung", rtxt::kSMSVerbindung, 1511, "sms bei Verbindung");
    Label14 = label("Label14", rtxt::kProvider, "provider:");
    m_pSMSProviderCombo = pagectl::Make<QComboBox>(p, "m_pSMSProviderCombo", -1, 1515);
    Label15 = label("Label15", rtxt::kRnr, "rufnummer");
    m_pSMSRnr = number("m_pSMSRnr", 1513);
    m_pSMSBtn = pagectl::Make<QPushButton>(p, "m_pSMSBtn", rtxt::kSmsButton, 1516);
    m_pSMSBtn->setText(QStringLiteral("sms providerkonfiguration"));

    int row = 0;
    g->addWidget(m_pSignal, row++, 0, 1, 2);
    g->addWidget(Label2, row, 0);
    g->addWidget(m_pSignalRnr, row++, 1);
    g->addWidget(m_pKettenruf, row++, 0, 1, 2);
    g->addWidget(Label9, row, 0);
    g->addWidget(m_pKettenRnr, row++, 1);
    g->addWidget(m_pSprachAG, row++, 0, 1, 2);
    g->addWidget(m_pSMSNichtmeldenDirektruf, row++, 0, 1, 2);
    g->addWidget(m_pSMSNichtmeldenKettenruf, row++, 0, 1, 2);
    g->addWidget(m_pSMSImmer, row++, 0, 1, 2);
    g->addWidget(m_pSMSVerbindung, row++, 0, 1, 2);
    g->addWidget(Label14, row, 0);
    g->addWidget(m_pSMSProviderCombo, row++, 1);
    g->addWidget(Label15, row, 0);
    g->addWidget(m_pSMSRnr, row++, 1);
    g->addWidget(m_pSMSBtn, row++, 1);
    g->setColumnStretch(1, 1);
}

void TFormRAKEG::BuildSchaltuhrPanel(QWidget* parent) {
    m_pPanelSchaltuhr = pagectl::Make<QWidget>(parent, "m_pPanelSchaltuhr");
    auto* g = new QGridLayout(m_pPanelSchaltuhr);
    QWidget* p = m_pPanelSchaltuhr;
    m_pTuematik = pagectl::Make<QCheckBox>(p, "m_pTuematik", rtxt::kTuermatik);
    m_pTuematik->setText(QString::fromUtf8("von türmatikfunktion"));
    m_pDiversion = pagectl::Make<QCheckBox>(p, "m_pDiversion", rtxt::kDiversion);
    m_pDiversion->setText(QStringLiteral("von rufumleitung"));
    m_pConcierge = pagectl::Make<QCheckBox>(p, "m_pConcierge", rtxt::kConcierge);
    m_pConcierge->setText(QStringLiteral("von conciergefunktion"));
    m_pLabel = pagectl::Make<QLabel>(p, "m_pLabel", rtxt::kForGroup);
    m_pLabel->setText(QString::fromUtf8("für berechtigungsgruppe:"));
    m_pPGIdx = pagectl::Make<QComboBox>(p, "m_pPGIdx");
    g->addWidget(m_pTuematik, 0, 0, 1, 2);
    g->addWidget(m_pDiversion, 1, 0, 1, 2);
    g->addWidget(m_pConcierge, 2, 0, 1, 2);
    g->addWidget(m_pLabel, 3, 0);
    g->addWidget(m_pPGIdx, 3, 1);
    g->setColumnStretch(1, 1);
}

QString TFormRAKEG::Text(int id) const {
    return m_pRes ? m_pRes->GetQText(id) : QString();
}

bool TFormRAKEG::ValidTab(int index) const {
    return index >= 0 && index < static_cast<int>(m_Eingang.size());
}

void TFormRAKEG::InitPage() {
    OnSignalClick();
    OnKettenrufClick();
    ApplySMSFieldRule();
}

void TFormRAKEG::FillProviderList() {
    const TMoxDocument* doc = GetDoc();
    const QSignalBlocker block(m_pSMSProviderCombo);
    m_pSMSProviderCombo->clear();
    m_ListProvider.clear();
    m_pSMSProviderCombo->addItem(Text(rtxt::kNone));
    m_ListProvider.push_back(kNoProvider);
    for (int i = 0; doc && i < kSmsProviders; ++i) {
        char name[kFieldBuffer] = {};
        if (doc->GetSMSProvider(static_cast<std::uint8_t>(i), name, sizeof name) && name[0]) {
            m_pSMSProviderCombo->addItem(MoxToQString(name));
            m_ListProvider.push_back(static_cast<std::uint8_t>(i));
        }
    }
}

void TFormRAKEG::OnOpen(TMessage&) {
    TMoxDocument* doc = GetDoc();
    const int count = doc ? doc->GetAnzRAK() : 0;
    rak::NumberTabs(m_pTabControl, count);
    {
        const QSignalBlocker block(m_pComboBoxMode);
        m_pComboBoxMode->clear();
        m_pComboBoxMode->addItems(
            {Text(rtxt::kModeNone), Text(rtxt::kModeMelde), Text(rtxt::kModeSchaltuhr)});
    }
    FillProviderList();
    {
        const QSignalBlocker block(m_pPGIdx);
        m_pPGIdx->clear();
        m_pPGIdx->addItem(Text(rtxt::kGroup0));
        m_pPGIdx->addItem(Text(rtxt::kGroup1));
        const int groups = doc ? doc->GetAnzPG() : 0;
        for (int n = 1; n <= groups - kNamedGroups; ++n)
            m_pPGIdx->addItem(QString::number(n));
    }

    m_Eingang.assign(static_cast<std::size_t>(count), MeldeEingang{});
    for (int i = 0; i < count; ++i) {
        const auto idx = static_cast<std::uint8_t>(i);
        MeldeEingang& e = m_Eingang[static_cast<std::size_t>(i)];
        e.mode = doc->GetRAKEingangMode(idx);
        char buffer[kFieldBuffer] = {};
        if (e.mode == eModeMeldeEingangMeldefkt) {
            e.options = static_cast<std::uint16_t>(
                (doc->GetRAKEingangDirektruf(idx) ? eOptDirektruf : 0) |
                (doc->GetRAKEingangKettenruf(idx) ? eOptKettenruf : 0) |
                (doc->GetRAKEingangSprache(idx) ? eOptSprache : 0) |
                (doc->GetRAKEingangSMSKeinDirektruf(idx) ? eOptSMSKeinDirektruf : 0) |
                (doc->GetRAKEingangSMSKeinKettenruf(idx) ? eOptSMSKeinKettenruf : 0) |
                (doc->GetRAKEingangSMSImmer(idx) ? eOptSMSImmer : 0) |
                (doc->GetRAKEingangSMSVerbindung(idx) ? eOptSMSKeineVerbindung : 0));
            if (doc->GetRAKEingangDirektRnr(idx, buffer, sizeof buffer))
                e.direktRnr = buffer;
            if (doc->GetRAKEingangKettenRnr(idx, buffer, sizeof buffer))
                e.kettenRnr = buffer;
            std::uint8_t provider = kNoProvider;
            if (doc->GetRAKEingangSMSRnr(idx, &provider, buffer, sizeof buffer))
                e.smsRnr = buffer;
            e.providerIdx = provider;
        } else if (e.mode == eModeMeldeEingangSchaltuhr) {
            std::uint8_t pg = 0;
            if (doc->GetRAKEingangTuermatikPGIdx(idx, &pg)) {
                e.options |= eOptTuermatik;
                e.pgIdx = pg;
            }
            if (doc->GetRAKEingangDiversionPGIdx(idx, &pg)) {
                e.options |= eOptDiversion;
                e.pgIdx = pg;
            }
            if (doc->GetRAKEingangConcierge(idx))
                e.options |= eOptConcierge;
        } else if (e.mode != eModeMeldeEingangUndefined) {
            // A mode this page does not offer (a floor call from a foreign
            // or damaged image) is shown and kept as no function rather than
            // ending the program.
            DbgOut(eDbgView, "<TFormRAKEG::OnOpen> input %d mode %d shown as none", i, e.mode);
            e.mode = eModeMeldeEingangUndefined;
        }
        if (doc->GetMeldeeingangsText(idx, buffer, sizeof buffer))
            e.name = buffer;
    }
    m_nCurTab = rak::SelectFirstTab(m_pTabControl);
    m_pScrollBoxMeldeeingang->setEnabled(count > 0);
    if (count == 0)
        ShowModePanels(eModeMeldeEingangUndefined);
    OnLoadNewMEG();
}

void TFormRAKEG::ShowModePanels(std::uint8_t mode) {
    m_pPanelMeldeeingang->setVisible(mode == eModeMeldeEingangMeldefkt);
    m_pPanelSchaltuhr->setVisible(mode == eModeMeldeEingangSchaltuhr);
    const bool named = mode != eModeMeldeEingangSchaltuhr;
    m_pTxt->setVisible(named);
    m_pLabelTxt->setVisible(mode == eModeMeldeEingangMeldefkt);
    m_pLabelTxtDefault->setVisible(mode == eModeMeldeEingangUndefined);
    m_pLabelTxtSchaltuhr->setVisible(false);
}

void TFormRAKEG::OnLoadNewMEG() {
    if (!ValidTab(m_nCurTab))
        return;
    const MeldeEingang& e = m_Eingang[static_cast<std::size_t>(m_nCurTab)];
    MOX_INVARIANT(e.mode == eModeMeldeEingangUndefined || e.mode == eModeMeldeEingangMeldefkt ||
                  e.mode == eModeMeldeEingangSchaltuhr);
    {
        const QSignalBlocker block(m_pComboBoxMode);
        m_pComboBoxMode->setCurrentIndex(e.mode);
    }
    ShowModePanels(e.mode);

    const bool melde = e.mode == eModeMeldeEingangMeldefkt;
    m_pSignal->setChecked(melde && (e.options & eOptDirektruf));
    m_pKettenruf->setChecked(melde && (e.options & eOptKettenruf));
    m_pSprachAG->setChecked(melde && (e.options & eOptSprache));
    m_pSMSNichtmeldenDirektruf->setChecked(melde && (e.options & eOptSMSKeinDirektruf));
    m_pSMSNichtmeldenKettenruf->setChecked(melde && (e.options & eOptSMSKeinKettenruf));
    m_pSMSImmer->setChecked(melde && (e.options & eOptSMSImmer));
    m_pSMSVerbindung->setChecked(melde && (e.options & eOptSMSKeineVerbindung));
    m_pSignalRnr->setText(MoxToQString(e.direktRnr));
    m_pKettenRnr->setText(MoxToQString(e.kettenRnr));
    m_pSMSRnr->setText(MoxToQString(e.smsRnr));
    // A provider that is not in the list (unnamed, or none) stands at "none".
    int pos = 0;
    for (std::size_t k = 1; k < m_ListProvider.size(); ++k)
        if (m_ListProvider[k] == e.providerIdx)
            pos = static_cast<int>(k);
    m_pSMSProviderCombo->setCurrentIndex(pos);
    OnSignalClick();
    OnKettenrufClick();
    OnSMSImmer();

    // The time-switch options exclude each other; when the document holds
    // more than one, the last of them is shown (and is the one stored).
    const bool uhr = e.mode == eModeMeldeEingangSchaltuhr;
    QCheckBox* shown = nullptr;
    if (uhr && (e.options & eOptTuermatik))
        shown = m_pTuematik;
    if (uhr && (e.options & eOptDiversion))
        shown = m_pDiversion;
    if (uhr && (e.options & eOptConcierge))
        shown = m_pConcierge;
    for (QCheckBox* b : {m_pTuematik, m_pDiversion, m_pConcierge})
        b->setChecked(b == shown);
    const bool grouped = shown == m_pTuematik || shown == m_pDiversion;
    m_pPGIdx->setCurrentIndex(grouped ? (e.pgIdx < m_pPGIdx->count() ? e.pgIdx : 0) : -1);
    m_pPGIdx->setEnabled(grouped);
    m_pLabel->setEnabled(grouped);

    m_pTxt->setText(MoxToQString(e.name));
}

int TFormRAKEG::CheckSignalInput() {
    if (m_pSignal->isChecked() && m_pSignalRnr->text().isEmpty())
        return rtxt::kNoDirektRnr;
    if (m_pKettenruf->isChecked() && m_pKettenRnr->text().isEmpty())
        return rtxt::kNoKettenRnr;
    const bool sms = m_pSMSNichtmeldenDirektruf->isChecked() ||
                     m_pSMSNichtmeldenKettenruf->isChecked() || m_pSMSImmer->isChecked() ||
                     m_pSMSVerbindung->isChecked();
    if (sms && (m_pSMSRnr->text().isEmpty() || m_pSMSProviderCombo->currentIndex() <= 0))
        return rtxt::kNoSMS;
    return 0;
}

bool TFormRAKEG::OnSaveMEG() {
    if (!ValidTab(m_nCurTab))
        return true;
    const int mode = m_pComboBoxMode->currentIndex();
    MOX_INVARIANT(mode >= eModeMeldeEingangUndefined && mode <= eModeMeldeEingangSchaltuhr);
    if (mode == eModeMeldeEingangMeldefkt) {
        if (const int failed = CheckSignalInput(); failed != 0) {
            ShowMsg(failed, mb::kOk | mb::kIconStop);
            if (failed == rtxt::kNoDirektRnr)
                m_pSignalRnr->setFocus();
            else if (failed == rtxt::kNoKettenRnr)
                m_pKettenRnr->setFocus();
            else
                m_pSMSRnr->setFocus();
            return false;
        }
    }
    MeldeEingang& e = m_Eingang[static_cast<std::size_t>(m_nCurTab)];
    e.mode = static_cast<std::uint8_t>(mode);
    e.direktRnr = Field(m_pSignalRnr, kMaxRnr);
    e.kettenRnr = Field(m_pKettenRnr, kMaxRnr);
    e.smsRnr = Field(m_pSMSRnr, kMaxRnr);
    const int pos = m_pSMSProviderCombo->currentIndex();
    e.providerIdx = pos > 0 && pos < static_cast<int>(m_ListProvider.size())
                        ? m_ListProvider[static_cast<std::size_t>(pos)]
                        : kNoProvider;
    e.pgIdx = static_cast<std::uint8_t>(std::max(m_pPGIdx->currentIndex(), 0));
    if (mode == eModeMeldeEingangMeldefkt)
        e.options = static_cast<std::uint16_t>(
            Bit(m_pSignal, eOptDirektruf) | Bit(m_pKettenruf, eOptKettenruf) |
            Bit(m_pSMSNichtmeldenDirektruf, eOptSMSKeinDirektruf) |
            Bit(m_pSMSNichtmeldenKettenruf, eOptSMSKeinKettenruf) | Bit(m_pSMSImmer, eOptSMSImmer) |
            Bit(m_pSMSVerbindung, eOptSMSKeineVerbindung) | Bit(m_pSprachAG, eOptSprache));
    else if (mode == eModeMeldeEingangSchaltuhr)
        e.options = static_cast<std::uint16_t>(Bit(m_pTuematik, eOptTuermatik) |
                                               Bit(m_pDiversion, eOptDiversion) |
                                               Bit(m_pConcierge, eOptConcierge));
    else
        e.options = 0;
    e.name = Field(m_pTxt, kMaxText);
    return true;
}

void TFormRAKEG::OnTabChanged(int index) {
    if (!OnSaveMEG()) {
        // The tab stays where the user has to complete it.
        const QSignalBlocker block(m_pTabControl);
        m_pTabControl->setCurrentIndex(m_nCurTab);
        return;
    }
    m_nCurTab = index;
    OnLoadNewMEG();
}

void TFormRAKEG::OnCloseQuery(bool& canClose) {
    canClose = true;
    if (!ValidTab(m_nCurTab) || m_pComboBoxMode->currentIndex() != eModeMeldeEingangMeldefkt)
        return;
    if (const int failed = CheckSignalInput(); failed != 0) {
        ShowMsg(failed, mb::kOk | mb::kIconStop);
        canClose = false;
    }
}

void TFormRAKEG::OnChangeMode() {
    if (!ValidTab(m_nCurTab))
        return;
    const int mode = m_pComboBoxMode->currentIndex();
    MeldeEingang& e = m_Eingang[static_cast<std::size_t>(m_nCurTab)];
    const std::string name = Field(m_pTxt, kMaxText);
    e = MeldeEingang{};
    e.mode = static_cast<std::uint8_t>(std::clamp(mode, 0, 2));
    e.name = name;
    OnLoadNewMEG();
}

void TFormRAKEG::OnCheckSchaltuhr(QCheckBox* sender) {
    if (sender->isChecked())
        for (QCheckBox* b : {m_pTuematik, m_pDiversion, m_pConcierge})
            if (b != sender)
                b->setChecked(false);
    const bool grouped = m_pTuematik->isChecked() || m_pDiversion->isChecked();
    if (grouped && m_pPGIdx->currentIndex() < 0)
        m_pPGIdx->setCurrentIndex(0);
    if (m_pConcierge->isChecked())
        m_pPGIdx->setCurrentIndex(-1);
    m_pPGIdx->setEnabled(grouped);
    m_pLabel->setEnabled(grouped);
}

void TFormRAKEG::OnSignalClick() {
    m_pSignalRnr->setEnabled(m_pSignal->isChecked());
    Label2->setEnabled(m_pSignal->isChecked());
}

void TFormRAKEG::OnKettenrufClick() {
    m_pKettenRnr->setEnabled(m_pKettenruf->isChecked());
    Label9->setEnabled(m_pKettenruf->isChecked());
}

void TFormRAKEG::OnSMSImmer() {
    const bool immer = m_pSMSImmer->isChecked();
    for (QCheckBox* b :
         {m_pSMSNichtmeldenDirektruf, m_pSMSNichtmeldenKettenruf, m_pSMSVerbindung}) {
        if (immer)
            b->setChecked(true);
        b->setEnabled(!immer);
    }
    ApplySMSFieldRule();
}

void TFormRAKEG::ApplySMSFieldRule() {
    const bool sms = m_pSMSNichtmeldenDirektruf->isChecked() ||
                     m_pSMSNichtmeldenKettenruf->isChecked() || m_pSMSImmer->isChecked() ||
                     m_pSMSVerbindung->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_pSMSRnr, Label15, Label14, m_pSMSProviderCombo})
        w->setEnabled(sms);
}

void TFormRAKEG::OnSMS() {
    // The dialog runs a modal loop of its own.
    const QPointer<TFormRAKEG> self(this);
    RunKonfigDlg(this, kKonfigDlgSMS, m_pRes);
    if (!self)
        return;
    // The providers may have been renamed there: the list follows them and
    // keeps the provider chosen, by its index.
    const int pos = m_pSMSProviderCombo->currentIndex();
    const std::uint8_t chosen = pos > 0 && pos < static_cast<int>(m_ListProvider.size())
                                    ? m_ListProvider[static_cast<std::size_t>(pos)]
                                    : kNoProvider;
    FillProviderList();
    int newPos = 0;
    for (std::size_t k = 1; k < m_ListProvider.size(); ++k)
        if (m_ListProvider[k] == chosen)
            newPos = static_cast<int>(k);
    m_pSMSProviderCombo->setCurrentIndex(newPos);
}

void TFormRAKEG::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormRAKEG::OnSave>");
    MOX_INVARIANT(GetDoc());
    TMoxDocument* doc = GetDoc();
    OnSaveMEG();
    for (std::size_t i = 0; i < m_Eingang.size(); ++i) {
        const auto idx = static_cast<std::uint8_t>(i);
        const MeldeEingang& e = m_Eingang[i];
        if (e.mode == eModeMeldeEingangMeldefkt) {
            doc->SetRAKEingangMeldefkt(
                idx, Flag(e.options, eOptDirektruf), e.direktRnr.c_str(),
                Flag(e.options, eOptKettenruf), e.kettenRnr.c_str(), e.providerIdx,
                e.smsRnr.c_str(), Flag(e.options, eOptSMSKeinDirektruf),
                Flag(e.options, eOptSMSKeinKettenruf), Flag(e.options, eOptSMSImmer),
                Flag(e.options, eOptSMSKeineVerbindung), Flag(e.options, eOptSprache));
        } else if (e.mode == eModeMeldeEingangSchaltuhr) {
            doc->SetRAKEingangSchaltuhr(idx, eSchaltuhrKeine, 0);
            if (e.options & eOptTuermatik)
                doc->SetRAKEingangSchaltuhr(idx, eSchaltuhrTuermatik, e.pgIdx);
            if (e.options & eOptDiversion)
                doc->SetRAKEingangSchaltuhr(idx, eSchaltuhrDiversion, e.pgIdx);
            if (e.options & eOptConcierge)
                doc->SetRAKEingangSchaltuhr(idx, eSchaltuhrConcierge, e.pgIdx);
        } else {
            doc->SetRAKEingangUndefined(idx);
        }
        doc->SetMeldeeingangsText(idx, e.name.c_str());
    }
}

void TFormRAKEG::OnRestore(TMessage&) {
    if (TMoxDocument* doc = GetDoc())
        doc->InitRAKEingang();
    Perform(WM_OPEN, -1, -1);
}

void TFormRAKEG::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    FocusFirstControl(m_pComboBoxMode);
}
