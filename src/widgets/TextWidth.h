#pragma once

#include <QString>

#include <functional>

class QFontMetrics;

// The width of the widest of count texts without measuring them all: among a few hundred of
// the longest (by characters) is the widest, short of a list whose shorter texts are made of
// much wider letters, which a column's margin absorbs. Lists of tens of thousands of rows
// are fitted in a moment this way.
int widestTextWidth(const QFontMetrics &metrics, int count, const std::function<QString(int)> &textAt);
