#pragma once

#include <QFont>
#include <QGuiApplication>
#include <QScreen>

// The font the windows were laid out for: an 8-point sans serif, 11 pixels at 96 dots per
// inch, larger where the desktop asks for larger fonts (a higher logical DPI). Liberation Sans
// has the width the captions were measured in; any sans serif stands in when it is missing.
inline QFont windowFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    font.setPixelSize(qMax(11, qRound(11 * dpi / 96.0)));
    return font;
}
