#include "PdfCheck.h"

#include <QFile>
#include <QRegularExpression>

PdfCheck CheckPdf(const QString& path) {
    PdfCheck check;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return check;
    check.exists = true;
    const QByteArray data = file.readAll();
    if (!data.startsWith("%PDF-1.")) {
        check.problem = "no PDF header";
        return check;
    }
    const QByteArray tail = data.right(64);
    if (!tail.contains("%%EOF")) {
        check.problem = "no end marker";
        return check;
    }
    if (!data.contains("\nxref") || !data.contains("trailer") || !data.contains("startxref")) {
        check.problem = "no cross-reference table or trailer";
        return check;
    }
    // The startxref offset must point at the cross-reference table.
    const int sx = data.lastIndexOf("startxref");
    bool ok = false;
    const qint64 offset = data.mid(sx + 9).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || offset <= 0 || offset >= data.size() || !data.mid(offset, 4).startsWith("xref")) {
        check.problem = "startxref does not point at the cross-reference table";
        return check;
    }
    // Page objects: "/Type /Page" not followed by "s".
    static const QRegularExpression pageObject(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    check.pages = static_cast<int>(QString::fromLatin1(data).count(pageObject));
    check.wellFormed = true;
    return check;
}
