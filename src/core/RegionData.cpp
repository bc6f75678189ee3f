#include "core/RegionData.h"

#include <QtEndian>

#include <algorithm>
#include <limits>

namespace RegionData {

namespace {

constexpr qint32 headerSize = 32;
constexpr qint32 rectangles = 1; // RDH_RECTANGLES
constexpr qint32 rectSize = 16;
// As many as the 32-bit byte count can hold.
constexpr qsizetype maxRects = (std::numeric_limits<qint32>::max() - headerSize) / rectSize;

qint32 i32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<qint32>(b.constData() + at);
}

void put(QByteArray &b, qint32 v)
{
    char bytes[4];
    qToLittleEndian(v, bytes);
    b.append(bytes, 4);
}

} // namespace

QList<QRect> read(const QByteArray &stored)
{
    if (stored.size() < 4)
        return {};
    const qint32 n = i32(stored, 0);
    if (n <= 0 || n > stored.size() - 4 || n < headerSize)
        return {};
    const QByteArray data = stored.mid(4, n);
    const qint32 count = i32(data, 8);
    if (i32(data, 0) != headerSize || i32(data, 4) != rectangles || count < 0
        || count > (n - headerSize) / rectSize)
        return {};
    QList<QRect> rects;
    for (qint32 i = 0; i < count; ++i) {
        const qsizetype at = headerSize + qsizetype(i) * rectSize;
        const qint32 left = i32(data, at), top = i32(data, at + 4);
        const qint32 right = i32(data, at + 8), bottom = i32(data, at + 12);
        if (right <= left || bottom <= top)
            continue; // an empty rectangle adds nothing
        rects << QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    }
    return rects;
}

QByteArray write(const QList<QRect> &rects)
{
    // Exclusive edges in 64 bits: right() + 1 of a rectangle at the end of int does not fit
    // in one. Edges past the 32-bit range are clamped to it, and what that leaves empty is
    // dropped, as the reader would drop it.
    const auto clamped = [](qint64 v) {
        return qint32(std::clamp<qint64>(v, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
    };
    struct Edges
    {
        qint32 left, top, right, bottom;
    };
    QList<Edges> kept;
    for (const QRect &r : rects) {
        const Edges e{r.left(), r.top(), clamped(qint64(r.right()) + 1), clamped(qint64(r.bottom()) + 1)};
        if (e.right > e.left && e.bottom > e.top && kept.size() < maxRects)
            kept << e;
    }
    QByteArray stored;
    if (kept.isEmpty()) {
        put(stored, 0);
        return stored;
    }
    Edges bound = kept.first();
    for (const Edges &e : kept)
        bound = {qMin(bound.left, e.left), qMin(bound.top, e.top), qMax(bound.right, e.right), qMax(bound.bottom, e.bottom)};
    const qint32 count = qint32(kept.size());
    put(stored, headerSize + count * rectSize);
    put(stored, headerSize);
    put(stored, rectangles);
    put(stored, count);
    put(stored, count * rectSize);
    for (const Edges &e : QList<Edges>{bound} + kept) {
        put(stored, e.left);
        put(stored, e.top);
        put(stored, e.right);
        put(stored, e.bottom);
    }
    return stored;
}

} // namespace RegionData
