#pragma once
// The wizard's read page (step 2): reads the devices from the box as soon as
// it opens and reports the outcome to the wizard, which moves on by itself.
// The report is posted, not sent: the wizard replaces this page when it
// acts on it, which must not happen while the page's own handler runs.
// A failed read falls back to entering the devices by hand.

#include "TFormAssiKonfig.h"

class TAssiFormGeraeteLesenCfg : public TFormAssiKonfig {
    Q_OBJECT

public:
    TAssiFormGeraeteLesenCfg(QWidget* owner, TMoxDocument* doc, TkResourcen* res,
                             IAssiFrame* frame);

protected:
    void OnOpen() override;

private:
    void Failed();
};
