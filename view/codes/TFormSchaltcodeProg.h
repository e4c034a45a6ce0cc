#pragma once
// TFormSchaltcodeProg: the tree's page that starts the assignment of
// the switching codes of a bus door loudspeaker (node kind 18). Reading and writing the
// configuration first exclude each other; the page runs the page-hosting
// dialog on the code page.

#include "TFormProgStart.h"

class TFormSchaltcodeProg : public TFormProgStart {
    Q_OBJECT

public:
    TFormSchaltcodeProg(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                        TkResourcen* res);
    ~TFormSchaltcodeProg() override;

protected:
    bool IsLesenFixed() const override { return false; }
    int GetToDoInProg() const override;
    bool AskSave() const override;
    std::unique_ptr<QDialog> MakeDialog(bool readBox) override;
    bool ReportsFinalSend() const override { return false; }
    bool FocusesLesen() const override { return false; }
};
