#pragma once
// TFormGeraete: the devices of the installation (node kind 2; the wizard
// embeds it with kind 38): camera device, door-interface variant, universal
// controller, bus switching module and the camera choice. They decide which
// tables of the configuration are in use and which nodes the tree shows.
//
// A device click sets the tree-change flag; the store that follows asks the
// main window for a new tree when the document changed. The main window
// rebuilds only after the page's operation has returned, so the page is
// never destroyed under its own handler. Embedded pages ask nothing: their
// host stores them and shapes its own sequence from the device types.

#include "TDataView.h"

class QCheckBox;
class QLabel;
class TRadioGroup;

class TFormGeraete : public TDataView {
    Q_OBJECT

public:
    TFormGeraete(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TFormGeraete() override;

    bool GetTreeChangeFlag() const { return m_bTreeChange; }

protected:
    void InitPage() override;
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void OnITClick();
    void OnKMRClick();
    void OnRAKClick();
    void OnBSMClick();
    void OnKamera(QCheckBox* sender);
    void OnDeactivate();
    void AskForNewTree();
    void OrderTabStops();

    QLabel* Label10 = nullptr;
    TRadioGroup* m_pKMR = nullptr;
    TRadioGroup* m_pIT = nullptr;
    TRadioGroup* m_pRAK = nullptr;
    TRadioGroup* m_pEIB = nullptr;
    TRadioGroup* m_pBSM = nullptr;
    QCheckBox* m_pKMRKamera = nullptr;
    QCheckBox* m_pRAKKamera = nullptr;

    bool m_bTreeChange = false;
};
