#include "TSetComPortDlg.h"

#include "ui_TSetComPortDlg.h"

#include "CapiCallInfo.h"
#include "DbgOut.h"
#include "DialogTextIds.h"
#include "FocusRules.h"
#include "MoxQString.h"
#include "PermSettings.h"
#include "TDialogHelp.h"
#include "TMsgBox.h"
#include "TQtNumEdit.h"
#include "TextSubst.h"
#include "TkResourcen.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>

#include <array>

namespace {

// The form's own item texts, for a language file without them.
constexpr std::array<const char*, TSetComPortDlg::kItems> kDesignItems = {
    "leer",       "pRI COM-Port 1", "pRI COM-Port 2", "pRI COM-Port 3", "pRI COM-Port 4",
    "cOM-Port 1", "cOM-Port 2",     "cOM-Port 3",     "cOM-Port 4",     "b-Kanal",
};

// The COM port an item opens: the bus interface and the direct link each on
// COM1..COM4; 0 for no link and ISDN.
int ComNumberOfItem(int item) {
    if (item >= ePortPriCom1 && item <= ePortPriCom4)
        return item - ePortPriCom1 + 1;
    if (item >= ePortCom1 && item <= ePortCom4)
        return item - ePortCom1 + 1;
    return 0;
}

} // namespace

TSetComPortDlg::TSetComPortDlg(QWidget* owner, bool showIsdn, TkResourcen* res)
    : QDialog(owner), ui(std::make_unique<Ui::SetComPortDlg>()), m_pRes(res),
      m_pItems(new QButtonGroup(this)) {
    ui->setupUi(this);
    if (m_pRes)
        m_pRes->SetFormTexts(this);
    ui->m_pRnr->setMaxLength(kMaxOwnRnr);

    BuildItems(showIsdn);
    ui->m_pComPort->setTitle(QString());

    const int stored = GetComPort();
    const int shown = ShownSetting(stored, showIsdn);
    if (shown != stored)
        DbgOut(eDbgView, "<TSetComPortDlg::TSetComPortDlg> setting (%d) shown as (%d)", stored,
               shown);
    if (QAbstractButton* item = m_pItems->button(shown))
        item->setChecked(true);

    std::string own;
    GetPermMSNService(own);
    ui->m_pRnr->setText(MoxToQString(own));
    OnClick();

    connect(m_pItems, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            OnClick();
    });
    connect(ui->m_pRnr, &QLineEdit::textChanged, this, [this](const QString&) { OnCheckInput(); });
    connect(ui->m_pBtnOk, &QPushButton::clicked, this, &TSetComPortDlg::OnOk);
    connect(ui->m_pBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    TDialogHelp::InstallHelpKey(this);
}

TSetComPortDlg::~TSetComPortDlg() = default;

bool TSetComPortDlg::Run(QWidget* owner, bool showIsdn, TkResourcen* res) {
    TSetComPortDlg dlg(owner, showIsdn, res);
    return dlg.exec() == QDialog::Accepted;
}

int TSetComPortDlg::ShownSetting(int stored, bool showIsdn) {
    // A hand-edited or foreign settings file may hold anything; an item
    // that does not exist would leave the dialog without a choice.
    if (stored < ePortNone || stored > ePortCapi)
        return ePortNone;
    if (stored == kItemIsdn && !showIsdn)
        return ePortNone;
    return stored;
}

void TSetComPortDlg::BuildItems(bool showIsdn) {
    const int count = showIsdn ? kItems : kItemIsdn;
    for (int i = 0; i < count; ++i) {
        QString text = m_pRes ? m_pRes->GetQText(dtxt::kComPortItem0 + i) : QString();
        if (text.isEmpty())
            text = QString::fromLatin1(kDesignItems[static_cast<std::size_t>(i)]);
        auto* item = new QRadioButton(text, ui->m_pComPort);
        item->setObjectName(QStringLiteral("m_pComPortItem%1").arg(i));
        // A COM number says little on Linux, where the adapter is usually
        // /dev/ttyUSB0: the item names the device the settings map it to.
        if (const int com = ComNumberOfItem(i)) {
            const QString path = QString::fromStdString(GetComDevice(com));
            item->setText(DeviceItemText(text, path));
            item->setToolTip(path);
            m_Devices.push_back({item, text, path});
        }
        ui->m_pComPortLayout->addWidget(item);
        m_pItems->addButton(item, i);
    }
    const QList<QAbstractButton*> items = m_pItems->buttons();
    focusrules::TabStopOnCheckedRadio({items.begin(), items.end()});
    FitDevicePaths();
}

QString TSetComPortDlg::DeviceItemText(const QString& item, const QString& path) {
    return item + QStringLiteral(" (%1)").arg(path);
}

int TSetComPortDlg::MaxWidth() const {
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    // Room beside the dialog for the window it belongs to; and never so
    // narrow that the items' own texts would not fit.
    return screen ? std::max(kMinMaxWidth, screen->availableGeometry().width() * 2 / 3)
                  : kMinMaxWidth;
}

void TSetComPortDlg::FitDevicePaths() {
    // A device path from the settings may be of any length (a by-id name, a
    // mistyped one): a path the dialog cannot hold is shortened in its
    // middle, where the names of a port differ least, and shows whole in
    // the item's tooltip.
    const int excess = sizeHint().width() - MaxWidth();
    if (excess <= 0)
        return;
    int widest = 0;
    for (const QAbstractButton* b : m_pItems->buttons())
        widest = std::max(widest, b->sizeHint().width());
    const int itemRoom = widest - excess;
    for (const DeviceItem& d : m_Devices) {
        const QFontMetrics fm = d.item->fontMetrics();
        const int rest = d.item->sizeHint().width() - fm.horizontalAdvance(d.path);
        // A few characters of the path show whatever the room.
        const int pathRoom = std::max(fm.averageCharWidth() * kMinPathChars, itemRoom - rest);
        if (fm.horizontalAdvance(d.path) > pathRoom)
            d.item->setText(
                DeviceItemText(d.text, fm.elidedText(d.path, Qt::ElideMiddle, pathRoom)));
    }
}

int TSetComPortDlg::GetItemIndex() const {
    const int id = m_pItems->checkedId();
    return id < 0 ? ePortNone : id;
}

void TSetComPortDlg::OnClick() {
    const bool isdn = GetItemIndex() == kItemIsdn;
    ui->m_pRnr->setEnabled(isdn);
    ui->m_pRnrText->setEnabled(isdn);
}

void TSetComPortDlg::OnCheckInput() {
    // Only what the user types is filtered; the text put in on construction
    // is shown as it is stored.
    if (ui->m_pRnr->isVisible())
        CheckNumEdit(ui->m_pRnr, false, false, false);
}

void TSetComPortDlg::OnOk() {
    const int index = GetItemIndex();
    const std::string own = MoxFromQString(ui->m_pRnr->text());
    if (index == kItemIsdn && own.size() > CAPI_MAX_NUMBER_LEN) {
        // The own number goes into every call and every listen; the ISDN
        // link refuses one it cannot carry, so it is refused here, where
        // the user can still mend it.
        const char* text = m_pRes ? m_pRes->GetText(dtxt::kNumberTooLong) : nullptr;
        const std::string msg = TextSubst(
            text, {own, static_cast<int>(own.size()), static_cast<int>(CAPI_MAX_NUMBER_LEN)});
        TMsgBox::Show(this, dtxt::kNumberTooLong, MoxToQString(msg),
                      m_pRes ? m_pRes->GetQText(dtxt::kCaption) : QString(),
                      mb::kOk | mb::kIconStop);
        ui->m_pRnr->setFocus();
        return;
    }
    SetComPort(index);
    if (index == kItemIsdn)
        SetPermMSNService(own);
    accept();
}

void TSetComPortDlg::HelpBtnClick() {
    TDialogHelp::Show(TDialogHelp::ContextOf(this));
}
