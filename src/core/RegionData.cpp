#include "core/RegionData.h"

#include <QtEndian>

namespace RegionData {

namespace {

constexpr qint32 headerSize = 32;
constexpr qint32 rectangles = 1; // RDH_RECTANGLES
constexpr qint32 rectSize = 16;

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
    QByteArray stored;
    if (rects.isEmpty()) {
        put(stored, 0);
        return stored;
    }
    QRect bound;
    for (const QRect &r : rects)
        bound = bound.united(r);
    put(stored, headerSize + qint32(rects.size()) * rectSize);
    put(stored, headerSize);
    put(stored, rectangles);
    put(stored, qint32(rects.size()));
    put(stored, qint32(rects.size()) * rectSize);
    for (const QRect &r : QList<QRect>{bound} + rects) {
        put(stored, r.left());
        put(stored, r.top());
        put(stored, r.right() + 1);
        put(stored, r.bottom() + 1);
    }
    return stored;
}

} // namespace RegionData
