#include "TFormSystem.h"

#include "DbgOut.h"
#include "MoxCommandLine.h"
#include "MoxQString.h"
#include "SystemForm.h"
#include "SystemTextIds.h"
#include "TCSpinButton.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

constexpr int kHelpPage = 1600;
constexpr int kMaxLenPegel = 5;

TFormSystem::BeepHandler& BeepHook() {
    static TFormSystem::BeepHandler hook;
    return hook;
}

void Beep(int hz, int ms) {
    if (BeepHook())
        BeepHook()(hz, ms);
    else
        QApplication::beep(); // the platform's beep has no pitch
}

// A time field takes as many digits as its maximum has.
constexpr int DecimalDigits(int value) {
    int digits = 1;
    for (; value >= 10; value /= 10)
        ++digits;
    return digits;
}

QString RangeText(const char* format, int minimum, int maximum) {
    // The formats hold two "%d" and nothing else to fill.
    QString text = QString::fromLatin1(format);
    const int first = text.indexOf(QLatin1String("%d"));
    text.replace(first, 2, QString::number(minimum));
    text.replace(text.indexOf(QLatin1String("%d"), first), 2, QString::number(maximum));
    return text;
}

// A stored value for a setter of a narrower type; one that does not fit
// becomes the type's largest, which the document's range check refuses
// rather than storing a wrapped value.
template <class T> T Saturate(long long value) {
    if (value < 0)
        return 0;
    if (value > static_cast<long long>(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    return static_cast<T>(value);
}

} // namespace

TFormSystem::TFormSystem(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res) {
    setProperty("HelpContext", kHelpPage);
    BuildForm();
}

TFormSystem::~TFormSystem() = default;

void TFormSystem::SetBeepForTesting(BeepHandler handler) {
    BeepHook() = std::move(handler);
}

void TFormSystem::BuildForm() {
    using pagectl::Make;
    QWidget* area = PageArea();
    auto* grid = new QGridLayout(area);

    Label11 = Make<QLabel>(area, "Label11", stxt::kZeiten);
    Label11->setStyleSheet(QStringLiteral("font-weight: bold"));
    grid->addWidget(Label11, 0, 0, 1, 5);

    struct Def {
        int tag, minimum, maximum;
        const char* format;
        const char* label;
        int labelText;
        const char* edit;
        const char* spin;
        const char* unit; // null: no unit
        const char* range;
        int help;
    };
    // The ranges are the record's own; the door-automation delay and the
    // relay's switching time are offered from 1 s, though the box takes 0.
    static const Def kTimes[] = {
        {eTagTuerrufannahme, MOX_TUERRUFANNAHME_MIN, MOX_TUERRUFANNAHME_MAX, "[%ds ..%ds]",
         "m_pLabelTuerrufannahme", stxt::kTuerrufannahme, "m_pTuerrufannahme",
         "m_pTuerrufannahmeSpin", "Label15", "m_pLabelTuerrufannahmeMax", 1601},
        {eTagTuerrufdauer, MOX_TUERRUFDAUER_MIN, MOX_TUERRUFDAUER_MAX, "[%ds ..%ds]",
         "m_pLabelVerbindungsdauer", stxt::kVerbindungsdauer, "m_pTuerrufdauer",
         "m_pTuerrufdauerSpin", "Label8", "m_pLabelVerbindungsdauerMax", 1602},
        {eTagTuermatik, 1, MOX_TUERMATIK_MAX, "[%ds ..%ds]", "m_pLabelVerzoegerungszeit",
         stxt::kVerzoegerungszeit, "m_pTuermatik", "m_pTuermatikSpin", "Label9",
         "m_pLabelVerzoegerungszeitMax", 1603},
        {eTagSchaltdauerMfr, 1, MOX_SCHALTDAUERMFR_MAX, "[%ds ..%ds]", "m_pLabelSchaltdauer",
         stxt::kSchaltdauer, "m_pSchaltdauerMfr", "m_pSchaltdauerMfrSpin", "Label14",
         "m_pLabelSchaltdauerMax", 1604},
        {eTagKettenruf, MOX_KETTENRUF_MIN, MOX_KETTENRUF_MAX, "[%ds ..%ds]", "m_pLabelKettenruf",
         stxt::kKettenruf, "m_pKettenruf", "m_pKettenrufSpin", "Label17", "m_pLabelKettenrufMax",
         1605},
        {eTagNachtriggern, MOX_NACHTRIGGERN_MIN, MOX_NACHTRIGGERN_MAX, "[%d ..%d]",
         "m_pLabelNachtriggern", stxt::kNachtriggern, "m_pNachtriggern", "m_pNachtriggernSpin",
         nullptr, "m_pLabelNachtriggernMax", 1607},
    };
    int row = 1;
    for (const Def& d : kTimes) {
        TimeRow r{d.tag,   d.minimum, d.maximum, d.format, nullptr,
                  nullptr, nullptr,   nullptr,   nullptr};
        r.label = Make<QLabel>(area, d.label, d.labelText);
        // A long caption breaks onto a second line rather than push the
        // range beside it out of a narrow page (the wizard's work panel).
        r.label->setWordWrap(true);
        r.edit = Make<QLineEdit>(area, d.edit, d.tag, d.help);
        r.spin = Make<TCSpinButton>(area, d.spin, d.tag, d.help);
        if (d.unit)
            r.unit = Make<QLabel>(area, d.unit, stxt::kSekunden);
        r.range = Make<QLabel>(area, d.range);
        r.edit->setMaxLength(DecimalDigits(d.maximum));
        grid->addWidget(r.label, row, 0);
        grid->addWidget(r.edit, row, 1);
        grid->addWidget(r.spin, row, 2);
        if (r.unit)
            grid->addWidget(r.unit, row, 3);
        grid->addWidget(r.range, row, 4);
        ++row;

        QLineEdit* edit = r.edit;
        const int tag = d.tag;
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { OnCheckInput(edit); });
        edit->installEventFilter(this);
        connect(r.spin, &TCSpinButton::UpClick, this, [this, tag] { OnSpinClick(tag, 1); });
        connect(r.spin, &TCSpinButton::DownClick, this, [this, tag] { OnSpinClick(tag, -1); });
        m_Times.push_back(r);
    }

    Label5 = Make<QLabel>(area, "Label5", stxt::kPegel);
    Label5->setStyleSheet(QStringLiteral("font-weight: bold"));
    grid->addWidget(Label5, row++, 0, 1, 5);

    auto levelRow = [&](const char* label, int labelText, const char* edit, const char* spin,
                        const char* unit, const char* range, int help, QLabel** ppLabel,
                        QLineEdit** ppEdit, TCSpinButton** ppSpin, QLabel** ppRange) {
        *ppLabel = Make<QLabel>(area, label, labelText);
        (*ppLabel)->setWordWrap(true);
        *ppEdit = Make<QLineEdit>(area, edit, eTagPegel, help);
        *ppSpin = Make<TCSpinButton>(area, spin, eTagPegel, help);
        auto* db = Make<QLabel>(area, unit);
        db->setText(QStringLiteral("dB"));
        *ppRange = Make<QLabel>(area, range);
        (*ppEdit)->setMaxLength(kMaxLenPegel);
        grid->addWidget(*ppLabel, row, 0);
        grid->addWidget(*ppEdit, row, 1);
        grid->addWidget(*ppSpin, row, 2);
        grid->addWidget(db, row, 3);
        grid->addWidget(*ppRange, row, 4);
        ++row;
        QLineEdit* e = *ppEdit;
        TCSpinButton* s = *ppSpin;
        connect(e, &QLineEdit::textChanged, this, [this, e] { OnCheckPegelInput(e); });
        e->installEventFilter(this);
        connect(s, &TCSpinButton::UpClick, this, [this, s] { OnPegelSpinClick(s, true); });
        connect(s, &TCSpinButton::DownClick, this, [this, s] { OnPegelSpinClick(s, false); });
    };
    levelRow("m_pLabelPegelKommend", stxt::kPegelKommend, "m_pPegelKommend", "m_pPegelSpinKommend",
             "Label2", "m_pLabelPegelKommendMax", 1606, &m_pLabelPegelKommend, &m_pPegelKommend,
             &m_pPegelSpinKommend, &m_pLabelPegelKommendMax);
    levelRow("m_pLabelPegelGehend", stxt::kPegelGehend, "m_pPegelGehend", "m_pPegelSpinGehend",
             "Label3", "m_pLabelPegelGehendMax", 1609, &m_pLabelPegelGehend, &m_pPegelGehend,
             &m_pPegelSpinGehend, &m_pLabelPegelGehendMax);

    m_pSprachausgabe = Make<QCheckBox>(area, "m_pSprachausgabe", stxt::kSprachausgabe, 1608);
    m_pSprachausgabe->setEnabled(false); // shown, never switched, on this page
    m_pbSprachwaage = Make<QCheckBox>(area, "m_pbSprachwaage", stxt::kSprachwaage, 1608);
    grid->addWidget(m_pSprachausgabe, row++, 0, 1, 5);
    grid->addWidget(m_pbSprachwaage, row++, 0, 1, 5);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(5, 1);
}

// ------------------------------------------------------------------ protocol

void TFormSystem::OnOpen(TMessage&) {
    TMoxDocument* doc = GetDoc();
    if (!doc)
        return;
    for (const TimeRow& r : m_Times)
        r.edit->setToolTip(m_pRes ? m_pRes->GetQHint(r.label->property("Tag").toInt()) : QString());
    if (m_pRes) {
        m_pPegelKommend->setToolTip(m_pRes->GetQHint(stxt::kPegelKommend));
        m_pPegelGehend->setToolTip(m_pRes->GetQHint(stxt::kPegelGehend));
    }

    // The separator decides how the levels are shown: set before them.
    m_bPointSeparator = QLocale().decimalPoint() == QLatin1String(".");

    auto show = [this](int tag, long long value) {
        if (QLineEdit* edit = EditOfTag(tag))
            edit->setText(QString::number(value));
    };
    show(eTagTuerrufannahme, doc->GetTuerrufannahme());
    show(eTagTuerrufdauer, doc->GetTuerrufdauer());
    show(eTagSchaltdauerMfr, doc->GetSchaltdauerMfr());
    show(eTagKettenruf, doc->GetKettenruf());
    show(eTagNachtriggern, doc->GetNachtriggern());
    show(eTagTuermatik, doc->GetTuermatik());
    m_pPegelKommend->setText(FormatPegel(doc->GetPegelKommend()));
    m_pPegelGehend->setText(FormatPegel(doc->GetPegelGehend()));

    for (const TimeRow& r : m_Times)
        r.range->setText(RangeText(r.format, r.minimum, r.maximum));
    m_pLabelPegelKommendMax->setText(RangeText("[%ddb..%ddb]", -12, 12));
    m_pLabelPegelGehendMax->setText(RangeText("[%ddb ..%ddb]", -12, 12));

    m_pSprachausgabe->setChecked(doc->GetSprachausgabe() != 0);
    m_pbSprachwaage->setChecked(doc->GetSprachwaage() != 0);
    m_pbSprachwaage->setEnabled(doc->GetTypeKMR() == 1);

    const bool times = SystemForm::ProgramMode() == eModeExpert;
    Label11->setVisible(times);
    for (const TimeRow& r : m_Times)
        for (QWidget* w : {static_cast<QWidget*>(r.label), static_cast<QWidget*>(r.edit),
                           static_cast<QWidget*>(r.spin), static_cast<QWidget*>(r.unit),
                           static_cast<QWidget*>(r.range)})
            if (w)
                w->setVisible(times);
}

void TFormSystem::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormSystems::OnSave>");
    TMoxDocument* doc = GetDoc();
    MOX_INVARIANT(doc);

    auto integer = [this](int tag) {
        long long v = 0;
        return EditInteger(EditOfTag(tag), &v) ? v : 0;
    };
    doc->SetTuerrufannahme(Saturate<std::uint8_t>(integer(eTagTuerrufannahme)));
    doc->SetTuerrufdauer(Saturate<std::uint16_t>(integer(eTagTuerrufdauer)));
    doc->SetSchaltdauerMfr(Saturate<std::uint16_t>(integer(eTagSchaltdauerMfr)));
    doc->SetKettenruf(Saturate<std::uint8_t>(integer(eTagKettenruf)));
    // An empty level stores 0 dB; text that is no number at all (a lone
    // sign typed just before the page was left) keeps the stored level
    // instead of inventing one.
    for (QLineEdit* edit : {m_pPegelKommend, m_pPegelGehend}) {
        double dB = 0.0;
        if (!edit->text().trimmed().isEmpty() && !PegelOf(edit->text(), &dB))
            continue;
        if (edit == m_pPegelKommend)
            doc->SetPegelKommend(dB);
        else
            doc->SetPegelGehend(dB);
    }
    doc->SetNachtriggern(Saturate<std::uint8_t>(integer(eTagNachtriggern)));
    doc->SetTuermatik(Saturate<std::uint8_t>(integer(eTagTuermatik)));
    doc->SetSprachausgabe(m_pSprachausgabe->isChecked() ? 1 : 0);
    doc->SetSprachwaage(m_pbSprachwaage->isChecked() ? 1 : 0);
}

void TFormSystem::OnRestore(TMessage&) {
    if (TMoxDocument* doc = GetDoc())
        doc->InitSystem();
    Perform(WM_OPEN, -1, -1);
}

void TFormSystem::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    FocusFirstControl(m_pPegelKommend);
}

bool TFormSystem::eventFilter(QObject* watched, QEvent* event) {
    if (IsFieldLeft(event)) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit == m_pPegelKommend || edit == m_pPegelGehend)
            OnPegelExit(edit);
        else if (edit)
            OnExit(edit);
    }
    return TDataView::eventFilter(watched, event);
}

// ------------------------------------------------------------------ times

const TFormSystem::TimeRow* TFormSystem::RowOfTag(int tag) const {
    for (const TimeRow& r : m_Times)
        if (r.tag == tag)
            return &r;
    return nullptr;
}

QLineEdit* TFormSystem::EditOfTag(int tag) const {
    const TimeRow* r = RowOfTag(tag);
    return r ? r->edit : nullptr;
}

bool TFormSystem::EditInteger(const QLineEdit* edit, long long* value) {
    if (!edit)
        return false;
    bool ok = false;
    const long long v = edit->text().trimmed().toLongLong(&ok);
    if (ok)
        *value = v;
    return ok;
}

void TFormSystem::SetValue(int tag, long long value, bool minCheck) {
    const TimeRow* r = RowOfTag(tag);
    MOX_INVARIANT(r != nullptr);
    long long shown = value;
    if (minCheck && value < r->minimum)
        shown = r->minimum;
    else if (value > r->maximum)
        shown = r->maximum;
    const QString text = QString::number(shown);
    if (r->edit->text() != text) {
        m_bCorrecting = true;
        r->edit->setText(text);
        m_bCorrecting = false;
    }
}

void TFormSystem::OnCheckInput(QLineEdit* edit) {
    if (m_bCorrecting)
        return;
    CheckInput(edit);
    long long v = 0;
    SetValue(edit->property("Tag").toInt(), EditInteger(edit, &v) ? v : 0, false);
}

void TFormSystem::OnExit(QLineEdit* edit) {
    long long v = 0;
    if (EditInteger(edit, &v))
        SetValue(edit->property("Tag").toInt(), v, true);
    else
        SetValue(edit->property("Tag").toInt(), 0, false);
}

void TFormSystem::OnSpinClick(int tag, int delta) {
    long long v = 0;
    if (EditInteger(EditOfTag(tag), &v))
        SetValue(tag, v + delta, true);
    else
        SetValue(tag, 0, true);
}

// ------------------------------------------------------------------ levels

QChar TFormSystem::DecimalSeparator() const {
    return m_bPointSeparator ? QLatin1Char('.') : QLatin1Char(',');
}

QString TFormSystem::FormatPegel(double value) const {
    QString text = QString::number(value, 'f', 1);
    if (text == QLatin1String("-0.0"))
        text = QStringLiteral("0.0");
    text.replace(QLatin1Char('.'), DecimalSeparator());
    return text;
}

bool TFormSystem::PegelOf(const QString& edit, double* value) {
    QString text = edit.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

double TFormSystem::RoundHalfDb(double value) {
    const double i = std::trunc(value);
    const double f = value - i;
    if (f >= 0)
        return f < 0.25 ? i : (f < 0.75 ? i + 0.5 : i + 1.0);
    const double g = -f;
    return g < 0.25 ? i : (g < 0.75 ? i - 0.5 : i - 1.0);
}

void TFormSystem::OnCheckPegelInput(QLineEdit* edit) {
    if (m_bCorrecting || !edit->isVisible())
        return;
    QString text = edit->text();
    // The character just typed stands before the caret.
    const int pos = edit->cursorPosition() - 1;
    if (pos < 0 || pos >= text.size())
        return;
    const QChar c = text[pos];
    QString fixed = text;
    if (c.isDigit() && c.unicode() < 128) {
        return;
    } else if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
        const bool first = pos == 0;
        const bool afterBlank = pos == 1 && text[0] == QLatin1Char(' ');
        if (first || afterBlank)
            return;
        fixed.remove(pos, 1);
    } else if (c == QLatin1Char('.') || c == QLatin1Char(',')) {
        const int separators =
            static_cast<int>(text.count(QLatin1Char('.')) + text.count(QLatin1Char(',')));
        if (separators != 1) {
            fixed.remove(pos, 1);
        } else if (pos == 0) {
            fixed = QStringLiteral("0") + DecimalSeparator() + text.mid(1);
        } else {
            fixed[pos] = DecimalSeparator();
        }
    } else {
        fixed.remove(pos, 1);
    }
    if (fixed == text)
        return;
    if (fixed.size() < text.size())
        QApplication::beep();
    m_bCorrecting = true;
    edit->setText(fixed);
    edit->setCursorPosition(static_cast<int>(fixed.size()));
    m_bCorrecting = false;
}

void TFormSystem::OnPegelSpinClick(TCSpinButton* sender, bool up) {
    QLineEdit* edit = sender == m_pPegelSpinGehend ? m_pPegelGehend : m_pPegelKommend;
    QString shown;
    if (edit->text().trimmed().isEmpty()) {
        shown = FormatPegel(up ? kPegelMax : kPegelMin);
    } else {
        double v = 0.0; // a lone sign counts as 0
        PegelOf(edit->text(), &v);
        v += up ? kPegelStep : -kPegelStep;
        if (v > kPegelMax)
            v = kPegelMax;
        else if (v < kPegelMin)
            v = kPegelMin;
        shown = FormatPegel(v);
    }
    m_bCorrecting = true;
    edit->setText(shown);
    m_bCorrecting = false;
}

void TFormSystem::OnPegelExit(QLineEdit* edit) {
    QString text = edit->text();
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed == QLatin1String("+") || trimmed == QLatin1String("-"))
        text = QStringLiteral("0");
    else if (text.size() == 2 && (text[1] == QLatin1Char('.') || text[1] == QLatin1Char(',')))
        text.truncate(1);

    double v = 0.0;
    if (!PegelOf(text, &v))
        v = 0.0;
    v = RoundHalfDb(v);
    if (v < kPegelMin) {
        v = kPegelMin;
        Beep(kBeepMinHz, kBeepMs);
    } else if (v > kPegelMax) {
        v = kPegelMax;
        Beep(kBeepMaxHz, kBeepMs);
    }
    m_bCorrecting = true;
    edit->setText(FormatPegel(v));
    m_bCorrecting = false;
}
