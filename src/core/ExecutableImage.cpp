#include "core/ExecutableImage.h"

#include "core/CodePage.h"
#include "core/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QtEndian>

#include <algorithm>

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
// More resources than any real file holds (ids are 16-bit); a hostile file could otherwise
// list one for every few bytes it has.
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

// The bytes of the file being read: all of them at hand, or an open file read range by range.
class ExecutableImage::Source
{
public:
    explicit Source(const QByteArray &bytes) : m_bytes(bytes), m_size(bytes.size()) {}
    explicit Source(QFile *file) : m_file(file), m_size(file->size()) {}

    qint64 size() const { return m_size; }
    bool inMemory() const { return !m_file; }
    const QByteArray &bytes() const { return m_bytes; }
    qint64 bytesRead() const { return m_read; }

    // The bytes of [at, at + size) that the file holds.
    QByteArray read(qint64 at, qint64 size)
    {
        if (at < 0 || at >= m_size || size <= 0)
            return {};
        size = std::min(size, m_size - at);
        if (!m_file)
            return m_bytes.mid(at, size);
        if (!m_file->seek(at))
            return {};
        const QByteArray bytes = m_file->read(size);
        m_read += bytes.size();
        return bytes;
    }

private:
    QByteArray m_bytes;
    QFile *m_file = nullptr;
    qint64 m_size = 0;
    qint64 m_read = 0;
};

ExecutableImage ExecutableImage::fromBytes(const QByteArray &bytes)
{
    Source source(bytes);
    ExecutableImage image;
    image.read(source);
    return image;
}

ExecutableImage ExecutableImage::fromFile(const QString &path)
{
    QFile file;
    if (openRegularFile(path, file) != FileReadError::None)
        return {};
    Source source(&file);
    ExecutableImage image;
    image.read(source);
    image.m_bytesRead = source.bytesRead();
    if ((image.m_kind == Kind::Dos || image.m_kind == Kind::Ne) && source.size() > maxFileSize)
        return {};
    return image;
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

void ExecutableImage::read(Source &source)
{
    const QByteArray dos = source.read(0, dosHeaderSize);
    if (dos.size() < dosHeaderSize || !dos.startsWith("MZ"))
        return;
    m_kind = Kind::Dos;
    m_fileSize = source.size();
    const qint64 newHeader = u32(dos, newHeaderOffsetField);
    const QByteArray signature = source.read(newHeader, 4);
    if (signature == QByteArray("PE\0\0", 4)) {
        readPe(source, newHeader);
    } else if (signature.startsWith("NE")) {
        // A 16-bit module has no sections to go by: its resources may lie anywhere.
        if (source.size() <= maxFileSize)
            readNe(source.read(0, source.size()), newHeader);
    }

    for (qsizetype i = 0; i < m_index.size(); ++i) {
        const Found &f = m_index[i];
        const quint32 key = quint32(f.type) << 16 | f.name.id;
        if (f.name.numeric && !m_byId.contains(key) && dataAt(f.offset, f.size))
            m_byId.insert(key, i);
    }
}

// A PE header that is cut short or carries an unknown optional-header magic makes no PE
// image; the file stays the DOS program in front of it.
void ExecutableImage::readPe(Source &source, qint64 peOffset)
{
    const qint64 optionalAt = peOffset + 4 + peFileHeaderSize;
    const QByteArray header = source.read(peOffset + 4, peFileHeaderSize + 2);
    if (header.size() < peFileHeaderSize + 2)
        return;
    const quint16 magic = u16(header, peFileHeaderSize);
    if (magic != pe32Magic && magic != pe64Magic)
        return;
    const bool pe64 = magic == pe64Magic;
    m_kind = pe64 ? Kind::Pe64 : Kind::Pe32;
    m_dll = u16(header, 18) & peFileDll;

    const quint16 sectionCount = u16(header, 2);
    const quint16 optionalSize = u16(header, 16);
    const QByteArray optional = source.read(optionalAt, optionalSize);
    const QByteArray table = source.read(optionalAt + optionalSize,
                                         std::min<qint64>(sectionCount, peMaxSections)
                                             * peSectionHeaderSize);
    for (qint64 at = 0; at + peSectionHeaderSize <= table.size(); at += peSectionHeaderSize)
        m_sections.append({u32(table, at + 12), u32(table, at + 8), u32(table, at + 20),
                           u32(table, at + 16)});
    if (optional.size() >= 64)
        m_sizeOfHeaders = u32(optional, 60);

    // The data directories close the optional header; a count or a size too small to hold the
    // resource entry means the image has no resources.
    const qint64 countField = pe64 ? 108 : 92;
    const qint64 resourceEntry = (pe64 ? 112 : 96) + peResourceDirectory * 8;
    if (resourceEntry + 8 > optional.size() || u32(optional, countField) <= peResourceDirectory)
        return;
    const quint32 rva = u32(optional, resourceEntry);
    if (rva == 0)
        return;
    qint64 end = 0;
    const qint64 root = fileOffset(rva, quint32(peDirectoryHeaderSize), &end);
    if (root < 0 || end - root > maxFileSize)
        return;
    // The tree lies between its root and the end of the section that holds it; resources
    // point elsewhere only in odd files.
    Part tree = source.inMemory() ? Part{0, source.bytes()}
                                  : Part{root, source.read(root, end - root)};
    end = std::min(end, tree.at + tree.bytes.size());
    m_parts.append(tree);
    indexPe(tree, root, end);
    if (!source.inMemory())
        readOutsideParts(source);
}

// The file offset of size bytes at rva, or -1 when they do not all lie in the file. regionEnd
// receives the end of the file bytes of the section (or header) that holds them.
qint64 ExecutableImage::fileOffset(quint32 rva, quint32 size, qint64 *regionEnd) const
{
    for (const Section &s : m_sections) {
        const qint64 extent = s.virtualSize ? s.virtualSize : s.rawSize;
        if (rva < s.virtualAddress || qint64(rva) - s.virtualAddress >= extent)
            continue;
        // Bytes past the raw data exist only in memory (zero filled); bytes past the virtual
        // size are never mapped.
        const qint64 available = std::min<qint64>(s.rawSize, extent);
        const qint64 end = std::min<qint64>(qint64(s.rawOffset) + available, m_fileSize);
        const qint64 at = qint64(s.rawOffset) + (qint64(rva) - s.virtualAddress);
        if (at + qint64(size) > end)
            return -1;
        if (regionEnd)
            *regionEnd = end;
        return at;
    }
    // The headers are mapped as they stand in the file.
    const qint64 headerEnd = std::min<qint64>(m_sizeOfHeaders, m_fileSize);
    if (qint64(rva) + qint64(size) > headerEnd)
        return -1;
    if (regionEnd)
        *regionEnd = headerEnd;
    return rva;
}

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

// False once the index is full.
bool ExecutableImage::add(const Found &found)
{
    m_index.append(found);
    return m_index.size() < maxResources;
}

// Walks the tree once, in directory order: types, their names, the names' languages. Offsets
// inside the tree count from root; nothing past end belongs to it.
void ExecutableImage::indexPe(const Part &tree, qint64 root, qint64 end)
{
    const QByteArray &b = tree.bytes;
    const qint64 base = tree.at;
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
        const qint64 count = qint64(u16(b, at - base + 12)) + u16(b, at - base + 14);
        const qint64 first = at + peDirectoryHeaderSize;
        const qint64 n = std::min(count, (end - first) / peDirectoryEntrySize);
        for (qint64 i = 0; i < n; ++i) {
            const qint64 entry = first - base + i * peDirectoryEntrySize;
            entries.append({u32(b, entry), u32(b, entry + 4)});
        }
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
        const qint64 length = u16(b, at - base);
        if (at + 2 + 2 * length > end)
            return false;
        name.numeric = false;
        name.name.resize(length);
        for (qint64 i = 0; i < length; ++i)
            name.name[i] = QChar(u16(b, at - base + 2 + 2 * i));
        return true;
    };

    for (const Entry &typeEntry : directory(0)) {
        if ((typeEntry.name & peHighBit) || !(typeEntry.target & peHighBit))
            continue;
        for (const Entry &nameEntry : directory(typeEntry.target & ~peHighBit)) {
            Found found;
            found.type = quint16(typeEntry.name);
            if (!(nameEntry.target & peHighBit) || !entryName(nameEntry.name, found.name))
                continue;
            found.firstLanguage = true;
            for (const Entry &languageEntry : directory(nameEntry.target & ~peHighBit)) {
                found.language = quint16(languageEntry.name);
                found.offset = -1;
                const qint64 dataEntry = root + languageEntry.target;
                if (!(languageEntry.name & peHighBit) && !(languageEntry.target & peHighBit)
                    && dataEntry + peDataEntrySize <= end) {
                    found.size = u32(b, dataEntry - base + 4);
                    found.offset = fileOffset(u32(b, dataEntry - base), quint32(found.size));
                }
                // A damaged first language keeps the name's place.
                if ((found.offset >= 0 || found.firstLanguage) && !add(found))
                    return;
                found.firstLanguage = false;
            }
        }
    }
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

// Resource data outside the tree's part is read range by range, overlapping ranges once, up
// to maxFileSize in all.
void ExecutableImage::readOutsideParts(Source &source)
{
    const qint64 treeFrom = m_parts.first().at;
    const qint64 treeTo = treeFrom + m_parts.first().bytes.size();
    QList<QPair<qint64, qint64>> ranges; // from, to
    for (const Found &f : std::as_const(m_index)) {
        if (f.offset >= 0 && (f.offset < treeFrom || f.offset + f.size > treeTo))
            ranges.append({f.offset, f.offset + f.size});
    }
    std::sort(ranges.begin(), ranges.end());
    QList<QPair<qint64, qint64>> joined;
    for (const auto &range : std::as_const(ranges)) {
        if (!joined.isEmpty() && range.first <= joined.last().second)
            joined.last().second = std::max(joined.last().second, range.second);
        else
            joined.append(range);
    }
    qint64 budget = maxFileSize;
    for (const auto &[from, to] : std::as_const(joined)) {
        if (to - from > budget)
            break;
        budget -= to - from;
        m_parts.append({from, source.read(from, to - from)});
    }
}

// The held bytes at [offset, offset + size); none when they were not read.
bool ExecutableImage::holds(qint64 offset, qint64 size) const
{
    if (offset < 0 || m_parts.isEmpty())
        return false;
    const auto in = [&](const Part &part) { return offset >= part.at && fits(part.bytes, offset - part.at, size); };
    if (in(m_parts.first()))
        return true;
    const auto after = std::upper_bound(m_parts.cbegin() + 1, m_parts.cend(), offset,
                                        [](qint64 at, const Part &part) { return at < part.at; });
    return after != m_parts.cbegin() + 1 && in(*(after - 1));
}

std::optional<QByteArray> ExecutableImage::dataAt(qint64 offset, qint64 size) const
{
    if (offset < 0 || m_parts.isEmpty())
        return std::nullopt;
    const auto from = [&](const Part &part) -> std::optional<QByteArray> {
        if (offset < part.at || !fits(part.bytes, offset - part.at, size))
            return std::nullopt;
        return part.bytes.mid(offset - part.at, size);
    };
    if (const auto data = from(m_parts.first()))
        return data;
    // The other parts are sorted and apart: only the last one starting at or before offset
    // can hold the bytes.
    const auto after = std::upper_bound(m_parts.cbegin() + 1, m_parts.cend(), offset,
                                        [](qint64 at, const Part &part) { return at < part.at; });
    if (after == m_parts.cbegin() + 1)
        return std::nullopt;
    return from(*(after - 1));
}

QList<ExecutableImage::Resource> ExecutableImage::copyOut(quint16 type,
                                                          bool firstLanguagesOnly) const
{
    QList<Resource> list;
    // In a sound file resources never overlap, so their data adds up to less than the bytes
    // held. Entries that point at the same bytes share one copy; beyond that budget a hostile
    // file that points many entries at large ranges gets no more copies.
    qint64 budget = 0;
    for (const Part &part : m_parts)
        budget += part.bytes.size();
    QHash<QPair<qint64, qint64>, QByteArray> copies;
    for (const Found &f : m_index) {
        if (f.type != type || (firstLanguagesOnly && !f.firstLanguage))
            continue;
        const QPair<qint64, qint64> range(f.offset, f.size);
        auto copy = copies.constFind(range);
        if (copy == copies.cend() && f.size <= budget) {
            if (const std::optional<QByteArray> data = dataAt(f.offset, f.size)) {
                budget -= f.size;
                copy = copies.insert(range, *data);
            }
        }
        if (copy != copies.cend())
            list.append({ResourceName{true, type, {}}, f.name, f.language, *copy});
        else if (firstLanguagesOnly)
            list.append({ResourceName{true, type, {}}, f.name, f.language, {}});
    }
    return list;
}

QList<ExecutableImage::Resource> ExecutableImage::resources(quint16 type) const
{
    return copyOut(type, false);
}

QList<ExecutableImage::Place> ExecutableImage::places(quint16 type) const
{
    QList<Place> list;
    for (const Found &f : m_index) {
        if (f.type == type && f.offset >= 0 && f.size > 0 && holds(f.offset, f.size))
            list.append({f.name, f.language, f.offset, f.size});
    }
    return list;
}

QList<ExecutableImage::Resource> ExecutableImage::firstLanguages(quint16 type) const
{
    return copyOut(type, true);
}

QByteArray ExecutableImage::resourceData(quint16 type, quint16 id) const
{
    const auto found = m_byId.constFind(quint32(type) << 16 | id);
    if (found == m_byId.cend())
        return {};
    const Found &f = m_index[*found];
    return dataAt(f.offset, f.size).value_or(QByteArray());
}

QByteArray ExecutableImage::versionResource() const
{
    for (const Found &f : m_index) {
        if (f.type != versionType)
            continue;
        if (const std::optional<QByteArray> data = dataAt(f.offset, f.size))
            return *data;
    }
    return {};
}
