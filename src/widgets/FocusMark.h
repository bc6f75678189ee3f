#pragma once

#include <QPainter>
#include <QPalette>
#include <QRect>

// A dotted frame where the keys act (the current row or cell of a focused list), in the text
// colour of what it is drawn on, so that it shows on a selected row and off it, in any scheme.
inline void drawFocusFrame(QPainter *painter, const QRect &rect, const QPalette &palette, bool selected)
{
    painter->save();
    QPen pen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    pen.setStyle(Qt::DotLine);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect);
    painter->restore();
}
