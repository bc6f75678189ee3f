#pragma once

#include <QFont>

// The font the windows were laid out for: an 8-point sans serif of 11 pixels. Liberation Sans
// has the width the captions were measured in; any sans serif stands in when it is missing.
inline QFont windowFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}
