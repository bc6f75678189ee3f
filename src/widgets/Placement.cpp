#include "widgets/Placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(), window->frameGeometry().size());
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void moveOutOf(QWidget *window, const QRect &keepVisible)
{
    const QRect frame = window->frameGeometry();
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen || !frame.intersects(keepVisible))
        return;
    const QRect room = screen->availableGeometry();
    const int gap = 8;
    const QPoint places[] = {
        {keepVisible.right() + 1 + gap, frame.top()},
        {keepVisible.left() - gap - frame.width(), frame.top()},
        {frame.left(), keepVisible.bottom() + 1 + gap},
        {frame.left(), keepVisible.top() - gap - frame.height()},
    };
    for (QPoint place : places) {
        // Along the other edge the window may slide to stay on the screen.
        place.setX(qBound(room.left(), place.x(), qMax(room.left(), room.right() + 1 - frame.width())));
        place.setY(qBound(room.top(), place.y(), qMax(room.top(), room.bottom() + 1 - frame.height())));
        const QRect moved(place, frame.size());
        if (room.contains(moved) && !moved.intersects(keepVisible)) {
            window->move(window->pos() + (place - frame.topLeft()));
            return;
        }
    }
}
