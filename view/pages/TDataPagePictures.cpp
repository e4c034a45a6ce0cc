#include "TDataPagePictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kSize = 64;

QPixmap Canvas() {
    QPixmap pix(kSize, kSize);
    pix.fill(Qt::transparent);
    return pix;
}

} // namespace

QPixmap TDataPagePictures::Pc() {
    QPixmap pix = Canvas();
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 2));
    p.setBrush(QColor(0xd8, 0xd8, 0xd8));
    p.drawRoundedRect(QRectF(6, 6, 52, 38), 3, 3); // monitor
    p.setBrush(QColor(0x2a, 0x5d, 0xa8));
    p.drawRect(QRectF(11, 11, 42, 28)); // screen
    p.setBrush(QColor(0xd8, 0xd8, 0xd8));
    p.drawRect(QRectF(26, 44, 12, 6)); // stand
    p.drawRect(QRectF(14, 50, 36, 8)); // foot
    return pix;
}

QPixmap TDataPagePictures::Box() {
    QPixmap pix = Canvas();
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 2));
    p.setBrush(QColor(0xf0, 0xf0, 0xe8));
    p.drawRoundedRect(QRectF(10, 6, 44, 52), 4, 4);
    p.setBrush(QColor(0x30, 0xa0, 0x40));
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QRectF(17 + i * 11, 14, 7, 7)); // the box's lamps
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    for (int y = 30; y <= 48; y += 6)
        p.drawLine(18, y, 46, y);
    return pix;
}

QPixmap TDataPagePictures::Arrow(bool toBox) {
    QPixmap pix = Canvas();
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    if (!toBox) {
        p.translate(kSize, 0);
        p.scale(-1, 1);
    }
    QPainterPath path;
    path.moveTo(6, 26);
    path.lineTo(38, 26);
    path.lineTo(38, 16);
    path.lineTo(58, 32);
    path.lineTo(38, 48);
    path.lineTo(38, 38);
    path.lineTo(6, 38);
    path.closeSubpath();
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
    p.setBrush(QColor(0xe0, 0x80, 0x20));
    p.drawPath(path);
    return pix;
}
