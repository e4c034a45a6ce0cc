#include "TCSpinButton.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow, const char* name) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setArrowType(arrow);
    b->setAutoRepeat(true);
    b->setAutoRepeatDelay(TCSpinButton::kRepeatDelayMs);
    b->setAutoRepeatInterval(TCSpinButton::kRepeatIntervalMs);
    b->setFixedSize(18, 11);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

TCSpinButton::TCSpinButton(QWidget* parent)
    : QWidget(parent), m_pUp(MakeArrow(this, Qt::UpArrow, "Up")),
      m_pDown(MakeArrow(this, Qt::DownArrow, "Down")) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pUp);
    layout->addWidget(m_pDown);
    connect(m_pUp, &QToolButton::clicked, this, &TCSpinButton::UpClick);
    connect(m_pDown, &QToolButton::clicked, this, &TCSpinButton::DownClick);
}
