#pragma once
// The wizard's last page (step 26): the configuration is complete; a check
// box asks to send it to the box when the wizard is finished. After a live
// programming page the box must get the configuration: the box is then
// checked and cannot be cleared. Leaving the page backwards never sends.

#include "TFormAssiKonfig.h"

class QCheckBox;

class TAssiFormEndeCfg : public TFormAssiKonfig {
    Q_OBJECT

public:
    TAssiFormEndeCfg(QWidget* owner, TMoxDocument* doc, TkResourcen* res, IAssiFrame* frame);

    // The wizard clears it before it leaves the page backwards.
    void SetSend(bool send) { m_bSend = send; }
    // Sends the configuration when the box is checked (the wizard ends).
    void OnClosePage() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QCheckBox* m_pSendDataBox = nullptr;
    bool m_bSend = true;
};
