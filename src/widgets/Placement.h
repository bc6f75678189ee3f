#pragma once

class QRect;
class QWidget;

// Moves a top-level window to the centre of the screen it is on (the primary screen at first).
void centreOnScreen(QWidget *window);

// Moves a top-level window off what must stay in view (a rectangle of the screen): beside it,
// below or above it, the first place that lies whole on the screen; it stays put when it
// covers nothing or no such place exists.
void moveOutOf(QWidget *window, const QRect &keepVisible);
