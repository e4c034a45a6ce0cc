#include "TFileDialog.h"

#include <QFileDialog>
#include <QPointer>
#include <QStringList>

namespace {

TFileDialog::Handler g_handler; // set by tests on the GUI thread

} // namespace

QString TFileDialog::ToQtFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!name.contains(QLatin1Char('(')))
            name += QStringLiteral(" (") + patterns + QLatin1Char(')');
        filters << name;
    }
    // A filter without patterns (no text in the language file) shows all.
    return filters.isEmpty() ? QStringLiteral("*") : filters.join(QStringLiteral(";;"));
}

QString TFileDialog::GetOpenFileName(QWidget* parent, const QString& filter, const QString& title,
                                     const QString& defaultExtension) {
    Request r{};
    r.kind = Kind::Open;
    r.filter = filter;
    r.title = title;
    r.defaultExtension = defaultExtension;
    return Run(parent, r);
}

QString TFileDialog::GetSaveFileName(QWidget* parent, const QString& filter,
                                     const QString& initialName, bool confirmOverwrite,
                                     const QString& title, const QString& defaultExtension) {
    Request r{};
    r.kind = Kind::Save;
    r.filter = filter;
    r.initialName = initialName;
    r.confirmOverwrite = confirmOverwrite;
    r.title = title;
    r.defaultExtension = defaultExtension;
    return Run(parent, r);
}

QString TFileDialog::Run(QWidget* parent, const Request& r) {
    if (g_handler)
        return g_handler(r);
    // On the heap: the parent page may go while the dialog's loop runs, and
    // takes the dialog with it.
    const QPointer<QFileDialog> dlg =
        new QFileDialog(parent, r.title, r.initialName, ToQtFilter(r.filter));
    if (r.kind == Kind::Open) {
        dlg->setAcceptMode(QFileDialog::AcceptOpen);
        dlg->setFileMode(QFileDialog::ExistingFile);
    } else {
        dlg->setAcceptMode(QFileDialog::AcceptSave);
        dlg->setFileMode(QFileDialog::AnyFile);
        dlg->setOption(QFileDialog::DontConfirmOverwrite, !r.confirmOverwrite);
    }
    // A text "*.bin" or ".bin" names the same extension as "bin".
    QString ext = r.defaultExtension.trimmed();
    while (ext.startsWith(QLatin1Char('*')) || ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    dlg->setDefaultSuffix(ext);
    const bool accepted = dlg->exec() == QDialog::Accepted;
    if (!dlg)
        return {};
    const QStringList chosen = accepted ? dlg->selectedFiles() : QStringList();
    delete dlg;
    return chosen.isEmpty() ? QString() : chosen.first();
}

void TFileDialog::SetHandlerForTesting(Handler handler) {
    g_handler = std::move(handler);
}
