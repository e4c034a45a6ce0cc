#pragma once
// TFormSchaltcode: binds the six switching codes "#71".."#76" to call keys
// of a bus door loudspeaker unit. The unit in programming reports its
// address and whether it has video; the assign button binds the selected
// code to it.

#include "TFormProgCode.h"

class TFormSchaltcode : public TFormProgCode {
    Q_OBJECT

public:
    TFormSchaltcode(QWidget* owner, IProgPageHost* host, bool readFlag, IMainTransfer* transfer,
                    const TNodeData* holder, TkResourcen* res);
    ~TFormSchaltcode() override;

    void SetAktAdr() override;
    int GetRowCount() const override;
    int GetProgStateNeeded() const override;
    std::string GetRowLabel(int idx) const override;
    int GetTextId() const override;
    void RefreshToDo() override;
    bool NeedsBSM() const override { return false; }
    int GetHostCaptionId() const override;
    void OnZuordnen() override;

    bool IsConnectTimerActive() const;

protected:
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void OnRestore(TMessage& message) override;

private:
    QTimer* m_pConnectTimer = nullptr;
};
