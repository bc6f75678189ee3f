#include "core/ExecutableImage.h"

#include "core/CodePage.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

// A DOS header is 64 bytes; e_lfanew, the offset of the newer header, sits at its end.
constexpr qint64 dosHeaderSize = 64;
constexpr qint64 newHeaderOffsetField = 0x3C;

constexpr quint16 peFileDll = 0x2000;
constexpr quint16 pe32Magic = 0x10B;
constexpr quint16 pe64Magic = 0x20B;
constexpr qint64 peFileHeaderSize = 20;
constexpr qint64 peSectionHeaderSize = 40;
// The loader refuses images with more sections; the cap also keeps each RVA lookup short.
constexpr qint64 peMaxSections = 96;
constexpr quint32 peResourceDirectory = 2;
constexpr quint32 peHighBit = 0x80000000u;
constexpr qint64 peDirectoryHeaderSize = 16;
constexpr qint64 peDirectoryEntrySize = 8;
constexpr qint64 peDataEntrySize = 16;

constexpr qint64 neHeaderSize = 0x40;
constexpr quint16 neLibrary = 0x8000;
constexpr quint16 neNumeric = 0x8000;
constexpr qint64 neNameInfoSize = 12;
// Larger shifts would put resources beyond any 32-bit file.
constexpr quint16 neMaxShift = 16;

constexpr quint16 versionType = 16;
// More resources of one type than any real file holds (ids are 16-bit); a hostile file could
// otherwise list one for every few bytes it has.
constexpr qsizetype maxResources = 65536;

bool fits(const QByteArray &bytes, qint64 at, qint64 size)
{
    return at >= 0 && size >= 0 && at <= bytes.size() && size <= bytes.size() - at;
}

// Callers check the range with fits() first; the reads go through memcpy, so no alignment is
// assumed.
quint16 u16(const QByteArray &bytes, qint64 at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 u32(const QByteArray &bytes, qint64 at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

} // namespace

ExecutableImage ExecutableImage::fromBytes(const QByteArray &bytes)
{
    ExecutableImage image;
    if (bytes.size() < dosHeaderSize || !bytes.startsWith("MZ"))
        return image;
    image.m_bytes = bytes;
    image.m_kind = Kind::Dos;

    const qint64 newHeader = u32(bytes, newHeaderOffsetField);
    const auto signature = [&](const char *text, qint64 size) {
        return fits(bytes, newHeader, size)
               && std::memcmp(bytes.constData() + newHeader, text, size) == 0;
    };
    if (signature("PE\0\0", 4))
        image.readPe(newHeader);
    else if (signature("NE", 2))
        image.readNe(newHeader);
    return image;
}

ExecutableImage ExecutableImage::fromFile(const QString &path)
{
    QFile file(path);
    // Only plain files: a pipe or a device could block or never end.
    if (!file.open(QIODevice::ReadOnly) || file.isSequential())
        return {};
    const qint64 size = file.size();
    // The headers first. An installer carries its payload after its last section, often
    // hundreds of megabytes; the resources live in the sections, so only as much of the file
    // as the sections reach is read.
    constexpr qint64 headerProbe = 64 * 1024;
    QByteArray bytes = file.read(qMin(size, headerProbe));
    ExecutableImage image = fromBytes(bytes);
    qint64 needed = size;
    if (image.m_kind == Kind::Pe32 || image.m_kind == Kind::Pe64) {
        needed = image.m_sizeOfHeaders;
        for (const Section &section : std::as_const(image.m_sections))
            needed = qMax(needed, qint64(section.rawOffset) + qint64(section.rawSize));
        needed = qMin(needed, size);
    }
    if (needed <= bytes.size())
        return image;
    if (needed > maxFileSize)
        return {};
    bytes += file.read(needed - bytes.size());
    return fromBytes(bytes);
}

bool ExecutableImage::isShellExecutable() const
{
    switch (m_kind) {
    case Kind::Dos:
    case Kind::Ne:
        return true;
    case Kind::Pe32:
    case Kind::Pe64:
        return !m_dll;
    case Kind::NotExecutable:
        break;
    }
    return false;
}

// A PE header that is cut short or carries an unknown optional-header magic makes no PE
// image; the file stays the DOS program in front of it.
void ExecutableImage::readPe(qint64 peOffset)
{
    const QByteArray &b = m_bytes;
    const qint64 fileHeader = peOffset + 4;
    const qint64 optional = fileHeader + peFileHeaderSize;
    if (!fits(b, optional, 2))
        return;
    const quint16 magic = u16(b, optional);
    if (magic != pe32Magic && magic != pe64Magic)
        return;
    const bool pe64 = magic == pe64Magic;
    m_kind = pe64 ? Kind::Pe64 : Kind::Pe32;
    m_dll = u16(b, fileHeader + 18) & peFileDll;

    const quint16 sectionCount = u16(b, fileHeader + 2);
    const quint16 optionalSize = u16(b, fileHeader + 16);
    const qint64 sectionTable = optional + optionalSize;
    const qint64 sectionsThatFit = fits(b, sectionTable, 0)
                                       ? (b.size() - sectionTable) / peSectionHeaderSize
                                       : 0;
    const qint64 sections = std::min({qint64(sectionCount), sectionsThatFit, peMaxSections});
    for (qint64 i = 0; i < sections; ++i) {
        const qint64 at = sectionTable + i * peSectionHeaderSize;
        m_sections.append({u32(b, at + 12), u32(b, at + 8), u32(b, at + 20), u32(b, at + 16)});
    }

    const qint64 sizeOfHeadersField = optional + 60;
    if (fits(b, sizeOfHeadersField, 4) && optionalSize >= 64)
        m_sizeOfHeaders = u32(b, sizeOfHeadersField);

    // The data directories close the optional header; a count or a size too small to hold the
    // resource entry means the image has no resources.
    const qint64 countField = optional + (pe64 ? 108 : 92);
    const qint64 directories = optional + (pe64 ? 112 : 96);
    const qint64 resourceEntry = directories + peResourceDirectory * 8;
    if (!fits(b, countField, 4) || u32(b, countField) <= peResourceDirectory
        || resourceEntry + 8 > optional + optionalSize || !fits(b, resourceEntry, 8))
        return;
    const quint32 rva = u32(b, resourceEntry);
    if (rva == 0)
        return;
    qint64 end = 0;
    const qint64 root = fileOffset(rva, quint32(peDirectoryHeaderSize), &end);
    if (root >= 0) {
        m_resourceRoot = root;
        m_resourceEnd = end;
    }
}

// The file offset of size bytes at rva, or -1 when they do not all lie in the file. regionEnd
// receives the end of the file bytes of the section (or header) that holds them.
qint64 ExecutableImage::fileOffset(quint32 rva, quint32 size, qint64 *regionEnd) const
{
    const qint64 fileSize = m_bytes.size();
    for (const Section &s : m_sections) {
        const qint64 extent = s.virtualSize ? s.virtualSize : s.rawSize;
        if (rva < s.virtualAddress || qint64(rva) - s.virtualAddress >= extent)
            continue;
        // Bytes past the raw data exist only in memory (zero filled); bytes past the virtual
        // size are never mapped.
        const qint64 available = std::min<qint64>(s.rawSize, extent);
        const qint64 end = std::min<qint64>(qint64(s.rawOffset) + available, fileSize);
        const qint64 at = qint64(s.rawOffset) + (qint64(rva) - s.virtualAddress);
        if (at + qint64(size) > end)
            return -1;
        if (regionEnd)
            *regionEnd = end;
        return at;
    }
    // The headers are mapped as they stand in the file.
    const qint64 headerEnd = std::min<qint64>(m_sizeOfHeaders, fileSize);
    if (qint64(rva) + qint64(size) > headerEnd)
        return -1;
    if (regionEnd)
        *regionEnd = headerEnd;
    return rva;
}

void ExecutableImage::readNe(qint64 neOffset)
{
    const QByteArray &b = m_bytes;
    if (!fits(b, neOffset, neHeaderSize))
        return;
    m_kind = Kind::Ne;
    m_dll = u16(b, neOffset + 0x0C) & neLibrary;
    // A resource table that starts where the resident names start is empty.
    const quint16 resourceTable = u16(b, neOffset + 0x24);
    const quint16 residentNames = u16(b, neOffset + 0x26);
    if (resourceTable != residentNames && fits(b, neOffset + resourceTable, 2))
        m_neResourceTable = neOffset + resourceTable;
}

QList<ExecutableImage::Found> ExecutableImage::peResources(quint16 type) const
{
    QList<Found> found;
    if (m_resourceRoot < 0)
        return found;
    const QByteArray &b = m_bytes;
    const qint64 root = m_resourceRoot;
    const qint64 end = m_resourceEnd;
    // Every directory is read once, so one that points back at itself or at another is read
    // no further.
    QSet<qint64> visited;

    struct Entry
    {
        quint32 name;
        quint32 target;
    };
    const auto directory = [&](qint64 offset) {
        QList<Entry> entries;
        const qint64 at = root + offset;
        if (visited.contains(offset) || at + peDirectoryHeaderSize > end)
            return entries;
        visited.insert(offset);
        const qint64 count = qint64(u16(b, at + 12)) + u16(b, at + 14);
        const qint64 first = at + peDirectoryHeaderSize;
        const qint64 n = std::min(count, (end - first) / peDirectoryEntrySize);
        for (qint64 i = 0; i < n; ++i)
            entries.append({u32(b, first + i * peDirectoryEntrySize),
                            u32(b, first + i * peDirectoryEntrySize + 4)});
        return entries;
    };
    // Names are counted UTF-16 strings, placed like directories from the start of the tree.
    const auto entryName = [&](quint32 field, ResourceName &name) {
        if (!(field & peHighBit)) {
            name.id = quint16(field);
            return true;
        }
        const qint64 at = root + (field & ~peHighBit);
        if (at + 2 > end)
            return false;
        const qint64 length = u16(b, at);
        if (at + 2 + 2 * length > end)
            return false;
        name.numeric = false;
        name.name.resize(length);
        for (qint64 i = 0; i < length; ++i)
            name.name[i] = QChar(u16(b, at + 2 + 2 * i));
        return true;
    };

    for (const Entry &typeEntry : directory(0)) {
        if ((typeEntry.name & peHighBit) || quint16(typeEntry.name) != type
            || !(typeEntry.target & peHighBit))
            continue;
        for (const Entry &nameEntry : directory(typeEntry.target & ~peHighBit)) {
            ResourceName name;
            if (!(nameEntry.target & peHighBit) || !entryName(nameEntry.name, name))
                continue;
            for (const Entry &languageEntry : directory(nameEntry.target & ~peHighBit)) {
                if ((languageEntry.name & peHighBit) || (languageEntry.target & peHighBit))
                    continue;
                const qint64 dataEntry = root + languageEntry.target;
                if (dataEntry + peDataEntrySize > end)
                    continue;
                const quint32 size = u32(b, dataEntry + 4);
                const qint64 at = fileOffset(u32(b, dataEntry), size);
                if (at >= 0)
                    found.append({name, quint16(languageEntry.name), at, size});
                if (found.size() == maxResources)
                    return found;
            }
        }
    }
    return found;
}

QList<ExecutableImage::Found> ExecutableImage::neResources(quint16 type) const
{
    QList<Found> found;
    if (m_neResourceTable < 0)
        return found;
    const QByteArray &b = m_bytes;
    const qint64 table = m_neResourceTable;
    const quint16 shift = u16(b, table);
    if (shift > neMaxShift)
        return found;

    qint64 at = table + 2;
    // Each block moves forward by at least its own header, so the walk ends.
    while (fits(b, at, 8)) {
        const quint16 typeId = u16(b, at);
        if (typeId == 0)
            break;
        const qint64 count = u16(b, at + 2);
        at += 8;
        const qint64 n = std::min(count, (b.size() - at) / neNameInfoSize);
        if (typeId == (neNumeric | type)) {
            for (qint64 i = 0; i < n; ++i) {
                const qint64 info = at + i * neNameInfoSize;
                const qint64 offset = qint64(u16(b, info)) << shift;
                const qint64 size = qint64(u16(b, info + 2)) << shift;
                const quint16 id = u16(b, info + 6);
                // Offset 0 is the DOS header and no resource is empty: both are damage.
                if (offset == 0 || size == 0 || !fits(b, offset, size))
                    continue;
                ResourceName name;
                if (id & neNumeric) {
                    name.id = id & ~neNumeric;
                } else {
                    // A name is a length byte and that many bytes, from the table's start.
                    const qint64 nameAt = table + id;
                    if (!fits(b, nameAt, 1) || !fits(b, nameAt + 1, uchar(b[nameAt])))
                        continue;
                    name.numeric = false;
                    name.name = CodePage::system().decode(
                        QByteArrayView(b).sliced(nameAt + 1, uchar(b[nameAt])));
                }
                found.append({name, 0, offset, size});
                if (found.size() == maxResources)
                    return found;
            }
        }
        if (n < count)
            break;
        at += count * neNameInfoSize;
    }
    return found;
}

QList<ExecutableImage::Resource> ExecutableImage::resources(quint16 type) const
{
    const QList<Found> found = m_kind == Kind::Ne ? neResources(type) : peResources(type);
    QList<Resource> list;
    // In a sound file resources never overlap, so their data adds up to less than the file.
    // Entries that point at the same bytes share one copy; beyond that budget a hostile file
    // that points many entries at large ranges gets no more copies.
    qint64 budget = m_bytes.size();
    QHash<QPair<qint64, qint64>, QByteArray> copies;
    for (const Found &f : found) {
        const QPair<qint64, qint64> range(f.offset, f.size);
        auto copy = copies.constFind(range);
        if (copy == copies.cend()) {
            if (f.size > budget)
                continue;
            budget -= f.size;
            copy = copies.insert(range, m_bytes.mid(f.offset, f.size));
        }
        list.append({ResourceName{true, type, {}}, f.name, f.language, *copy});
    }
    return list;
}

QByteArray ExecutableImage::resourceData(quint16 type, quint16 id) const
{
    const QList<Found> found = m_kind == Kind::Ne ? neResources(type) : peResources(type);
    for (const Found &f : found) {
        if (f.name.numeric && f.name.id == id)
            return m_bytes.mid(f.offset, f.size);
    }
    return {};
}

QByteArray ExecutableImage::versionResource() const
{
    const QList<Found> found =
        m_kind == Kind::Ne ? neResources(versionType) : peResources(versionType);
    return found.isEmpty() ? QByteArray()
                           : m_bytes.mid(found.first().offset, found.first().size);
}
