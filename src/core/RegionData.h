#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>

// The stored outline of a shaped window: a 32-bit little-endian byte count n, then n bytes of
// the Windows RGNDATA structure (a 32-byte header with the rectangle count and the bounding
// rectangle, then the rectangles as left, top, right, bottom with right and bottom exclusive).
// A count of 0 (or less) means no outline.
namespace RegionData {

// The rectangles of a stored outline; empty for no outline or data that is not sound.
QList<QRect> read(const QByteArray &stored);
// The stored form of rectangles; only the count 0 for none. An exclusive edge past the range
// of int is clamped to it, and rectangles that are empty (or become so) are left out.
QByteArray write(const QList<QRect> &rects);

} // namespace RegionData
