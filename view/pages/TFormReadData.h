#pragma once
// TFormReadData: the tree's page that reads the box's configuration into
// the document (node kind 31). It names the link in use, offers the start
// button while the link can carry an exchange, and shows the result.
//
// A read that changes a device type changes the tree, and the rebuild
// destroys this page. The rebuild is therefore queued and runs after the
// read handler has returned; the page touches nothing of itself once it
// has asked for it. Every call that may run a nested event loop (the save
// question, the modal transfer, a message box) is followed by a check that
// the page still exists.

#include "TDataView.h"

#include <memory>

class IMainTransfer;
class QCheckBox;

namespace Ui {
class FormReadData;
}

class TFormReadData : public TDataView {
    Q_OBJECT

public:
    // transfer: the main window's transfer controller, not owned; null
    // before the window was first shown (the start button stays off).
    TFormReadData(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                  TkResourcen* res);
    ~TFormReadData() override;

    // The start button.
    void OnReadData();

protected:
    void InitPage() override;
    void OnConnectionChanged(TMessage& message) override;
    void showEvent(QShowEvent* event) override;

private:
    void QueueTreeRebuild();

    std::unique_ptr<Ui::FormReadData> ui;
    IMainTransfer* m_pDataTransfer;
    QCheckBox* m_pBusadresse = nullptr;
};
