#include "TConnectDlg.h"

#include "ui_TConnectDlg.h"

#include "CapiCallInfo.h"
#include "DbgOut.h"
#include "DialogTextIds.h"
#include "MoxQString.h"
#include "NumEdit.h"
#include "TDialogHelp.h"
#include "TMsgBox.h"
#include "TextSubst.h"
#include "TkResourcen.h"

#include <QLineEdit>

#include <algorithm>
#include <cstring>

TConnectDlg::TConnectDlg(QWidget* owner, TkResourcen* res)
    : QDialog(owner), ui(std::make_unique<Ui::ConnectDlg>()), m_pRes(res) {
    ui->setupUi(this);
    if (m_pRes)
        m_pRes->SetFormTexts(this);
    ui->m_pRnr->lineEdit()->setMaxLength(kMaxRnr);
    // No inline completion: a letter typed into the empty field is stripped
    // and would leave the completer to fill in the first remembered number,
    // which OK would then dial.
    ui->m_pRnr->setCompleter(nullptr);

    ui->m_pRnr->clear();
    for (int i = 0; i < kRemembered; ++i) {
        std::string number;
        GetPermMSNClient(i, number);
        // The settings file may have been edited by hand; a longer number
        // than the combo holds is cut as the combo would cut it.
        if (number.size() > static_cast<std::size_t>(kMaxRnr)) {
            DbgOut(eDbgView, "<TConnectDlg::TConnectDlg> client%d cut to %d digits", i, kMaxRnr);
            number.resize(kMaxRnr);
        }
        if (!number.empty())
            ui->m_pRnr->addItem(MoxToQString(number));
    }

    connect(ui->m_pRnr, &QComboBox::editTextChanged, this, &TConnectDlg::OnValidInput);
    connect(ui->Button2, &QPushButton::clicked, this, &TConnectDlg::OnConnect);
    connect(ui->Button1, &QPushButton::clicked, this, &QDialog::reject);
    TDialogHelp::InstallHelpKey(this);
}

TConnectDlg::~TConnectDlg() = default;

std::string TConnectDlg::Run(QWidget* owner, TkResourcen* res) {
    TConnectDlg dlg(owner, res);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.GetRnr();
}

void TConnectDlg::OnValidInput(const QString& text) {
    QString digits;
    digits.reserve(text.size());
    for (const QChar ch : text)
        if (IsDigitChar(static_cast<char16_t>(ch.unicode())))
            digits.append(ch);
    QLineEdit* edit = ui->m_pRnr->lineEdit();
    if (digits != text)
        edit->setText(digits); // runs this handler once more, with nothing to strip
    edit->setCursorPosition(static_cast<int>(edit->text().size()));
}

bool TConnectDlg::RefuseTooLong(const std::string& number) {
    if (number.size() <= CAPI_MAX_NUMBER_LEN)
        return false;
    // The call's number field carries 16 digits; the link would refuse a
    // longer number only after the dialog has stored it and closed.
    const char* text = m_pRes ? m_pRes->GetText(dtxt::kNumberTooLong) : nullptr;
    const std::string msg = TextSubst(
        text, {number, static_cast<int>(number.size()), static_cast<int>(CAPI_MAX_NUMBER_LEN)});
    TMsgBox::Show(this, dtxt::kNumberTooLong, MoxToQString(msg),
                  m_pRes ? m_pRes->GetQText(dtxt::kCaption) : QString(), mb::kOk | mb::kIconStop);
    ui->m_pRnr->setFocus();
    return true;
}

void TConnectDlg::OnConnect() {
    const QString text = ui->m_pRnr->currentText();
    const std::string number = MoxFromQString(text);
    if (number.empty()) {
        // Nothing to dial: an empty entry would push the oldest number out.
        accept();
        return;
    }
    if (RefuseTooLong(number))
        return;

    const int found = ui->m_pRnr->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found != 0) {
        if (found > 0)
            ui->m_pRnr->removeItem(found);
        ui->m_pRnr->insertItem(0, text);
    }
    // Removing the shown entry makes the combo show another one.
    ui->m_pRnr->setCurrentIndex(0);
    ui->m_pRnr->setEditText(text);

    for (int i = 0; i < kRemembered; ++i)
        SetPermMSNClient(i, i < ui->m_pRnr->count() ? MoxFromQString(ui->m_pRnr->itemText(i))
                                                    : std::string());
    accept();
}

std::string TConnectDlg::GetRnr() const {
    std::string number = MoxFromQString(ui->m_pRnr->currentText());
    if (number.size() > static_cast<std::size_t>(kMaxRnr))
        number.resize(kMaxRnr);
    return number;
}

std::size_t TConnectDlg::GetRnr(char* buffer, std::size_t size) const {
    if (!buffer || size == 0)
        return 0;
    const std::string number = GetRnr();
    const std::size_t n = std::min(number.size(), size - 1);
    std::memcpy(buffer, number.data(), n);
    buffer[n] = '\0';
    return n;
}

void TConnectDlg::HelpBtnClick() {
    TDialogHelp::Show(TDialogHelp::ContextOf(this));
}
