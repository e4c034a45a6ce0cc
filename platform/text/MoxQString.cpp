#include "MoxQString.h"

#include "MoxCodec.h"

#include <QByteArray>

QString MoxToQString(std::string_view cp1252) {
    const std::string utf8 = MoxCp1252ToUtf8(cp1252);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string MoxFromQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return MoxUtf8ToCp1252(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}
