#pragma once
// TSetComPortDlg: how the program reaches the box (the transfer-medium
// setting) and, for the ISDN link, the PC's own number. OK stores the
// choice in the settings, Cancel stores nothing; the caller then brings
// the transfer controller in line with the setting.
//
// The items are the settings 0..9: none, the bus interface on COM1..COM4,
// the direct serial link on COM1..COM4, ISDN. The wizard leaves out ISDN.

#include <QDialog>

#include <memory>
#include <string>

class QButtonGroup;
class TkResourcen;

namespace Ui {
class SetComPortDlg;
}

class TSetComPortDlg : public QDialog {
    Q_OBJECT

public:
    // The item of each setting, in order; the ISDN item is the last.
    static constexpr int kItems = 10;
    static constexpr int kItemIsdn = 9;
    // Characters the own-number edit takes.
    static constexpr int kMaxOwnRnr = 24;

    // showIsdn: offer the ISDN item (the main window does, the wizard does
    // not). res may be null: the form keeps its design texts.
    TSetComPortDlg(QWidget* owner, bool showIsdn, TkResourcen* res);
    ~TSetComPortDlg() override;

    TSetComPortDlg(const TSetComPortDlg&) = delete;
    TSetComPortDlg& operator=(const TSetComPortDlg&) = delete;

    // Shows the dialog modally; true when it was closed with OK.
    static bool Run(QWidget* owner, bool showIsdn, TkResourcen* res);

    // The setting of the selected item.
    int GetItemIndex() const;
    // Shows the dialog's help page.
    void HelpBtnClick();

    // A stored setting this dialog can show: outside 0..9, or ISDN where it
    // is not offered, opens as "none".
    static int ShownSetting(int stored, bool showIsdn);

private:
    void BuildItems(bool showIsdn);
    void OnClick();
    void OnCheckInput();
    void OnOk();

    std::unique_ptr<Ui::SetComPortDlg> ui;
    TkResourcen* m_pRes;
    QButtonGroup* m_pItems;
};
