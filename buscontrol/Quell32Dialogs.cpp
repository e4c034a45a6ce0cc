#include "Quell32Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace quell32 {

namespace {

bool HaveGui() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

QDialog* MakeDialog(const char* objectName, const QString& caption, const QString& text,
                    bool withOk) {
    auto* dlg = new QDialog(QApplication::activeWindow());
    dlg->setObjectName(QString::fromLatin1(objectName));
    dlg->setWindowTitle(caption);
    auto* layout = new QVBoxLayout(dlg);
    auto* label = new QLabel(text, dlg);
    label->setObjectName(QStringLiteral("text"));
    layout->addWidget(label);
    if (withOk) {
        auto* buttons = new QDialogButtonBox(dlg);
        auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
        ok->setObjectName(QStringLiteral("ok"));
        ok->setDefault(true);
        QObject::connect(buttons, &QDialogButtonBox::accepted, dlg, &QDialog::accept);
        layout->addWidget(buttons);
    }
    return dlg;
}

void RunModal(QDialog* dlg) {
    std::unique_ptr<QDialog> owner(dlg);
    if (dlg)
        dlg->exec();
}

} // namespace

QDialog* CreateAboutBox() {
    if (!HaveGui())
        return nullptr;
    return MakeDialog("Quell32AboutBox", QStringLiteral("About Quell32 Control"),
                      QStringLiteral("Quell32 Control, Version 1.3"), true);
}

QDialog* CreatePropertyPage() {
    if (!HaveGui())
        return nullptr;
    return MakeDialog("Quell32PropPage", QStringLiteral("General"),
                      QStringLiteral("Keine Propertypage vorhanden!"), true);
}

void ShowErrorBox(const char* text, const char* caption) {
    if (!HaveGui())
        return;
    QMessageBox::warning(QApplication::activeWindow(), QString::fromLatin1(caption),
                         QString::fromLatin1(text));
}

void ShowAboutBox() {
    RunModal(CreateAboutBox());
}

void ShowPropertyPage() {
    RunModal(CreatePropertyPage());
}

} // namespace quell32
