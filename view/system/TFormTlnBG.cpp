#include "TFormTlnBG.h"

#include "DbgOut.h"
#include "MoxQString.h"
#include "SystemForm.h"
#include "SystemTextIds.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTimer>
#include <QStyle>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr int kHelpPage = 1800;
constexpr int kCodeLen = MOX_PIN_SIZE - 1;  // exactly 4 digits
constexpr int kRnrLen = MOX_PGRNR_SIZE - 1; // up to 24 digits
// Room for a number of the record and its terminator.
constexpr std::size_t kRnrBuffer = kRnrLen + 1;
constexpr std::size_t kCodeBuffer = kCodeLen + 1;
constexpr int kSchaltcodes = 6;
constexpr int kSchaltcodeBit = 16; // bits 16..21: switching codes 51..56

// Door-interface variant 3 has four call inputs in place of subscribers.
constexpr std::uint8_t kTypeCallInputs = 3;

using Getter = std::uint8_t (TMoxDocument::*)(std::uint8_t) const;
using Setter = bool (TMoxDocument::*)(std::uint8_t, std::uint8_t);

struct RightDef {
    int bit;
    const char* name;
    int tag;
    Getter get; // null: a switching code
    Setter set;
};

constexpr std::array<RightDef, 22> kRightDefs = {{
    {0, "m_pTueroeffnen", stxt::kTueroeffnen, &TMoxDocument::GetPGTueroeffner,
     &TMoxDocument::SetPGTueroeffner},
    {1, "m_pLicht", stxt::kLicht, &TMoxDocument::GetPGLicht, &TMoxDocument::SetPGLicht},
    {3, "m_pTueranwahl", stxt::kTueranwahl, &TMoxDocument::GetPGTueranwahl,
     &TMoxDocument::SetPGTueranwahl},
    {4, "m_pMfr", stxt::kMfr, &TMoxDocument::GetPGMultifktRelais,
     &TMoxDocument::SetPGMultifktRelais},
    {5, "m_pRAK", stxt::kRAKRight, &TMoxDocument::GetPGRAK, &TMoxDocument::SetPGRAK},
    {6, "m_pTuermatik", stxt::kTuermatik, &TMoxDocument::GetPGTuermatik,
     &TMoxDocument::SetPGTuermatik},
    {7, "m_pKettenruf", stxt::kKettenrufRight, &TMoxDocument::GetPGKettenruf,
     &TMoxDocument::SetPGKettenruf},
    {8, "m_pSignal", stxt::kSignal, &TMoxDocument::GetPGSignalisierung,
     &TMoxDocument::SetPGSignalisierung},
    {9, "m_pDiversion", stxt::kDiversion, &TMoxDocument::GetPGDiversion,
     &TMoxDocument::SetPGDiversion},
    {10, "m_pEinwahl", stxt::kEinwahl, &TMoxDocument::GetPGEinwahl, &TMoxDocument::SetPGEinwahl},
    {12, "m_pTuermatikCheck", stxt::kTuermatikCheck, &TMoxDocument::GetPGTuermatikEin,
     &TMoxDocument::SetPGTuermatikEin},
    {13, "m_pKettenrufCheck", stxt::kKettenrufCheck, &TMoxDocument::GetPGKettenrufEin,
     &TMoxDocument::SetPGKettenrufEin},
    {14, "m_pSignalCheck", stxt::kSignalCheck, &TMoxDocument::GetPGSignalisierungEin,
     &TMoxDocument::SetPGSignalisierungEin},
    {15, "m_pDiversionCheck", stxt::kDiversionCheck, &TMoxDocument::GetPGDiversionEin,
     &TMoxDocument::SetPGDiversionEin},
    {16, "m_pSchaltcode51", stxt::kSchaltcode51, nullptr, nullptr},
    {17, "m_pSchaltcode52", 355, nullptr, nullptr},
    {18, "m_pSchaltcode53", 356, nullptr, nullptr},
    {19, "m_pSchaltcode54", 357, nullptr, nullptr},
    {20, "m_pSchaltcode55", 358, nullptr, nullptr},
    {21, "m_pSchaltcode56", 359, nullptr, nullptr},
    {22, "m_pTuermatikSignal", stxt::kTuermatikSignal, &TMoxDocument::GetPGTuermatikSignal,
     &TMoxDocument::SetPGTuermatikSignal},
    {23, "m_pSchaltcode78", stxt::kSchaltcode78, &TMoxDocument::GetPGSchaltcode78,
     &TMoxDocument::SetPGSchaltcode78},
}};

constexpr std::uint32_t Bit(int bit) {
    return std::uint32_t{1} << bit;
}

std::string ReadText(const TMoxDocument& doc,
                     bool (TMoxDocument::*get)(std::uint8_t, char*, std::size_t) const,
                     std::uint8_t i, std::size_t size) {
    std::vector<char> buffer(size + 1, '\0');
    if (!(doc.*get)(i, buffer.data(), size))
        return {};
    buffer[size] = '\0';
    return buffer.data();
}

} // namespace

TFormTlnBG::TFormTlnBG(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res) {
    setProperty("HelpContext", kHelpPage);
    BuildForm();
}

TFormTlnBG::~TFormTlnBG() = default;

void TFormTlnBG::InitPage() {
    m_bLoading = false;
    m_bCodeValid = true;
}

void TFormTlnBG::BuildForm() {
    using pagectl::Make;
    QWidget* area = PageArea();
    auto* outer = new QVBoxLayout(area);
    outer->setContentsMargins(0, 0, 0, 0);
    m_pTabControl = Make<QTabBar>(area, "m_pTabControl", stxt::kTabPG, 1801);
    m_pTabControl->setExpanding(false);
    m_pScrollBox = Make<QScrollArea>(area, "m_pScrollBox", stxt::kSchaltcode78);
    m_pScrollBox->setWidgetResizable(true);
    m_pScrollBox->setFrameShape(QFrame::NoFrame);
    m_pScrollBox->setFocusPolicy(Qt::NoFocus); // Tab goes to its controls
    outer->addWidget(m_pTabControl);
    outer->addWidget(m_pScrollBox, 1);

    auto* content = new QWidget(m_pScrollBox);
    content->setObjectName(QStringLiteral("m_pScrollBoxContents"));
    m_pScrollBox->setWidget(content);
    auto* grid = new QGridLayout(content);

    auto bold = [](QLabel* l) {
        l->setStyleSheet(QStringLiteral("font-weight: bold"));
        return l;
    };
    m_pCaption = bold(Make<QLabel>(content, "m_pCaption", stxt::kCaption));
    m_pCodeLabel = Make<QLabel>(content, "m_pCodeLabel", stxt::kCodeLabel);
    m_pCode = Make<QLineEdit>(content, "m_pCode", -1, 1802);
    m_pTlnLabel = Make<QLabel>(content, "m_pTlnLabel", vtxt::kForTln);
    m_pEG = Make<QComboBox>(content, "m_pEG", vtxt::kForTln, 1805);
    m_pAll = Make<QCheckBox>(content, "m_pAll", stxt::kAll);
    m_pNo = Make<QCheckBox>(content, "m_pNo", stxt::kNone);

    int row = 0;
    grid->addWidget(m_pCaption, row++, 0, 1, 4);
    grid->addWidget(m_pCodeLabel, row, 0);
    grid->addWidget(m_pCode, row++, 1);
    grid->addWidget(m_pTlnLabel, row, 0);
    grid->addWidget(m_pEG, row++, 1);
    grid->addWidget(m_pAll, row, 0);
    grid->addWidget(m_pNo, row++, 1);

    for (const RightDef& d : kRightDefs) {
        auto* box = Make<QCheckBox>(content, d.name, d.tag);
        m_Rights.push_back({d.bit, box});
    }
    auto box = [this](int bit) {
        for (const Right& r : m_Rights)
            if (r.bit == bit)
                return r.box;
        return static_cast<QCheckBox*>(nullptr);
    };
    m_pTueroeffnen = box(0);
    m_pTueranwahl = box(3);
    m_pRAK = box(5);
    m_pTuermatik = box(6);
    m_pKettenruf = box(7);
    m_pSignal = box(8);
    m_pDiversion = box(9);
    m_pEinwahl = box(10);
    m_pTuermatikCheck = box(12);
    m_pKettenrufCheck = box(13);
    m_pSignalCheck = box(14);
    m_pDiversionCheck = box(15);
    m_pTuermatikSignal = box(22);
    m_pSchaltcode78 = box(23);

    // Basic functions.
    grid->addWidget(bold(Make<QLabel>(content, "Label2", stxt::kBasis)), row++, 0, 1, 4);
    for (int bit : {0, 1, 3, 4, 10})
        grid->addWidget(box(bit), row++, 0, 1, 4);
    grid->addWidget(m_pRAK, row++, 0, 1, 4);
    auto* outputs = new QGridLayout;
    for (int n = 0; n < kRAKOutputs; ++n) {
        auto* out = Make<QCheckBox>(
            content, QStringLiteral("m_pRAK%1").arg(n + 1).toLatin1().constData(), stxt::kRAK1 + n);
        m_Outputs.push_back(out);
        outputs->addWidget(out, n / 6, n % 6);
    }
    grid->addLayout(outputs, row++, 0, 1, 4);

    // Comfort functions: the right, its "switched on" box and its number.
    grid->addWidget(bold(Make<QLabel>(content, "Label15", stxt::kKomfort)), row++, 0, 1, 4);
    grid->addWidget(m_pTuermatik, row, 0);
    grid->addWidget(m_pTuermatikCheck, row++, 1);
    grid->addWidget(m_pTuermatikSignal, row++, 0, 1, 4);
    Label31 = Make<QLabel>(content, "Label31", stxt::kKettenRnr);
    Label32 = Make<QLabel>(content, "Label32", stxt::kDiversionRnr);
    Label33 = Make<QLabel>(content, "Label33", stxt::kSignalRnr);
    m_pKettenRnr = Make<QLineEdit>(content, "m_pKettenRnr", -1, 1817);
    m_pSignalRnr = Make<QLineEdit>(content, "m_pSignalRnr", -1, 1820);
    m_pDiversionRnr = Make<QLineEdit>(content, "m_pDiversionRnr", -1, 1823);
    const struct {
        QCheckBox* right;
        QCheckBox* on;
        QLabel* label;
        QLineEdit* number;
    } comfort[] = {{m_pKettenruf, m_pKettenrufCheck, Label31, m_pKettenRnr},
                   {m_pSignal, m_pSignalCheck, Label33, m_pSignalRnr},
                   {m_pDiversion, m_pDiversionCheck, Label32, m_pDiversionRnr}};
    // The number stands below its right: side by side, the four controls of
    // a row are wider than the wizard's work panel in most languages.
    for (const auto& c : comfort) {
        grid->addWidget(c.right, row, 0);
        grid->addWidget(c.on, row++, 1, 1, 3);
        grid->addWidget(c.label, row, 0);
        grid->addWidget(c.number, row++, 1, 1, 3);
        c.label->setIndent(c.right->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                           c.right->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing));
    }

    // Switching codes.
    grid->addWidget(bold(Make<QLabel>(content, "Label14", stxt::kSchaltcodes)), row++, 0, 1, 4);
    // A grid of their own, two to a row: three of them side by side, in the
    // columns of the rights above, are wider than the wizard's work panel.
    auto* codes = new QGridLayout;
    for (int n = 0; n < kSchaltcodes; ++n)
        codes->addWidget(box(kSchaltcodeBit + n), n / 2, n % 2);
    codes->setColumnStretch(2, 1);
    grid->addLayout(codes, row++, 0, 1, 4);
    grid->addWidget(m_pSchaltcode78, row++, 0, 1, 4);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(3, 1);

    // Handlers.
    connect(m_pTabControl, &QTabBar::currentChanged, this, &TFormTlnBG::OnTabChanged);
    for (QLineEdit* e : {m_pCode, m_pKettenRnr, m_pSignalRnr, m_pDiversionRnr})
        connect(e, &QLineEdit::textChanged, this, [this, e] { CheckInput(e); });
    m_pCode->installEventFilter(this);
    connect(m_pEG, &QComboBox::currentIndexChanged, this, [this] { OnEGChange(); });
    connect(m_pAll, &QCheckBox::clicked, this, [this] { OnSetCheckBoxes(m_pAll); });
    connect(m_pNo, &QCheckBox::clicked, this, [this] { OnSetCheckBoxes(m_pNo); });
    for (const Right& r : m_Rights) {
        QCheckBox* b = r.box;
        if (b == m_pRAK)
            connect(b, &QCheckBox::clicked, this, [this] { OnRAK(); });
        else if (b == m_pKettenruf)
            connect(b, &QCheckBox::clicked, this, [this, b] { OnClickComfort(b, m_pKettenRnr); });
        else if (b == m_pSignal)
            connect(b, &QCheckBox::clicked, this, [this, b] { OnClickComfort(b, m_pSignalRnr); });
        else if (b == m_pDiversion)
            connect(b, &QCheckBox::clicked, this,
                    [this, b] { OnClickComfort(b, m_pDiversionRnr); });
        else
            connect(b, &QCheckBox::clicked, this, [this, b] { OnCheck(b); });
    }
    for (QCheckBox* b : m_Outputs)
        connect(b, &QCheckBox::clicked, this, [this, b] { OnCheck(b); });
}

std::vector<QCheckBox*> TFormTlnBG::Boxes() const {
    std::vector<QCheckBox*> boxes;
    for (const Right& r : m_Rights)
        boxes.push_back(r.box);
    boxes.insert(boxes.end(), m_Outputs.begin(), m_Outputs.end());
    return boxes;
}

bool TFormTlnBG::IsGroup(int index) const {
    return index >= 0 && index < static_cast<int>(m_Copies.size());
}

// ------------------------------------------------------------------ protocol

void TFormTlnBG::OnOpen(TMessage&) {
    TMoxDocument* doc = GetDoc();
    if (!doc)
        return;
    const int groups = doc->GetAnzPG();
    const std::uint8_t typeIT = doc->GetTypeIT();

    {
        // One tab per group; a configuration without groups (no door
        // interface) gets none, so that no tab stands for a missing group.
        const QSignalBlocker block(m_pTabControl);
        while (m_pTabControl->count() > 0)
            m_pTabControl->removeTab(0);
        for (int g = 0; g < groups; ++g) {
            QString title;
            if (g == 0)
                title = m_pRes ? m_pRes->GetQText(vtxt::kGroup0) : QString();
            else if (g == 1)
                title = m_pRes ? m_pRes->GetQText(vtxt::kGroup1) : QString();
            else
                title = QString::number(g - 1);
            m_pTabControl->addTab(title);
        }
    }

    for (QLineEdit* e : {m_pKettenRnr, m_pSignalRnr, m_pDiversionRnr})
        e->setMaxLength(kRnrLen);
    m_pCode->setMaxLength(kCodeLen);

    {
        const QSignalBlocker block(m_pEG);
        m_pEG->clear();
        m_pEG->addItem(m_pRes ? m_pRes->GetQText(stxt::kEGNone) : QString());
        if (typeIT == kTypeCallInputs) {
            for (const char* input : {"A", "B", "C", "D"})
                m_pEG->addItem(QString::fromLatin1(input));
        } else {
            for (int t = 1; t <= doc->GetAnzTln(); ++t)
                m_pEG->addItem(QString::number(t));
        }
    }

    m_pRAK->setVisible(true);
    for (QCheckBox* b : m_Outputs)
        b->setVisible(true);
    m_pRAK->setEnabled(doc->GetTypeRAK() != 0);
    UpdateOutputsEnabled();
    m_pTueranwahl->setEnabled(typeIT == 2 || typeIT == 3);

    m_Copies.assign(static_cast<std::size_t>(groups), PGCopy{});
    for (int g = 0; g < groups; ++g) {
        const auto i = static_cast<std::uint8_t>(g);
        PGCopy& c = m_Copies[static_cast<std::size_t>(g)];
        c.code = ReadText(*doc, &TMoxDocument::GetPGPin, i, kCodeBuffer);
        for (const RightDef& d : kRightDefs) {
            const bool on = d.get ? (doc->*d.get)(i) != 0
                                  : doc->GetPGSchaltcode(
                                        i, static_cast<std::uint8_t>(d.bit - kSchaltcodeBit)) != 0;
            if (on)
                c.rights |= Bit(d.bit);
        }
        c.kettenRnr = ReadText(*doc, &TMoxDocument::GetPGKettenRnr, i, kRnrBuffer);
        c.signalRnr = ReadText(*doc, &TMoxDocument::GetPGSignalRnr, i, kRnrBuffer);
        c.diversionRnr = ReadText(*doc, &TMoxDocument::GetPGDiversionRnr, i, kRnrBuffer);
        c.tlnIdx = doc->GetPGTlnIdx(i);
        for (int n = 0; n < kRAKOutputs; ++n)
            if (doc->GetPGSchaltausgang(i, static_cast<std::uint8_t>(n)))
                c.outputs |= static_cast<std::uint16_t>(1u << n);
    }

    m_nTab = groups > 0 ? 0 : -1;
    {
        const QSignalBlocker block(m_pTabControl);
        if (groups > 0)
            m_pTabControl->setCurrentIndex(0);
    }
    m_pTlnLabel->setText(m_pRes ? m_pRes->GetQText(typeIT == 1 ? vtxt::kForTlnIT1 : vtxt::kForTln)
                                : QString());
    m_pScrollBox->setEnabled(groups > 0);
    OnLoadNewPG();
}

void TFormTlnBG::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormTlnBG::OnSave>");
    TMoxDocument* doc = GetDoc();
    MOX_INVARIANT(doc);
    // A refusal keeps the shown group's controls out of its copy; the other
    // groups are stored all the same.
    OnSavePG();
    for (std::size_t g = 0; g < m_Copies.size(); ++g) {
        const auto i = static_cast<std::uint8_t>(g);
        const PGCopy& c = m_Copies[g];
        doc->SetPGPin(i, c.code.c_str());
        for (const RightDef& d : kRightDefs) {
            const std::uint8_t on = (c.rights & Bit(d.bit)) ? 1 : 0;
            if (d.set)
                (doc->*d.set)(i, on);
            else
                doc->SetPGSchaltcode(i, static_cast<std::uint8_t>(d.bit - kSchaltcodeBit), on);
        }
        doc->SetPGKettenRnr(i, c.kettenRnr.c_str());
        doc->SetPGSignalRnr(i, c.signalRnr.c_str());
        doc->SetPGDiversionRnr(i, c.diversionRnr.c_str());
        doc->SetPGTlnIdx(i, c.tlnIdx);
        for (int n = 0; n < kRAKOutputs; ++n)
            doc->SetPGSchaltausgang(i, static_cast<std::uint8_t>(n), (c.outputs >> n) & 1u ? 1 : 0);
    }
}

void TFormTlnBG::OnRestore(TMessage&) {
    if (TMoxDocument* doc = GetDoc())
        doc->InitPG();
    Perform(WM_OPEN, -1, -1);
}

void TFormTlnBG::OnCloseQuery(bool& canClose) {
    canClose = true;
    if (!IsGroup(m_nTab))
        return;
    // The code field's own leave check may still be due (the click that
    // asks moved the focus out of it): this check takes its place, on the
    // code the field holds now.
    m_bLeaveCheckDue = false;
    if (!UpdateCodeValid()) {
        RefuseCode();
        canClose = false;
        return;
    }
    if (MissingNumber())
        canClose = false;
}

void TFormTlnBG::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    FocusFirstControl(m_pTueroeffnen);
}

bool TFormTlnBG::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pCode && IsFieldLeft(event))
        OnCodeLeft();
    return TDataView::eventFilter(watched, event);
}

void TFormTlnBG::OnCodeLeft() {
    // A click on another tab or tree node moves the focus first and then
    // asks the page itself, which shows the message; checking here as well
    // would show it twice for one click. So the check waits until the
    // click has been handled, and runs only when nothing checked meanwhile.
    m_bLeaveCheckDue = true;
    QTimer::singleShot(0, this, [this] {
        if (m_bLeaveCheckDue)
            OnExitPinInput();
    });
}

// ------------------------------------------------------------------ tabs

void TFormTlnBG::OnTabChanged(int index) {
    if (index == m_nTab)
        return;
    if (!OnSavePG()) {
        // The group stays until its fields are mended.
        const QSignalBlocker block(m_pTabControl);
        m_pTabControl->setCurrentIndex(m_nTab);
        return;
    }
    m_nTab = index;
    OnLoadNewPG();
}

bool TFormTlnBG::IsCodeValid(const QString& code, int excluded) const {
    if (code.size() != kCodeLen)
        return false;
    const std::string text = MoxFromQString(code);
    int count = 0;
    for (int g = 0; g < static_cast<int>(m_Copies.size()); ++g)
        if (g != excluded && m_Copies[static_cast<std::size_t>(g)].code == text)
            ++count;
    if (excluded < 0 && count > 0)
        --count;
    return count == 0;
}

bool TFormTlnBG::MissingNumber() {
    if (m_pEG->currentIndex() == 0)
        return false;
    const struct {
        QCheckBox* right;
        QLineEdit* number;
        int text;
    } needs[] = {{m_pKettenruf, m_pKettenRnr, stxt::kNeedKettenRnr},
                 {m_pSignal, m_pSignalRnr, stxt::kNeedSignalRnr},
                 {m_pDiversion, m_pDiversionRnr, stxt::kNeedDiversionRnr}};
    for (const auto& n : needs) {
        if (n.right->isChecked() && n.number->text().isEmpty()) {
            ShowMsg(n.text, mb::kOk | mb::kIconStop);
            n.number->setFocus();
            return true;
        }
    }
    return false;
}

bool TFormTlnBG::OnSavePG() {
    if (!IsGroup(m_nTab))
        return true;
    OnExitPinInput();
    if (!UpdateCodeValid())
        return false;
    if (MissingNumber())
        return false;

    PGCopy& c = m_Copies[static_cast<std::size_t>(m_nTab)];
    c.code = MoxFromQString(m_pCode->text()).substr(0, kCodeLen);
    for (const Right& r : m_Rights) {
        // Rights that this door interface does not offer show disabled and
        // unloaded: they keep what the group holds instead of taking the
        // state another group left in the box.
        if ((r.box == m_pEinwahl || r.box == m_pSchaltcode78) && !r.box->isEnabled())
            continue;
        if (r.box->isChecked())
            c.rights |= Bit(r.bit);
        else
            c.rights &= ~Bit(r.bit);
    }
    c.kettenRnr = MoxFromQString(m_pKettenRnr->text()).substr(0, kRnrLen);
    c.signalRnr = MoxFromQString(m_pSignalRnr->text()).substr(0, kRnrLen);
    c.diversionRnr = MoxFromQString(m_pDiversionRnr->text()).substr(0, kRnrLen);
    // An index the list cannot show (one from outside) stays as it was.
    if (const int eg = m_pEG->currentIndex(); eg == 0)
        c.tlnIdx = kNoTln;
    else if (eg > 0)
        c.tlnIdx = static_cast<std::uint16_t>(eg - 1);
    c.outputs = 0;
    for (int n = 0; n < kRAKOutputs; ++n)
        if (m_Outputs[static_cast<std::size_t>(n)]->isChecked())
            c.outputs |= static_cast<std::uint16_t>(1u << n);
    return true;
}

void TFormTlnBG::OnLoadNewPG() {
    m_bLoading = true;
    if (IsGroup(m_nTab)) {
        TMoxDocument* doc = GetDoc();
        const std::uint8_t typeIT = doc ? doc->GetTypeIT() : 0;
        const PGCopy& c = m_Copies[static_cast<std::size_t>(m_nTab)];
        m_pAll->setChecked(false);
        m_pNo->setChecked(false);
        {
            const QSignalBlocker block(m_pCode);
            m_pCode->setText(MoxToQString(c.code));
        }
        m_pCode->setVisible(m_nTab != 0);
        m_pCodeLabel->setVisible(m_nTab != 0);
        m_pTlnLabel->setVisible(m_nTab != 1);
        m_pEG->setVisible(m_nTab != 1);
        const bool callInputs = typeIT == kTypeCallInputs;
        m_pEinwahl->setEnabled(callInputs);
        m_pSchaltcode78->setEnabled(callInputs);
        for (const Right& r : m_Rights) {
            if ((r.box == m_pEinwahl || r.box == m_pSchaltcode78) && !callInputs)
                continue;
            r.box->setChecked((c.rights & Bit(r.bit)) != 0);
        }
        m_pKettenRnr->setText(MoxToQString(c.kettenRnr));
        m_pSignalRnr->setText(MoxToQString(c.signalRnr));
        m_pDiversionRnr->setText(MoxToQString(c.diversionRnr));
        for (int n = 0; n < kRAKOutputs; ++n)
            m_Outputs[static_cast<std::size_t>(n)]->setChecked((c.outputs >> n) & 1u);
        {
            const QSignalBlocker block(m_pEG);
            m_pEG->setCurrentIndex(c.tlnIdx == kNoTln ? 0 : c.tlnIdx + 1);
        }
        UpdateOutputsEnabled();
        m_pScrollBox->verticalScrollBar()->setValue(0);
    }
    UpdateAllNone();
    OnEGChange();
    m_bLoading = false;
}

void TFormTlnBG::OnExitPinInput() {
    TMoxDocument* doc = GetDoc();
    if (!doc || m_Copies.empty())
        return;
    MOX_INVARIANT((m_nTab >= 0) && (m_nTab < doc->GetAnzPG()));
    m_bLeaveCheckDue = false;
    // A page that is not showing (the wizard's next step, a closing window)
    // says nothing, but keeps a bad code out of the group all the same.
    if (!UpdateCodeValid() && m_pCode->isVisible())
        RefuseCode();
}

bool TFormTlnBG::UpdateCodeValid() {
    m_bCodeValid = m_nTab == 0 || IsCodeValid(m_pCode->text(), m_nTab);
    return m_bCodeValid;
}

void TFormTlnBG::RefuseCode() {
    ShowMsg(stxt::kCodeInvalid, mb::kOk | mb::kIconStop);
    m_pCode->selectAll();
    m_pCode->setFocus();
}

// ------------------------------------------------------------------ boxes

void TFormTlnBG::UpdateAllNone() {
    bool all = true;
    bool none = true;
    for (QCheckBox* b : Boxes()) {
        if (b->isChecked())
            none = false;
        else
            all = false;
    }
    m_pAll->setChecked(all);
    m_pNo->setChecked(none);
}

void TFormTlnBG::UpdateOutputsEnabled() {
    TMoxDocument* doc = GetDoc();
    const bool on = m_pRAK->isChecked() && doc && doc->GetTypeRAK() != 0;
    for (QCheckBox* b : m_Outputs)
        b->setEnabled(on);
}

void TFormTlnBG::OnCheck(QCheckBox* box) {
    UpdateAllNone();
    OverlapHint(box);
}

void TFormTlnBG::OnRAK() {
    UpdateAllNone();
    UpdateOutputsEnabled();
}

void TFormTlnBG::OnClickComfort(QCheckBox* box, QLineEdit* number) {
    OnCheck(box);
    if (box->isVisible() && box->isChecked() && number->text().isEmpty() && number->isEnabled())
        number->setFocus();
}

void TFormTlnBG::OnSetCheckBoxes(QCheckBox* sender) {
    if (!sender->isChecked())
        return;
    if (sender == m_pAll) {
        for (const Right& r : m_Rights)
            if (r.box->isEnabled() || r.box == m_pTueranwahl)
                r.box->setChecked(true);
        UpdateOutputsEnabled();
        for (QCheckBox* b : m_Outputs)
            if (b->isEnabled())
                b->setChecked(true);
        m_pNo->setChecked(false);
    } else {
        for (QCheckBox* b : Boxes())
            b->setChecked(false);
        UpdateOutputsEnabled();
        m_pAll->setChecked(false);
    }
}

void TFormTlnBG::OnEGChange() {
    const bool on = m_pEG->currentIndex() != 0 || m_nTab == 1;
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_pTuermatikCheck, m_pTuermatik, m_pTuermatikSignal, m_pKettenrufCheck, m_pKettenruf,
             m_pSignalCheck, m_pSignal, m_pDiversionCheck, m_pDiversion, Label31, Label32, Label33,
             m_pKettenRnr, m_pSignalRnr, m_pDiversionRnr})
        w->setEnabled(on);
}

void TFormTlnBG::OverlapHint(QCheckBox* box) {
    if (m_bLoading || !box->isChecked() || !IsGroup(m_nTab))
        return;
    bool isOutput = false;
    int bit = -1;
    for (const Right& r : m_Rights)
        if (r.box == box)
            bit = r.bit;
    for (int n = 0; n < kRAKOutputs && bit < 0; ++n)
        if (m_Outputs[static_cast<std::size_t>(n)] == box) {
            bit = n;
            isOutput = true;
        }
    if (bit < 0)
        return;
    for (int g = 0; g < static_cast<int>(m_Copies.size()); ++g) {
        if (g == m_nTab)
            continue;
        const PGCopy& c = m_Copies[static_cast<std::size_t>(g)];
        const bool has = isOutput ? ((c.outputs >> bit) & 1u) != 0 : (c.rights & Bit(bit)) != 0;
        if (!has)
            continue;
        if (m_nTab == 0 && g != 0) {
            ShowMsg(stxt::kOverlapOther, mb::kOk | mb::kIconInformation);
            return;
        }
        if (m_nTab != 0 && g == 0) {
            ShowMsg(stxt::kOverlapGroup0, mb::kOk | mb::kIconInformation);
            return;
        }
    }
}
