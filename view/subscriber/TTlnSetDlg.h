#pragma once
// TTlnSetDlg: assigns subscribers to the call buttons of a bus door
// loudspeaker unit while the box is in programming mode. The user picks a
// subscriber from the first-assignment list (a call number, no bus address
// yet: each takes one of the free addresses the box reported) or from the
// multiple-assignment list (a bus address already), starts the assignment,
// presses the call button on the unit, and the box answers with a
// programming result, which the main window forwards to this dialog while
// it shows (it registers itself for them). The addresses the box gave go
// into the document.
//
// While an assignment waits for the unit's call button, the dialog stays:
// Esc, the close box and "beenden" do nothing until the box has answered
// (or the assignment was cancelled), so the address the box gives reaches
// the document. Whatever closes the dialog gives the cursor and the mouse
// back.
//
// GUI thread only.

#include "MessageAddress.h"
#include "TDataView.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <memory>

class IMainTransfer;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class TkResourcen;
class TMoxDocument;
class ITlnProgPort;

namespace mox::platform {
class MessageReceiver;
}
namespace Ui {
class TTlnSetDlg;
}

class TTlnSetDlg : public QDialog {
    Q_OBJECT

public:
    // transfer, doc and res must be given (invariant); not owned.
    TTlnSetDlg(QWidget* owner, IMainTransfer* transfer, TMoxDocument* doc, TkResourcen* res);
    ~TTlnSetDlg() override;

    TTlnSetDlg(const TTlnSetDlg&) = delete;
    TTlnSetDlg& operator=(const TTlnSetDlg&) = delete;

    std::intptr_t Perform(std::uint32_t msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    mox::platform::MessageAddress Address() const;
    void Dispatch(TMessage& message);

    // Rebuilds the unit display, the instruction and (bUpdateTln) both lists.
    void UpdateView(bool bUpdateTln);
    void UpdateButtons();

    // The help page of the form's help context.
    void OnHelp();

    // Buttons and lists.
    void OnSet();
    void OnCancel();
    void OnEnd();
    void OnChangeNew();
    void OnChangeAgain();

    // The subscriber chosen in either list, -1 for none.
    int SelectedTln() const;
    // An assignment started here waits for the unit's call button.
    bool IsAssignmentWaiting() const;

public slots:
    // Esc and the window's close box: as "beenden", except while an
    // assignment waits.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void BuildForm();
    void OnProgQuit();
    void OnTransferMsg(TMessage& message);
    void ClearLists();
    int ShowMsg(int textId, unsigned flags);
    int ShowText(const QString& text, unsigned flags);
    ITlnProgPort* Prog() const { return m_pProg.get(); }

    std::unique_ptr<Ui::TTlnSetDlg> ui;
    QPushButton* m_pTlnZuordnenCancelBtn = nullptr;
    QPushButton* m_pTlnZuordnenBtn = nullptr;
    QPushButton* Button2 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* m_pBTLMLabel = nullptr;
    QLabel* m_pVideoLabel = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QComboBox* m_pNewCombo = nullptr;
    QComboBox* m_pAgainCombo = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* m_pToDoLabel = nullptr;

    TkResourcen* m_pRes;
    TMoxDocument* m_pDoc;
    IMainTransfer* m_pDataTransfer;
    std::unique_ptr<ITlnProgPort> m_pProg;
    mox::platform::MessageReceiver* m_pReceiver = nullptr;
    bool m_bShownOnce = false;
    // The subscriber of the assignment under way, -1 for none.
    int m_nAssignIdx = -1;
    // Buffer of the modal free-address list request.
    std::array<std::uint8_t, 255> m_KbaBuffer{};
};
