#pragma once

#include <QByteArray>
#include <QtEndian>

// Reading little-endian numbers out of the bytes of a file format. Callers check the range
// with fits() first; the reads go through memcpy, so no alignment is assumed.
namespace LittleEndian {

inline bool fits(const QByteArray &bytes, qint64 at, qint64 size)
{
    return at >= 0 && size >= 0 && at <= bytes.size() && size <= bytes.size() - at;
}

inline quint16 u16(const QByteArray &bytes, qint64 at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

inline quint32 u32(const QByteArray &bytes, qint64 at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

} // namespace LittleEndian
