#pragma once
// TCSpinButton: the up/down button pair beside a number field. A button
// held down repeats: first after 400 ms, then every 100 ms, so a long press
// runs through a range without a click per step.

#include <QWidget>

class QToolButton;

class TCSpinButton : public QWidget {
    Q_OBJECT

public:
    explicit TCSpinButton(QWidget* parent = nullptr);

    QToolButton* UpButton() const { return m_pUp; }
    QToolButton* DownButton() const { return m_pDown; }

    static constexpr int kRepeatDelayMs = 400;
    static constexpr int kRepeatIntervalMs = 100;

signals:
    void UpClick();
    void DownClick();

private:
    QToolButton* m_pUp;
    QToolButton* m_pDown;
};
