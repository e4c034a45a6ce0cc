#pragma once
// The wizard's welcome page (step 0): how the buttons work, and a check box
// that stops the wizard from opening at the next start (it stays in the help
// menu). The box writes the setting at once: cancelling the wizard later
// does not undo it.

#include "TFormAssiKonfig.h"

class QCheckBox;

class TAssiFormWillkommenCfg : public TFormAssiKonfig {
    Q_OBJECT

public:
    TAssiFormWillkommenCfg(QWidget* owner, TMoxDocument* doc, TkResourcen* res, IAssiFrame* frame);

    // Click on the check box.
    void OnClickAssiBox();
    // Click on the text beside it: toggles the box.
    void OnClickAssi();

protected:
    void OnOpen() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCheckBox* m_pCheck = nullptr;
    QLabel* Label4 = nullptr;
};
