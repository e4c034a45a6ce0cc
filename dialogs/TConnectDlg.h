#pragma once
// TConnectDlg: asks for the ISDN number of the box to dial. It offers the
// last ten numbers dialled, most recent first, and remembers the chosen one
// in the settings ("client0".."client9", index 0 the most recent).
//
// Dialling moves the number to the top of the list (or puts it there), so
// the list keeps its order otherwise and the eleventh number drops the
// oldest. Only digits can be typed. OK with an empty number closes the
// dialog and neither stores nor dials anything; a number longer than an
// ISDN call carries is refused with a message and the dialog stays open.
// Cancel stores nothing.

#include "PermSettings.h"

#include <QDialog>

#include <cstddef>
#include <memory>
#include <string>

class TkResourcen;

namespace Ui {
class ConnectDlg;
}

class TConnectDlg : public QDialog {
    Q_OBJECT

public:
    // Digits the combo box and a remembered number hold.
    static constexpr int kMaxRnr = 24;
    // Numbers remembered.
    static constexpr int kRemembered = kPermMsnClients;

    // res may be null: the form keeps its design texts.
    TConnectDlg(QWidget* owner, TkResourcen* res);
    ~TConnectDlg() override;

    TConnectDlg(const TConnectDlg&) = delete;
    TConnectDlg& operator=(const TConnectDlg&) = delete;

    // Shows the dialog modally; the number to dial, empty when the dialog
    // was cancelled or closed with no number.
    static std::string Run(QWidget* owner, TkResourcen* res);

    // The number in the combo box (digits only, at most 24).
    std::string GetRnr() const;
    // The same into a caller's buffer of size bytes: at most size - 1
    // characters and a NUL; returns the characters copied. Nothing is
    // written when size is 0.
    std::size_t GetRnr(char* buffer, std::size_t size) const;

    // Shows the dialog's help page.
    void HelpBtnClick();

private:
    void OnValidInput(const QString& text);
    void OnConnect();
    bool RefuseTooLong(const std::string& number);

    std::unique_ptr<Ui::ConnectDlg> ui;
    TkResourcen* m_pRes;
};
