#include "app/shell/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace larkspan {

void placeOnScreen(QWidget& window, const QWidget* near)
{
    const QScreen* screen = near ? near->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QMargins frame(8, 32, 8, 8);
    const QSize outer = window.size().grownBy(frame).boundedTo(room.size());
    window.resize(outer.shrunkBy(frame));
    // Beside the window it follows, a title bar lower and further right.
    QPoint at = near ? near->frameGeometry().topLeft() + QPoint(frame.top(), frame.top())
                     : room.center() - QPoint(outer.width() / 2, outer.height() / 2);
    at.setX(std::clamp(at.x(), room.left(), room.right() + 1 - outer.width()));
    at.setY(std::clamp(at.y(), room.top(), room.bottom() + 1 - outer.height()));
    window.move(at);
}

} // namespace larkspan
