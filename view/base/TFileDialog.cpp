#include "TFileDialog.h"

#include <QFileDialog>
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

QString TFileDialog::GetOpenFileName(QWidget* parent, const QString& filter) {
    if (g_handler)
        return g_handler(Request{Kind::Open, filter, {}});
    return QFileDialog::getOpenFileName(parent, {}, {}, ToQtFilter(filter));
}

QString TFileDialog::GetSaveFileName(QWidget* parent, const QString& filter,
                                     const QString& initialName, bool confirmOverwrite) {
    if (g_handler)
        return g_handler(Request{Kind::Save, filter, initialName, confirmOverwrite});
    const QFileDialog::Options options =
        confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    return QFileDialog::getSaveFileName(parent, {}, initialName, ToQtFilter(filter), nullptr,
                                        options);
}

void TFileDialog::SetHandlerForTesting(Handler handler) {
    g_handler = std::move(handler);
}
