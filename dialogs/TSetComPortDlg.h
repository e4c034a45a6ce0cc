#pragma once
// TSetComPortDlg: how the program reaches the box (the transfer-medium
// setting) and, for the ISDN link, the PC's own number. OK stores the
// choice in the settings, Cancel stores nothing; the caller then brings
// the transfer controller in line with the setting.
//
// The items are the settings 0..9: none, the bus interface on COM1..COM4,
// the direct serial link on COM1..COM4, ISDN. The wizard leaves out ISDN.

#include <QDialog>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class QAbstractButton;
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
    // Narrowest the dialog's width limit ever is, in pixels.
    static constexpr int kMinMaxWidth = 320;
    // Characters of a shortened device path that show at least.
    static constexpr int kMinPathChars = 12;

    // A COM item and the device path it names.
    struct DeviceItem {
        QAbstractButton* item;
        QString text; // the item's own text
        QString path;
    };

    static QString DeviceItemText(const QString& item, const QString& path);
    // The widest the dialog may be on its screen.
    int MaxWidth() const;
    void FitDevicePaths();
    void BuildItems(bool showIsdn);
    void OnClick();
    void OnCheckInput();
    void OnOk();

    std::unique_ptr<Ui::SetComPortDlg> ui;
    TkResourcen* m_pRes;
    QButtonGroup* m_pItems;
    std::vector<DeviceItem> m_Devices;
};
