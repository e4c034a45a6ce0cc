#pragma once
// TFormBSM: binds the six relay codes "#51".."#56" to relays of a bus
// switch module. The module in programming reports its address and relay;
// the assign button binds the selected code to it.

#include "TFormProgCode.h"

class TFormBSM : public TFormProgCode {
    Q_OBJECT

public:
    TFormBSM(QWidget* owner, IProgPageHost* host, bool readFlag, IMainTransfer* transfer,
             const TNodeData* holder, TkResourcen* res);
    ~TFormBSM() override;

    void SetAktAdr() override;
    int GetRowCount() const override;
    int GetProgStateNeeded() const override;
    std::string GetRowLabel(int idx) const override;
    int GetTextId() const override;
    void RefreshToDo() override;
    bool NeedsBSM() const override { return true; }
    int GetHostCaptionId() const override;
    void OnZuordnen() override;

protected:
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void OnRestore(TMessage& message) override;
};
