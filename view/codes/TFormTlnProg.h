#pragma once
// TFormTlnProg: the tree's page that starts subscriber programming (node
// kind 26). The configuration is always read ("KTX lesen" stays checked);
// the page runs the subscriber programming dialog.

#include "TFormProgStart.h"

class TFormTlnProg : public TFormProgStart {
    Q_OBJECT

public:
    TFormTlnProg(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                 TkResourcen* res);
    ~TFormTlnProg() override;

    // Makes the subscriber programming dialog (tests replace it); the
    // default makes a TTlnProgForm. An empty hook restores it.
    using DialogMaker = std::function<std::unique_ptr<QDialog>(TFormTlnProg& page)>;
    static void SetDialogMakerForTesting(DialogMaker maker);

protected:
    bool IsLesenFixed() const override { return true; }
    int GetToDoInProg() const override;
    bool AskSave() const override;
    std::unique_ptr<QDialog> MakeDialog(bool readBox) override;
    bool ReportsFinalSend() const override { return false; }
    bool FocusesLesen() const override { return true; }
    void InitStartPage() override;
};
