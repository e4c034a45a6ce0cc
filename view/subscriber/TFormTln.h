#pragma once
// TFormTln: the page of the subscriber table (node kind 24, and embedded in
// the wizard with kind 38). One grid row per subscriber of the door
// interface with its call number and its video flag; for the large door
// interface an icon tells whether the subscriber has its bus address. The
// restore command clears one or all subscribers in the document and, over
// the open link, deletes their bus addresses in the box; the programming
// results that come back are shown as message boxes.

#include "TDataView.h"

#include <memory>

class IMainTransfer;
class QLabel;
class QTableWidget;
class QTimer;
class TTlnVideoSelector;

namespace Ui {
class FormTln;
}

class TFormTln : public TDataView {
    Q_OBJECT

public:
    // transfer: the transfer controller, not owned; null before the main
    // window was first shown (no address is deleted in the box then).
    TFormTln(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder, TkResourcen* res);
    ~TFormTln() override;

    void Dispatch(TMessage& message) override;

protected:
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void OnRestore(TMessage& message) override;
    void OnTransferErrorMsg(TMessage& message);
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Each column as wide as its header and its cells need, and never
    // narrower than the form made it.
    void FitColumns();
    void OnCurrentCellChanged(int row, int column, int prevRow, int prevColumn);
    void OnCellChanged(int row, int column);
    void HideSelectorWhenOutOfSight();
    int ShowText(const QString& text, unsigned flags);

    std::unique_ptr<Ui::FormTln> ui;
    IMainTransfer* m_pDataTransfer;
    QLabel* Label3 = nullptr;
    QTableWidget* m_pTlnGrid = nullptr;
    QTimer* m_pTimer = nullptr;
    std::unique_ptr<TTlnVideoSelector> m_pVideoSelector;
    bool m_bFilling = false;
};
