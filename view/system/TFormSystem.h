#pragma once
// TFormSystem: the page of the box's system times (door-call acceptance,
// maximum connection time, door-automation delay, multifunction-relay
// switching time, chain-call time, re-triggering of a door call), the
// incoming and outgoing audio levels and the two speech options (node kind
// 28; the wizard embeds it with kind 38).
//
// Every number has an edit, an up/down button pair and a range label; an
// edit and its buttons share a range tag by which the handlers find the
// range. A time is held inside its range while it is typed (only the
// minimum waits until the field is left, so that "5" can grow into "50");
// a level is in half-dB steps between -12 and 12. The document refuses what
// is out of its own ranges when the page is stored. In standard mode only
// the levels and the speech options show.

#include "TDataView.h"

#include <functional>
#include <map>

class QCheckBox;
class QLabel;
class QLineEdit;
class TCSpinButton;

class TFormSystem : public TDataView {
    Q_OBJECT

public:
    TFormSystem(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TFormSystem() override;

    // Range tags of the number fields (10003 and 10006 were never used).
    enum eRangeTag : int {
        eTagTuerrufannahme = 10001,
        eTagTuerrufdauer = 10002,
        eTagSchaltdauerMfr = 10004,
        eTagKettenruf = 10005,
        eTagTuermatik = 10007,
        eTagPegel = 10008,
        eTagNachtriggern = 10009,
    };

    static constexpr double kPegelMin = -12.0;
    static constexpr double kPegelMax = 12.0;
    static constexpr double kPegelStep = 0.5;
    // The warning tones of a level cut to the range, one for each end, so
    // that the ear tells which end was hit.
    static constexpr int kBeepMinHz = 250;
    static constexpr int kBeepMaxHz = 200;
    static constexpr int kBeepMs = 250;

    // The level as the page rounds it when the field is left.
    static double RoundHalfDb(double value);

    // Where the range tones go; empty restores the system beep.
    using BeepHandler = std::function<void(int hz, int ms)>;
    static void SetBeepForTesting(BeepHandler handler);

protected:
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void OnRestore(TMessage& message) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TimeRow {
        int tag;
        int minimum;
        int maximum;
        const char* format; // of the range label: minimum, maximum
        QLabel* label;
        QLineEdit* edit;
        TCSpinButton* spin;
        QLabel* unit; // null where the value has no unit
        QLabel* range;
    };

    void BuildForm();
    QLineEdit* EditOfTag(int tag) const;
    const TimeRow* RowOfTag(int tag) const;
    // Shows value in the edit of the tag, held to the range (the minimum
    // only with minCheck).
    void SetValue(int tag, long long value, bool minCheck);
    // The integer of a time edit; false when it is empty (or holds no number).
    static bool EditInteger(const QLineEdit* edit, long long* value);

    void OnCheckInput(QLineEdit* edit);
    void OnExit(QLineEdit* edit);
    void OnSpinClick(int tag, int delta);

    void OnCheckPegelInput(QLineEdit* edit);
    void OnPegelSpinClick(TCSpinButton* sender, bool up);
    void OnPegelExit(QLineEdit* edit);
    QChar DecimalSeparator() const;
    QString FormatPegel(double value) const;
    // The level of an edit; false when the text is not a number.
    static bool PegelOf(const QString& text, double* value);

    std::vector<TimeRow> m_Times;
    QLabel* Label11 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* m_pLabelPegelKommend = nullptr;
    QLineEdit* m_pPegelKommend = nullptr;
    TCSpinButton* m_pPegelSpinKommend = nullptr;
    QLabel* m_pLabelPegelKommendMax = nullptr;
    QLabel* m_pLabelPegelGehend = nullptr;
    QLineEdit* m_pPegelGehend = nullptr;
    TCSpinButton* m_pPegelSpinGehend = nullptr;
    QLabel* m_pLabelPegelGehendMax = nullptr;
    QCheckBox* m_pSprachausgabe = nullptr;
    QCheckBox* m_pbSprachwaage = nullptr;

    // Whether the user's decimal separator is a point; set on every open.
    bool m_bPointSeparator = true;
    // Guards the change handlers against the page's own corrections.
    bool m_bCorrecting = false;
};
