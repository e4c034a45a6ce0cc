#include "FocusRules.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <memory>

namespace focusrules {

namespace {

void UpdateRadioStops(const std::vector<QPointer<QAbstractButton>>& buttons) {
    QAbstractButton* stop = nullptr;
    for (const auto& b : buttons)
        if (b && b->isChecked())
            stop = b;
    if (!stop)
        for (const auto& b : buttons)
            if (b && b->isEnabled()) {
                stop = b;
                break;
            }
    // The other buttons keep the click: a click still focuses what it chose.
    for (const auto& b : buttons)
        if (b)
            b->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

// A window's frame before it was ever mapped: the window system adds it only
// then, and a window sized to the whole area would lose its title bar.
constexpr QMargins kAssumedFrame(4, 30, 4, 4);

QMargins FrameOf(const QWidget* window) {
    if (window->testAttribute(Qt::WA_WState_Created) && window->windowHandle()) {
        const QMargins m = window->windowHandle()->frameMargins();
        if (!m.isNull())
            return m;
    }
    return kAssumedFrame;
}

} // namespace

void TabStopOnCheckedRadio(const std::vector<QAbstractButton*>& buttons) {
    auto shared = std::make_shared<std::vector<QPointer<QAbstractButton>>>();
    for (QAbstractButton* b : buttons)
        if (b)
            shared->emplace_back(b);
    for (QAbstractButton* b : buttons)
        if (b) {
            QObject::connect(b, &QAbstractButton::toggled, b,
                             [shared] { UpdateRadioStops(*shared); });
        }
    UpdateRadioStops(*shared);
}

void LeaveGrid(QAbstractItemView* grid, bool forward) {
    if (!grid)
        return;
    if (!grid->hasFocus())
        grid->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    // The grid does not move between its cells on Tab (tab key navigation
    // is off), so the key goes the way it goes on every control: to the
    // window's next or previous focus stop, through any window that orders
    // its stops itself.
    QKeyEvent key(QEvent::KeyPress, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                  forward ? Qt::NoModifier : Qt::ShiftModifier);
    QCoreApplication::sendEvent(grid, &key);
}

namespace {

enum class ePlace { Over, Kept, ScreenCentre };

void Fit(QWidget* window, const QWidget* centreOn, ePlace place) {
    if (!window)
        return;
    const QScreen* screen = centreOn ? centreOn->screen() : window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect avail = screen->availableGeometry();
    const QMargins frame = FrameOf(window);
    const QSize room(std::max(1, avail.width() - frame.left() - frame.right()),
                     std::max(1, avail.height() - frame.top() - frame.bottom()));
    if (window->minimumWidth() > room.width() || window->minimumHeight() > room.height())
        window->setMinimumSize(window->minimumSize().boundedTo(room));
    const QSize size = window->size().boundedTo(room);
    window->resize(size);

    QRect outer(QPoint(0, 0), size.grownBy(frame));
    if (place == ePlace::Over)
        outer.moveCenter(centreOn->frameGeometry().center());
    else if (place == ePlace::Kept)
        outer.moveTopLeft(window->pos());
    else
        outer.moveCenter(avail.center());
    outer.moveLeft(std::clamp(outer.left(), avail.left(), avail.right() + 1 - outer.width()));
    outer.moveTop(std::clamp(outer.top(), avail.top(), avail.bottom() + 1 - outer.height()));
    window->move(outer.topLeft());
}

} // namespace

void FitOnScreen(QWidget* window, const QWidget* centreOn) {
    const bool kept = window && window->testAttribute(Qt::WA_Moved);
    Fit(window, centreOn, centreOn ? ePlace::Over : kept ? ePlace::Kept : ePlace::ScreenCentre);
}

void CentreOnScreen(QWidget* window) {
    Fit(window, nullptr, ePlace::ScreenCentre);
}

} // namespace focusrules
