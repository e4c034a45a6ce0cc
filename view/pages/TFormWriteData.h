#pragma once
// TFormWriteData: the tree's page that writes the document's configuration
// into the box (node kind 32). It names the link in use, offers the start
// button while the link can carry an exchange, and shows the result; one
// write per visit of the page. For door-interface type 2 the user chooses
// whether the subscribers' bus addresses are sent too; every other type
// always sends them.

#include "TDataView.h"

#include <memory>

class IMainTransfer;

namespace Ui {
class FormWriteData;
}

class TFormWriteData : public TDataView {
    Q_OBJECT

public:
    // transfer: the main window's transfer controller, not owned; null
    // before the window was first shown (the start button stays off).
    TFormWriteData(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                   TkResourcen* res);
    ~TFormWriteData() override;

    // The start button.
    void OnWriteData();
    // The check box "send the bus addresses too".
    void OnClickChkBox_incl_Busadressen();

protected:
    void InitPage() override;
    void OnConnectionChanged(TMessage& message) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::FormWriteData> ui;
    IMainTransfer* m_pDataTransfer;
};
