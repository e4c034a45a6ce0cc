#pragma once
// TFormBSMProg: the tree's page that starts the assignment of
// the relay codes of a bus switch module (node kind 22). Reading and writing the
// configuration first exclude each other; the page runs the page-hosting
// dialog on the code page.

#include "TFormProgStart.h"

class TFormBSMProg : public TFormProgStart {
    Q_OBJECT

public:
    TFormBSMProg(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                 TkResourcen* res);
    ~TFormBSMProg() override;

protected:
    bool IsLesenFixed() const override { return false; }
    int GetToDoInProg() const override;
    bool AskSave() const override;
    std::unique_ptr<QDialog> MakeDialog(bool readBox) override;
    bool ReportsFinalSend() const override { return true; }
    bool FocusesLesen() const override { return true; }
};
