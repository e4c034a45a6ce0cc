#pragma once
// Panel 0 of the main window's status bar: the program-state lamp. Images 0
// no transfer medium, 1 ready, 2 box in programming mode, 3 switch-module
// programming, 4 subscriber unit in programming, 5 the dark lamp, 6
// subscriber unit in programming with video. Drawn here, no image files.

#include <QWidget>

class TProgStatePanel : public QWidget {
    Q_OBJECT

public:
    explicit TProgStatePanel(QWidget* parent = nullptr);

    void SetImage(int index);
    int Image() const { return m_nImage; }

    static QPixmap ImagePixmap(int index);

    QSize sizeHint() const override { return QSize(40, 20); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_nImage = 0;
};
