#pragma once
// The wizard's devices question (step 1): enter the devices by hand or read
// them from the box over the interface.

#include "TFormAssiKonfig.h"

class QRadioButton;

class TAssiFormGeraeteCfg : public TFormAssiKonfig {
    Q_OBJECT

public:
    TAssiFormGeraeteCfg(QWidget* owner, TMoxDocument* doc, TkResourcen* res, IAssiFrame* frame);

protected:
    void OnOpen() override;
    void OnSave() override;

private:
    QRadioButton* m_pRadioUser = nullptr;
    QRadioButton* m_pRadioRead = nullptr;
};
