#pragma once
// TDelayDlg: a short wait after the configuration was sent, before the
// programming dialog talks to the box: the box takes about two seconds to
// take the new configuration over. It closes itself after 21 ticks of
// 100 ms and counts them on its button, which is never enabled; Esc and the
// window's close box cannot cut the wait short.

#include <QDialog>

#include <cstdint>
#include <memory>

class QTimer;
class TkResourcen;

namespace Ui {
class DelayDlg;
}

class TDelayDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTickMs = 100;
    // The dialog closes once the counter exceeds this.
    static constexpr std::int32_t kLastTick = 20;

    // res may be null: the dialog keeps its design text.
    TDelayDlg(QWidget* owner, TkResourcen* res);
    ~TDelayDlg() override;

    TDelayDlg(const TDelayDlg&) = delete;
    TDelayDlg& operator=(const TDelayDlg&) = delete;

    // One tick of the timer (tests call it instead of waiting).
    void OnTimer();
    void m_pOKClick();

    // Esc and the close box end in here: the wait ends only by its ticks.
    void reject() override;

    std::int32_t GetCounter() const { return m_nCounter; }

private:
    std::unique_ptr<Ui::DelayDlg> ui;
    QTimer* DelayTimer = nullptr;
    std::int32_t m_nCounter = 0;
};
