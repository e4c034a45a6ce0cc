#include "TLogo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

QPixmap TLogo::Pixmap() {
    QPixmap pix(64, 32);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, QColor(0x2a, 0x5d, 0xa8));
    g.setColorAt(1, QColor(0x12, 0x34, 0x6e));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.5, 0.5, 63, 31), 6, 6);
    QFont f;
    f.setBold(true);
    f.setPixelSize(17);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 64, 32), Qt::AlignCenter, QStringLiteral("KTX"));
    return pix;
}
