#include "TProgStatePanel.h"

#include <QPainter>

namespace {

QColor LampColour(int index) {
    switch (index) {
    case 0:
        return QColor(0x9a, 0x9a, 0x9a); // no medium
    case 1:
        return QColor(0x2e, 0xa0, 0x43); // ready
    case 2:
        return QColor(0xe8, 0x8a, 0x1a); // box programming
    case 3:
        return QColor(0x2a, 0x6c, 0xd0); // switch module
    case 4:
        return QColor(0xe6, 0xc8, 0x1e); // subscriber
    case 6:
        return QColor(0xc0, 0x3a, 0xb8); // subscriber with video
    default:
        return QColor(0x3a, 0x3a, 0x3a); // dark
    }
}

} // namespace

TProgStatePanel::TProgStatePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("m_pProgStatePanel"));
    setFixedWidth(40);
}

void TProgStatePanel::SetImage(int index) {
    if (index == m_nImage)
        return;
    m_nImage = index;
    update();
}

QPixmap TProgStatePanel::ImagePixmap(int index) {
    QPixmap pix(35, 20);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
    p.setBrush(LampColour(index));
    p.drawEllipse(QRectF(10.5, 2.5, 15, 15));
    if (index == 6) {
        // The camera mark of programming with video.
        p.setBrush(Qt::white);
        p.drawRect(QRectF(14.5, 7.5, 5, 5));
    }
    return pix;
}

void TProgStatePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPixmap pix = ImagePixmap(m_nImage);
    p.drawPixmap((width() - pix.width()) / 2, (height() - pix.height()) / 2, pix);
}
