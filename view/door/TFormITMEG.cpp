#include "TFormITMEG.h"

#include "DbgOut.h"
#include "DoorFormParts.h"
#include "DoorTextIds.h"
#include "MoxAccess.h"
#include "MoxQString.h"
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
#include <QPushButton>
#include <QVBoxLayout>

using namespace doorform;

namespace {

constexpr int kHelpPage = 700;
constexpr int kRnrMax = MOX_EINGANGRNR_SIZE - 1; // 24 digits
constexpr int kTextMax = MOX_TEXT_SIZE - 1;      // 30 characters

TFormITMEG::SMSDialogHook& SMSDialog() {
    static TFormITMEG::SMSDialogHook hook;
    return hook;
}

void RunSMSDialog(QWidget* owner, TkResourcen* res) {
    TKonfigDlg dlg(owner, false, nullptr, TKonfigDlg::kPageSMS, res);
    dlg.exec();
}

std::uint8_t Bit(std::uint16_t options, std::uint16_t bit) {
    return (options & bit) ? 1 : 0;
}

std::string Bytes(const QString& text) {
    return MoxFromQString(text);
}

} // namespace

void TFormITMEG::SetSMSDialogForTesting(SMSDialogHook hook) {
    SMSDialog() = std::move(hook);
}

TFormITMEG::TFormITMEG(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res) {
    setProperty("HelpContext", kHelpPage);
    QWidget* c = Content(this);
    auto* top = new QVBoxLayout(c);
    auto* head = new QGridLayout;
    top->addLayout(head);
    head->addWidget(Label(c, "Label10", dtxt::kFunktion, "Funktion des Eingangs:"), 0, 0);
    m_pComboBoxMode = List(c, "m_pComboBoxMode", dtxt::kModeNone, 701);
    head->addWidget(m_pComboBoxMode, 0, 1);
    m_pLabelTxt = Label(c, "m_pLabelTxt", dtxt::kHinweis, "hinweistext:");
    m_pTxt = Edit(c, "m_pTxt", dtxt::kHinweis, 713, kTextMax);
    head->addWidget(m_pLabelTxt, 1, 0);
    head->addWidget(m_pTxt, 1, 1);

    m_pPanelMeldeeingang = new QWidget(c);
    m_pPanelMeldeeingang->setObjectName(QStringLiteral("m_pPanelMeldeeingang"));
    BuildSignalPanel(m_pPanelMeldeeingang);
    m_pPanelSchaltuhr = new QWidget(c);
    m_pPanelSchaltuhr->setObjectName(QStringLiteral("m_pPanelSchaltuhr"));
    BuildSchaltuhrPanel(m_pPanelSchaltuhr);
    m_pPanelEtagenruf = new QWidget(c);
    m_pPanelEtagenruf->setObjectName(QStringLiteral("m_pPanelEtagenruf"));
    auto* floor = new QGridLayout(m_pPanelEtagenruf);
    floor->addWidget(Label(m_pPanelEtagenruf, "Label16", dtxt::kRnr, "rufnummer"), 0, 0);
    m_pEtagenRnr = Edit(m_pPanelEtagenruf, "m_pEtagenRnr", dtxt::kRnr, 715, kRnrMax);
    floor->addWidget(m_pEtagenRnr, 0, 1);
    for (QWidget* panel : {m_pPanelMeldeeingang, m_pPanelSchaltuhr, m_pPanelEtagenruf}) {
        top->addWidget(panel);
        panel->setVisible(false);
    }
    top->addStretch(1);

    connect(m_pComboBoxMode, &QComboBox::activated, this, [this](int pos) {
        if (pos != m_nShownPos)
            OnChangeMode();
    });
    for (QLineEdit* number : {m_pSignalRnr, m_pKettenRnr, m_pSMSRnr, m_pEtagenRnr})
        connect(number, &QLineEdit::textChanged, this, [this, number] { CheckInput(number); });
}

void TFormITMEG::BuildSignalPanel(QWidget* p) {
    auto* grid = new QGridLayout(p);
    m_pSignal = Check(p, "m_pSignal", dtxt::kSignal, 702, "mit signalisierung");
    m_pSignalRnr = Edit(p, "m_pSignalRnr", dtxt::kRnr, 703, kRnrMax);
    m_pKettenruf = Check(p, "m_pKettenruf", dtxt::kKettenruf, 704, "mit kettenruf");
    m_pKettenRnr = Edit(p, "m_pKettenRnr", dtxt::kRnr, 705, kRnrMax);
    m_pSprachAG = Check(p, "m_pSprachAG", dtxt::kSprache, 706, "sprachausgabe (Sprachgenerator)");
    m_pSprachAG->setEnabled(false);
    m_pSMSNichtmeldenDirektruf = Check(p, "m_pSMSNichtmeldenDirektruf", dtxt::kSMSKeinDirekt, 707,
                                       "sms bei Nichtmelden der Direktrufnummer");
    m_pSMSNichtmeldenKettenruf = Check(p, "m_pSMSNichtmeldenKettenruf", dtxt::kSMSKeinKette, 708,
                                       "sms bei Nichtmelden der Kettenrufnummer");
    m_pSMSImmer = Check(p, "m_pSMSImmer", dtxt::kSMSImmer, 709, "sms immer");
    m_pSMSVerbindung =
        Check(p, "m_pSMSVerbindung", dtxt::kSMSVerbindung, 710, "sms bei erfolgreicher Verbindung");
    m_pSMSProviderCombo = List(p, "m_pSMSProviderCombo", -1, 711);
    m_pSMSRnr = Edit(p, "m_pSMSRnr", dtxt::kRnr, 712, kRnrMax);
    m_pSMSBtn = Button(p, "m_pSMSBtn", dtxt::kSMSProviders, 714, "sms providerkonfiguration");

    grid->addWidget(m_pSignal, 0, 0);
    grid->addWidget(Label(p, "Label2", dtxt::kRnr, "rufnummer"), 0, 1);
    grid->addWidget(m_pSignalRnr, 0, 2);
    grid->addWidget(m_pKettenruf, 1, 0);
    grid->addWidget(Label(p, "Label9", dtxt::kRnr, "rufnummer"), 1, 1);
    grid->addWidget(m_pKettenRnr, 1, 2);
    grid->addWidget(m_pSprachAG, 2, 0, 1, 3);
    grid->addWidget(m_pSMSNichtmeldenDirektruf, 3, 0, 1, 3);
    grid->addWidget(m_pSMSNichtmeldenKettenruf, 4, 0, 1, 3);
    grid->addWidget(m_pSMSImmer, 5, 0, 1, 3);
    grid->addWidget(m_pSMSVerbindung, 6, 0, 1, 3);
    grid->addWidget(Label(p, "Label14", dtxt::kProvider, "provider:"), 7, 1);
    grid->addWidget(m_pSMSProviderCombo, 7, 2);
    grid->addWidget(Label(p, "Label15", dtxt::kRnr, "rufnummer"), 8, 1);
    grid->addWidget(m_pSMSRnr, 8, 2);
    grid->addWidget(m_pSMSBtn, 9, 2);

    connect(m_pSignal, &QCheckBox::clicked, this, [this](bool) { OnClickSignal(); });
    connect(m_pKettenruf, &QCheckBox::clicked, this, [this](bool) { OnClickKettenruf(); });
    connect(m_pSMSImmer, &QCheckBox::clicked, this, [this](bool) { OnSMSImmer(); });
    connect(m_pSMSBtn, &QPushButton::clicked, this, [this](bool) { OnSMS(); });
}

void TFormITMEG::BuildSchaltuhrPanel(QWidget* p) {
    auto* grid = new QGridLayout(p);
    m_pTuematik = Check(p, "m_pTuematik", dtxt::kTuermatik, 718, "von türmatikfunktion");
    m_pDiversion = Check(p, "m_pDiversion", dtxt::kDiversion, 719, "von rufumleitung");
    m_pConcierge = Check(p, "m_pConcierge", dtxt::kConcierge, 721, "von conciergefunktion");
    m_pLabel = Label(p, "m_pLabel", dtxt::kPG, "für berechtigungsgruppe:");
    m_pPGIdx = List(p, "m_pPGIdx", dtxt::kPG, 720);
    QLabel* help = Label(p, "Label17", dtxt::kSchaltuhrHelp, "");
    help->setWordWrap(true);
    grid->addWidget(m_pTuematik, 0, 0, 1, 2);
    grid->addWidget(m_pDiversion, 1, 0, 1, 2);
    grid->addWidget(m_pConcierge, 2, 0, 1, 2);
    grid->addWidget(m_pLabel, 3, 0);
    grid->addWidget(m_pPGIdx, 3, 1);
    grid->addWidget(help, 4, 0, 1, 2);
    for (QCheckBox* box : {m_pTuematik, m_pDiversion, m_pConcierge})
        connect(box, &QCheckBox::clicked, this, [this, box](bool) { OnCheckSchaltuhr(box); });
}

TFormITMEG::~TFormITMEG() = default;

// ------------------------------------------------------------------ open

void TFormITMEG::FillLists(const TMoxDocument* doc) {
    m_pComboBoxMode->clear();
    for (int id : {dtxt::kModeNone, dtxt::kModeSignal, dtxt::kModeSchaltuhr, dtxt::kModeEtagenruf})
        m_pComboBoxMode->addItem(m_pRes ? m_pRes->GetQText(id) : QString::number(id));
    for (QLineEdit* number : {m_pSignalRnr, m_pKettenRnr, m_pSMSRnr, m_pEtagenRnr})
        number->setMaxLength(kRnrMax);

    m_pSMSProviderCombo->clear();
    m_pSMSProviderCombo->addItem(m_pRes ? m_pRes->GetQText(dtxt::kNone) : QString());
    m_nProviderEntries = 0;
    for (int i = 0; i < MOX_MAX_SMS; ++i) {
        char name[MOX_PROVIDER_SIZE] = {};
        if (!doc->GetSMSProvider(static_cast<std::uint8_t>(i), name, sizeof name))
            continue;
        name[sizeof name - 1] = '\0';
        if (name[0] == '\0')
            continue;
        m_pSMSProviderCombo->addItem(MoxToQString(name));
        m_ProviderOfEntry[static_cast<std::size_t>(m_nProviderEntries++)] =
            static_cast<std::uint8_t>(i);
    }

    // Position k stands for permission group k.
    m_pPGIdx->clear();
    m_pPGIdx->addItem(m_pRes ? m_pRes->GetQText(dtxt::kBasicGroup) : QString());
    m_pPGIdx->addItem(m_pRes ? m_pRes->GetQText(dtxt::kMasterGroup) : QString());
    for (int k = 1; k <= doc->GetAnzPG() - 2; ++k)
        m_pPGIdx->addItem(QString::number(k));
}

void TFormITMEG::LoadCopy(const TMoxDocument* doc) {
    m_MEG = MEG{};
    m_MEG.Mode = doc->GetMfeMode();
    char number[MOX_EINGANGRNR_SIZE] = {};
    auto take = [&number](bool ok) {
        number[sizeof number - 1] = '\0';
        return ok ? MoxToQString(number) : QString();
    };
    switch (m_MEG.Mode) {
    case eModeMeldeEingangMeldefkt: {
        const std::pair<std::uint8_t, std::uint16_t> bits[] = {
            {doc->GetMfeDirektruf(), eOptDirektruf},
            {doc->GetMfeKettenruf(), eOptKettenruf},
            {doc->GetMfeSMSKeinDirektruf(), eOptSMSKeinDirektruf},
            {doc->GetMfeSMSKeinKettenruf(), eOptSMSKeinKettenruf},
            {doc->GetMfeSMSImmer(), eOptSMSImmer},
            {doc->GetMfeSMSVerbindung(), eOptSMSKeineVerbindung},
            {doc->GetMfeSprache(), eOptSprache},
        };
        for (const auto& [on, bit] : bits)
            if (on)
                m_MEG.Options |= bit;
        m_MEG.Nr1 = take(doc->GetMfeDirektRnr(number, sizeof number));
        m_MEG.KettenRnr = take(doc->GetMfeKettenRnr(number, sizeof number));
        std::uint8_t provider = MOX_PROVIDERIDX_NONE;
        m_MEG.SMSRnr = take(doc->GetMfeSMSRnr(&provider, number, sizeof number));
        m_MEG.ProviderIdx = provider;
        break;
    }
    case eModeMeldeEingangSchaltuhr: {
        std::uint8_t pg = 0;
        if (doc->GetMfeTuermatikPGIdx(&pg)) {
            m_MEG.Options |= eOptTuermatik;
            m_MEG.PGIdx = pg;
        }
        if (doc->GetMfeDiversionPGIdx(&pg)) {
            m_MEG.Options |= eOptDiversion;
            m_MEG.PGIdx = pg;
        }
        if (doc->GetMfeConcierge())
            m_MEG.Options |= eOptConcierge;
        break;
    }
    case eModeMeldeEingangEtagenruf:
        m_MEG.Nr1 = take(doc->GetMfeEtagenruf(number, sizeof number));
        break;
    default:
        break;
    }
    char text[MOX_TEXT_SIZE] = {};
    doc->GetEtagenrufText(text, sizeof text);
    text[sizeof text - 1] = '\0';
    m_MEG.Text = MoxToQString(text);
}

void TFormITMEG::OnOpen(TMessage&) {
    const TMoxDocument* doc = GetDoc();
    if (!doc)
        return;
    FillLists(doc);
    LoadCopy(doc);
    ShowMEG();
}

int TFormITMEG::ProviderPosition(std::uint8_t providerIdx) const {
    for (int k = 0; k < m_nProviderEntries; ++k)
        if (m_ProviderOfEntry[static_cast<std::size_t>(k)] == providerIdx)
            return k + 1;
    return 0; // none, or a provider without a name
}

void TFormITMEG::EnablePGList(bool enable) {
    m_pPGIdx->setEnabled(enable);
    m_pLabel->setEnabled(enable);
}

void TFormITMEG::ShowMEG() {
    const std::uint16_t o = m_MEG.Options;
    int pos = -1;
    switch (m_MEG.Mode) {
    case eModeMeldeEingangUndefined:
        pos = IDX_KEINE;
        break;
    case eModeMeldeEingangMeldefkt:
        pos = IDX_MELDEEINGANG;
        m_pSignal->setChecked(o & eOptDirektruf);
        m_pSignalRnr->setText(m_MEG.Nr1);
        m_pKettenruf->setChecked(o & eOptKettenruf);
        m_pKettenRnr->setText(m_MEG.KettenRnr);
        m_pSMSProviderCombo->setCurrentIndex(ProviderPosition(m_MEG.ProviderIdx));
        m_pSMSRnr->setText(m_MEG.SMSRnr);
        m_pSMSNichtmeldenDirektruf->setChecked(o & eOptSMSKeinDirektruf);
        m_pSMSNichtmeldenKettenruf->setChecked(o & eOptSMSKeinKettenruf);
        m_pSMSImmer->setChecked(o & eOptSMSImmer);
        m_pSMSVerbindung->setChecked(o & eOptSMSKeineVerbindung);
        m_pSprachAG->setChecked(o & eOptSprache);
        OnSMSImmer();
        break;
    case eModeMeldeEingangSchaltuhr: {
        pos = IDX_SCHALTAUSGANG;
        m_pPGIdx->setCurrentIndex(-1);
        const bool withGroup = o & (eOptTuermatik | eOptDiversion);
        EnablePGList(withGroup);
        m_pTuematik->setChecked(o & eOptTuermatik);
        m_pDiversion->setChecked(o & eOptDiversion);
        m_pConcierge->setChecked(o & eOptConcierge);
        if (withGroup)
            m_pPGIdx->setCurrentIndex(m_MEG.PGIdx < m_pPGIdx->count() ? m_MEG.PGIdx : -1);
        break;
    }
    case eModeMeldeEingangEtagenruf:
        pos = IDX_ETAGENRUF;
        m_pEtagenRnr->setText(m_MEG.Nr1);
        break;
    default: // the relay's input (4) or a mode the page does not know
        break;
    }
    m_pComboBoxMode->setCurrentIndex(pos);
    m_nShownPos = pos;
    m_pTxt->setText(m_MEG.Text);
    m_pPanelMeldeeingang->setVisible(pos == IDX_MELDEEINGANG);
    m_pPanelSchaltuhr->setVisible(pos == IDX_SCHALTAUSGANG);
    m_pPanelEtagenruf->setVisible(pos == IDX_ETAGENRUF);
    m_pLabelTxt->setVisible(pos != IDX_SCHALTAUSGANG);
    m_pTxt->setVisible(pos != IDX_SCHALTAUSGANG);
}

// ------------------------------------------------------------------ handlers

void TFormITMEG::OnChangeMode() {
    const QString text = m_pTxt->text(); // the hint belongs to the input, not to the mode
    m_MEG = MEG{};
    m_MEG.Text = text.left(kTextMax);
    switch (m_pComboBoxMode->currentIndex()) {
    case IDX_MELDEEINGANG:
        m_MEG.Mode = eModeMeldeEingangMeldefkt;
        break;
    case IDX_SCHALTAUSGANG:
        m_MEG.Mode = eModeMeldeEingangSchaltuhr;
        EnablePGList(false);
        break;
    case IDX_ETAGENRUF:
        m_MEG.Mode = eModeMeldeEingangEtagenruf;
        break;
    default:
        break;
    }
    ShowMEG();
}

void TFormITMEG::OnCheckSchaltuhr(QCheckBox* sender) {
    if (sender && sender->isChecked()) {
        if (sender == m_pTuematik || sender == m_pDiversion) {
            (sender == m_pTuematik ? m_pDiversion : m_pTuematik)->setChecked(false);
            m_pConcierge->setChecked(false);
            if (m_pPGIdx->currentIndex() < 0 && m_pPGIdx->count() > 0)
                m_pPGIdx->setCurrentIndex(0);
        } else if (sender == m_pConcierge) {
            m_pTuematik->setChecked(false);
            m_pDiversion->setChecked(false);
            m_pPGIdx->setCurrentIndex(-1);
            const TMoxDocument* doc = GetDoc();
            char rnr[MOX_CONCIERGERNR_SIZE] = {};
            const bool haveRnr = doc && doc->GetConciergeRnr(rnr, sizeof rnr) && rnr[0] != '\0';
            // A hint only: the choice stays, the user may set the concierge
            // function up afterwards.
            if (m_pConcierge->isEnabled() && doc && (!doc->GetConciergeAktiv() || !haveRnr))
                ShowMsg(dtxt::kConciergeOff, mb::kOk | mb::kIconInformation);
        }
    }
    const bool withGroup = m_pTuematik->isChecked() || m_pDiversion->isChecked();
    if (!withGroup)
        m_pPGIdx->setCurrentIndex(-1);
    EnablePGList(withGroup);
}

void TFormITMEG::OnClickSignal() {
    if (m_pSignal->isChecked() && m_pSignalRnr->text().isEmpty())
        m_pSignalRnr->setFocus();
}

void TFormITMEG::OnClickKettenruf() {
    if (m_pKettenruf->isChecked() && m_pKettenRnr->text().isEmpty())
        m_pKettenRnr->setFocus();
}

void TFormITMEG::OnSMSImmer() {
    const bool free = !m_pSMSImmer->isChecked();
    for (QCheckBox* box :
         {m_pSMSNichtmeldenDirektruf, m_pSMSNichtmeldenKettenruf, m_pSMSVerbindung})
        box->setEnabled(free);
}

void TFormITMEG::OnSMS() {
    // The provider list is not refilled afterwards: its entries keep
    // naming the providers they named when the page was loaded.
    if (SMSDialog())
        SMSDialog()(this, m_pRes);
    else
        RunSMSDialog(this, m_pRes);
}

// ------------------------------------------------------------------ store

int TFormITMEG::CheckControls() const {
    switch (m_pComboBoxMode->currentIndex()) {
    case IDX_MELDEEINGANG: {
        if (m_pSignal->isEnabled() && m_pSignal->isChecked() && m_pSignalRnr->text().isEmpty())
            return dtxt::kSignalRnrMissing;
        if (m_pKettenruf->isEnabled() && m_pKettenruf->isChecked() &&
            m_pKettenRnr->text().isEmpty())
            return dtxt::kKettenRnrMissing;
        // Every SMS option needs the number and the provider, also while
        // "SMS always" has disabled the others.
        const bool anySMS = m_pSMSNichtmeldenDirektruf->isChecked() ||
                            m_pSMSNichtmeldenKettenruf->isChecked() || m_pSMSImmer->isChecked() ||
                            m_pSMSVerbindung->isChecked();
        if (anySMS && (m_pSMSRnr->text().isEmpty() || m_pSMSProviderCombo->currentIndex() <= 0))
            return dtxt::kSMSMissing;
        return 0;
    }
    case IDX_ETAGENRUF:
        if (m_pEtagenRnr->isEnabled() && m_pEtagenRnr->text().isEmpty())
            return dtxt::kEtagenRnrMissing;
        return 0;
    default:
        return 0;
    }
}

bool TFormITMEG::ReadControls() {
    if (const int refusal = CheckControls()) {
        ShowMsg(refusal, mb::kOk | mb::kIconStop);
        return false;
    }
    const int pos = m_pComboBoxMode->currentIndex();
    switch (pos) {
    case IDX_KEINE:
        m_MEG = MEG{};
        break;
    case IDX_MELDEEINGANG: {
        m_MEG = MEG{};
        m_MEG.Mode = eModeMeldeEingangMeldefkt;
        const std::pair<QCheckBox*, std::uint16_t> bits[] = {
            {m_pSignal, eOptDirektruf},
            {m_pKettenruf, eOptKettenruf},
            {m_pSMSNichtmeldenDirektruf, eOptSMSKeinDirektruf},
            {m_pSMSNichtmeldenKettenruf, eOptSMSKeinKettenruf},
            {m_pSMSImmer, eOptSMSImmer},
            {m_pSMSVerbindung, eOptSMSKeineVerbindung},
            {m_pSprachAG, eOptSprache},
        };
        for (const auto& [box, bit] : bits)
            if (box->isChecked())
                m_MEG.Options |= bit;
        m_MEG.Nr1 = m_pSignalRnr->text().left(kRnrMax);
        m_MEG.KettenRnr = m_pKettenRnr->text().left(kRnrMax);
        m_MEG.SMSRnr = m_pSMSRnr->text().left(kRnrMax);
        const int entry = m_pSMSProviderCombo->currentIndex();
        m_MEG.ProviderIdx = entry >= 1 && entry <= m_nProviderEntries
                                ? m_ProviderOfEntry[static_cast<std::size_t>(entry - 1)]
                                : MOX_PROVIDERIDX_NONE;
        break;
    }
    case IDX_SCHALTAUSGANG: {
        m_MEG = MEG{};
        m_MEG.Mode = eModeMeldeEingangSchaltuhr;
        if (m_pTuematik->isChecked())
            m_MEG.Options |= eOptTuermatik;
        if (m_pDiversion->isChecked())
            m_MEG.Options |= eOptDiversion;
        if (m_pConcierge->isChecked())
            m_MEG.Options |= eOptConcierge;
        const int group = m_pPGIdx->currentIndex();
        m_MEG.PGIdx = group > 0 ? static_cast<std::uint8_t>(group) : 0;
        break;
    }
    case IDX_ETAGENRUF:
        m_MEG = MEG{};
        m_MEG.Mode = eModeMeldeEingangEtagenruf;
        m_MEG.Nr1 = m_pEtagenRnr->text().left(kRnrMax);
        break;
    default:
        // No mode chosen: the input the document holds (the relay's, or
        // one the page does not know) stays as it is.
        break;
    }
    m_MEG.Text = m_pTxt->text().left(kTextMax);
    return true;
}

void TFormITMEG::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormITMEG::OnSave>");
    MOX_INVARIANT(GetDoc());
    TMoxDocument* doc = GetDoc();
    ReadControls();
    const std::uint16_t o = m_MEG.Options;
    switch (m_MEG.Mode) {
    case eModeMeldeEingangUndefined:
        doc->SetMfeUndefined();
        break;
    case eModeMeldeEingangMeldefkt:
        doc->SetMfeMeldefkt(Bit(o, eOptDirektruf), Bytes(m_MEG.Nr1).c_str(), Bit(o, eOptKettenruf),
                            Bytes(m_MEG.KettenRnr).c_str(), m_MEG.ProviderIdx,
                            Bytes(m_MEG.SMSRnr).c_str(), Bit(o, eOptSMSKeinDirektruf),
                            Bit(o, eOptSMSKeinKettenruf), Bit(o, eOptSMSImmer),
                            Bit(o, eOptSMSKeineVerbindung), Bit(o, eOptSprache));
        break;
    case eModeMeldeEingangSchaltuhr: {
        // Each call of the setter starts the time switch afresh, so the last
        // set option is the one stored. Only that one call is made: a clear
        // first would mark an unchanged document modified.
        std::uint8_t option = eSchaltuhrKeine;
        if (o & eOptTuermatik)
            option = eSchaltuhrTuermatik;
        if (o & eOptDiversion)
            option = eSchaltuhrDiversion;
        if (o & eOptConcierge)
            option = eSchaltuhrConcierge;
        doc->SetMfeSchaltuhr(option, option == eSchaltuhrKeine ? 0 : m_MEG.PGIdx);
        break;
    }
    case eModeMeldeEingangEtagenruf:
        doc->SetMfeEtagenruf(Bytes(m_MEG.Nr1).c_str());
        break;
    case eModeMeldeEingangMfr:
        doc->SetMfeMfr();
        break;
    default: // a mode the page does not know: left as the document holds it
        break;
    }
    doc->SetEtagenrufText(Bytes(m_MEG.Text).c_str());
}

void TFormITMEG::OnCloseQuery(bool& canClose) {
    TDataView::OnCloseQuery(canClose);
    if (const int refusal = CheckControls()) {
        ShowMsg(refusal, mb::kOk | mb::kIconStop);
        canClose = false;
    }
}

void TFormITMEG::OnRestore(TMessage&) {
    if (TMoxDocument* doc = GetDoc())
        doc->InitMfe();
    Perform(WM_OPEN, -1, -1);
}

void TFormITMEG::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    FocusFirstControl(m_pComboBoxMode);
}
