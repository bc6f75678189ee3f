// The resources of 16-bit NE modules: one table of types, each with its resources.

#include "core/ExecutableImage.h"

#include "core/CodePage.h"
#include "core/LittleEndian.h"

#include <algorithm>

namespace {

constexpr qint64 neHeaderSize = 0x40;
constexpr quint16 neLibrary = 0x8000;
constexpr quint16 neNumeric = 0x8000;
constexpr qint64 neNameInfoSize = 12;
// Larger shifts would put resources beyond any 32-bit file.
constexpr quint16 neMaxShift = 16;

} // namespace

using namespace LittleEndian;

void ExecutableImage::readNe(const QByteArray &bytes, qint64 neOffset)
{
    const QByteArray &b = bytes;
    if (!fits(b, neOffset, neHeaderSize))
        return;
    m_kind = Kind::Ne;
    m_dll = u16(b, neOffset + 0x0C) & neLibrary;
    m_parts.append({0, bytes});
    // A resource table that starts where the resident names start is empty.
    const quint16 resourceTable = u16(b, neOffset + 0x24);
    const quint16 residentNames = u16(b, neOffset + 0x26);
    if (resourceTable != residentNames && fits(b, neOffset + resourceTable, 2))
        indexNe(b, neOffset + resourceTable);
}

void ExecutableImage::indexNe(const QByteArray &b, qint64 table)
{
    const quint16 shift = u16(b, table);
    if (shift > neMaxShift)
        return;

    qint64 at = table + 2;
    // Each block moves forward by at least its own header, so the walk ends.
    while (fits(b, at, 8)) {
        const quint16 typeId = u16(b, at);
        if (typeId == 0)
            break;
        const qint64 count = u16(b, at + 2);
        at += 8;
        const qint64 n = std::min(count, (b.size() - at) / neNameInfoSize);
        // Types named by a string are of no use here.
        for (qint64 i = 0; (typeId & neNumeric) && i < n; ++i) {
            const qint64 info = at + i * neNameInfoSize;
            Found found;
            found.type = typeId & ~neNumeric;
            found.firstLanguage = true; // no languages: every resource is one name
            const quint16 id = u16(b, info + 6);
            if (id & neNumeric) {
                found.name.id = id & ~neNumeric;
            } else {
                // A name is a length byte and that many bytes, from the table's start.
                const qint64 nameAt = table + id;
                if (!fits(b, nameAt, 1) || !fits(b, nameAt + 1, uchar(b[nameAt])))
                    continue;
                found.name.numeric = false;
                found.name.name = CodePage::system().decode(
                    QByteArrayView(b).sliced(nameAt + 1, uchar(b[nameAt])));
            }
            const qint64 offset = qint64(u16(b, info)) << shift;
            const qint64 size = qint64(u16(b, info + 2)) << shift;
            // Offset 0 is the DOS header and no resource is empty: both are damage.
            if (offset != 0 && size != 0 && fits(b, offset, size)) {
                found.offset = offset;
                found.size = size;
            }
            if (!add(found))
                return;
        }
        if (n < count)
            break;
        at += count * neNameInfoSize;
    }
}
