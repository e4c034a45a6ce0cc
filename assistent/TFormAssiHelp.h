#pragma once
// TFormAssiHelp: a help page of the wizard, shown beside the work page: one
// to four word-wrapped labels whose captions are language texts by Tag. The
// page of each step is this form with the step's texts; its objectName is
// the name the step gives it.

#include <QWidget>

#include <array>

class QScrollArea;
class TkResourcen;

class TFormAssiHelp : public QWidget {
    Q_OBJECT

public:
    // owner: the wizard's help panel (a null owner is an invariant failure).
    // texts: the labels' text ids, 0 ends the list.
    TFormAssiHelp(QWidget* owner, TkResourcen* res, const char* name,
                  const std::array<int, 4>& texts);
    ~TFormAssiHelp() override;

private:
    QScrollArea* ScrollBox1 = nullptr;
};
