#pragma once
// TFormProgStart: the design the three programming start pages share. A
// start page first sends the document's configuration to the box ("KTX
// aktualisieren"), optionally with the subscribers' bus addresses, waits
// about two seconds in TDelayDlg, runs its programming dialog, and sends
// the configuration again when the dialog ended with OK and the document
// was changed. It polls the link every second. It stores nothing in the
// document itself.
//
// The subclasses name the dialog and a few rules: TFormTlnProg runs the
// subscriber programming dialog, TFormSchaltcodeProg and TFormBSMProg the
// page-hosting dialog on the switching codes or the switch-module relays.
//
// Every modal dialog runs through one seam so that tests never block. GUI
// thread only.

#include "TDataView.h"

#include <QPointer>

#include <functional>
#include <memory>

class IMainTransfer;
class QCheckBox;
class QDialog;
class QLabel;
class QPushButton;
class QTimer;

namespace Ui {
class FormProgStart;
}

class TFormProgStart : public TDataView {
    Q_OBJECT

public:
    // transfer: the controller the main window handed over, or null; the
    // main window's own is taken when there is one.
    TFormProgStart(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                   TkResourcen* res);
    ~TFormProgStart() override;

    // The check boxes and the transfer button.
    void OnClickChkBox_incl_Busadressen();
    void OnClickChkBox_KTX_lesen();
    void OnClickChkBox_KTX_schreiben();
    void OnClickTransferBtn();
    // Every second.
    void OnUpdateTimer();

    bool GetRememberedBusAdr() const { return m_bBusAdr; }
    bool HasRun() const { return m_bHasRun; }

    // The dialog a start page runs now (the delay dialog or its programming
    // dialog), or nullptr.
    static QDialog* GetRunningDialog();

    // Runs a modal dialog and returns its result (1 OK, 2 cancelled); the
    // default runs exec(). An empty hook restores it.
    using ExecHook = std::function<int(QDialog& dialog)>;
    static void SetExecForTesting(ExecHook hook);
    // Saves the document as the main window's save command does; true when
    // saved. An empty hook restores the main window's.
    using SaveHook = std::function<bool()>;
    static void SetSaveForTesting(SaveHook hook);

protected:
    void InitPage() override;
    void showEvent(QShowEvent* event) override;

    // "KTX lesen" is always checked (the subscriber page).
    virtual bool IsLesenFixed() const = 0;
    // The instruction while a subscriber unit is in programming.
    virtual int GetToDoInProg() const = 0;
    // Whether the document is offered for saving before the dialog.
    virtual bool AskSave() const = 0;
    // Makes the programming dialog; readBox: "KTX lesen" is checked.
    virtual std::unique_ptr<QDialog> MakeDialog(bool readBox) = 0;
    // Whether a successful send after the dialog is reported.
    virtual bool ReportsFinalSend() const = 0;
    // Whether the focus falls back on "KTX lesen" without a transfer
    // button.
    virtual bool FocusesLesen() const = 0;
    // Extra construction steps after the common ones.
    virtual void InitStartPage() {}

    IMainTransfer* Transfer() const;
    bool IsConnected() const;
    bool IsUnitInProg() const;
    void UpdateDirection();
    void SetToDo(int textId);
    QCheckBox* ChkLesen() const;
    QCheckBox* ChkSchreiben() const;
    QCheckBox* ChkBusAdr() const;
    QPushButton* TransferBtn() const;
    QLabel* ToDoLabel() const;
    QLabel* Heading() const;
    QLabel* Label3() const;

private:
    // Sends the configuration; false after the failure message.
    bool SendConfiguration(bool withBusAdr);
    int Exec(QDialog& dialog);

    std::unique_ptr<Ui::FormProgStart> ui;
    IMainTransfer* m_pDataTransfer;
    QTimer* Timer1 = nullptr;
    bool m_bBusAdr = false;
    bool m_bHasRun = false;

    static inline QPointer<QDialog> s_pRunning;
};
