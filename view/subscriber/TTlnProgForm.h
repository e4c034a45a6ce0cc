#pragma once
// TTlnProgForm: prepares the door interface's subscribers for programming
// on the bus. One grid row per subscriber with its call number and video
// flag, the number of free bus addresses the box reported, buttons that
// delete the bus address of one or of all subscribers, and the way on to
// the call-button assignment (TTlnSetDlg).
//
// Two uses:
//  - as a dialog (any node kind but 38): the subscriber-programming page
//    runs it with exec(). 200 ms after construction it reads the box's
//    configuration once per document, then the free-address count; while
//    it shows it takes the programming results the main window forwards
//    (it registers itself for them). exec() answers 1 when the dialog
//    changed something in the box or the count was read, else 2.
//  - embedded in the wizard (node kind 38): no close button, no border, it
//    fills its owner (which must be a widget) and shows itself; 200 ms
//    after construction it requests the free-address count. Its host
//    forwards the programming results through Perform and stores it with
//    Perform(WM_SAVE).
//
// The box is reached only through the transfer controller, the subscriber
// data only through the document. GUI thread only.

#include "MessageAddress.h"
#include "TDataView.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class IMainTransfer;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;
class TkResourcen;
class TMoxDocument;
class TNodeData;
class ITlnProgPort;
class TTlnVideoSelector;

namespace mox::platform {
class MessageReceiver;
}
namespace Ui {
class TTlnProgForm;
}

class TTlnProgForm : public QDialog {
    Q_OBJECT

public:
    // transfer, doc and res must be given (invariant); holder may be null
    // (dialog use). Not owned.
    TTlnProgForm(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                 TMoxDocument* doc, TkResourcen* res);
    ~TTlnProgForm() override;

    TTlnProgForm(const TTlnProgForm&) = delete;
    TTlnProgForm& operator=(const TTlnProgForm&) = delete;

    // Window messages: WM_SAVE and the programming results. Synchronous.
    std::intptr_t Perform(std::uint32_t msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    mox::platform::MessageAddress Address() const;
    void Dispatch(TMessage& message);

    // The one-shot start timer: mode 1 dialog, 2 wizard page. A start while
    // it runs is ignored.
    void StartTimer(int mode, int intervalMs);
    void StopTimer();
    bool IsTimerActive() const;
    int GetTimerMode() const { return m_nTimerMode; }
    // What the timer runs; tests call it instead of waiting.
    void OnTimer();

    // The help page of the form's help context.
    void OnHelp();

    // Buttons.
    void OnProg();
    void OnDelTln();
    void OnDelAllTln();
    void m_pCloseButtonClick();

    // Whether a subscriber row without bus address and number may still take
    // one of the free addresses.
    bool Possible(int index) const;
    // Repaints the grid, the free-address line and the delete buttons for a
    // grid row (-1: the current one).
    void UpdateButtons(int row = -1);

    // The modal result the dialog gives on closing: 1 set, 2 clear.
    bool GetResultFlag() const { return m_bResult; }
    bool GetChangedFlag() const { return m_bChanged; }
    bool IsWizardPage() const { return m_bWizard; }

    // Runs the call-button assignment dialog (tests replace it so no modal
    // dialog blocks); the default builds a TTlnSetDlg and runs it.
    using SetDlgRunner = std::function<void(TTlnProgForm& parent)>;
    static void SetSetDlgRunnerForTesting(SetDlgRunner runner);

public slots:
    void done(int result) override;
    // Esc and the window's close box: as the close button, so nothing is
    // sent to the box unless something was assigned or deleted. In the
    // wizard the wizard's own buttons end the step.
    void reject() override;

protected:
    void OnSave(TMessage& message);
    void OnTransferMsg(TMessage& message);
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildForm();
    // One row per subscriber of the document, new rows empty.
    void SetGridRows();
    void FillGrid();
    // Each column as wide as its header and its widest cell need.
    void FitColumns();
    void UpdateRowIcons();
    // The free-address count unless a unit is in programming.
    void StartCount();
    // The free-address count, read modally; false closes the dialog.
    bool RequestKBACount();
    int ShowMsg(int textId, unsigned flags);
    void OnCurrentCellChanged(int row, int column, int prevRow, int prevColumn);
    void OnItemChanged(int row, int column);
    void RestoreUi();
    // Ends the dialog (or hides the wizard page) with the result flag.
    void CloseForm();
    ITlnProgPort* Prog() const { return m_pProg.get(); }
    // Index of the subscriber in a grid row, -1 for none.
    int SubscriberOfRow(int row) const;
    int SubscriberCount() const;

    // The form.
    std::unique_ptr<Ui::TTlnProgForm> ui;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* m_pTlnZuordnenBtn = nullptr;
    QTableWidget* m_pTlnGrid = nullptr;
    QPushButton* m_pTlnLoeschenBtn = nullptr;
    QTimer* m_pTransferTimer = nullptr;
    QPushButton* m_pCloseButton = nullptr;
    QLabel* Label7 = nullptr;
    QTimer* m_pSelectedDrawTimer = nullptr;
    QLabel* m_pAnzKBALabel = nullptr;
    QPushButton* m_pAllTlnLoeschenBtn = nullptr;

    bool m_bResult = true;
    bool m_bChanged = false;
    TkResourcen* m_pRes;
    TMoxDocument* m_pDoc;
    std::unique_ptr<TTlnVideoSelector> m_pVideoSelector;
    IMainTransfer* m_pDataTransfer;
    std::unique_ptr<ITlnProgPort> m_pProg;
    int m_nTimerMode = 0;
    bool m_bWizard = false;
    // The read changed a device type: the tree is rebuilt once this form
    // has gone, never under the handler that runs it.
    bool m_bRebuildTree = false;
    bool m_bRevertingCell = false;
    bool m_bFilling = false;
    bool m_bClosing = false;
    bool m_bSetDlgRunning = false;
    mox::platform::MessageReceiver* m_pReceiver = nullptr;
    // Buffer of the modal count request.
    std::array<std::uint8_t, 255> m_KbaBuffer{};
};
