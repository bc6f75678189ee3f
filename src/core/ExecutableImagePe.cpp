// The resources of 32- and 64-bit PE images: sections, the resource tree and its data.

#include "core/ExecutableImage.h"

#include "core/LittleEndian.h"

#include "core/ExecutableImageSource.h"

#include <QSet>

#include <algorithm>

namespace {

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
constexpr quint16 peIconType = 3;
// What is read of a resource section first: the whole tree of most programs.
constexpr qint64 firstTreePart = 64 * 1024;

} // namespace

using namespace LittleEndian;

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
    if (source.inMemory()) {
        const Part tree{0, source.bytes()};
        m_parts.append(tree);
        indexPe(tree, root, std::min(end, tree.at + tree.bytes.size()));
        return;
    }
    // Of a file, the section is read as far as the tree's structures reach, which resource
    // compilers put before the data they point at: a first part, then twice as much while a
    // structure lies past what was read. The data is read range by range after.
    qint64 length = std::min<qint64>(end - root, firstTreePart);
    for (;;) {
        const Part tree{root, source.read(root, length)};
        m_index.clear();
        const qint64 partEnd = std::min(end, tree.at + tree.bytes.size());
        const qint64 reach = indexPe(tree, root, partEnd);
        if (reach <= partEnd || partEnd == end || qint64(tree.bytes.size()) < length) {
            m_parts.append(tree);
            break;
        }
        length = std::min(end - root, std::max(2 * length, reach - root));
    }
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

// Walks the tree once, in directory order: types, their names, the names' languages. Offsets
// inside the tree count from root; nothing past end belongs to it.
qint64 ExecutableImage::indexPe(const Part &tree, qint64 root, qint64 end)
{
    const QByteArray &b = tree.bytes;
    const qint64 base = tree.at;
    qint64 reach = end; // how far a structure that did not fit wanted to go
    const auto fits = [&](qint64 to) {
        reach = std::max(reach, to);
        return to <= end;
    };
    // Every directory is read once, so one that points back at itself or at another is read
    // no further.
    QSet<qint64> visited;

    struct Entry
    {
        quint32 name;
        quint32 target;
    };
    // A directory's entries, read where they lie: from the first, count of them.
    struct Entries
    {
        const QByteArray *bytes = nullptr;
        qint64 first = 0;
        qint64 count = 0;
        Entry operator[](qint64 i) const
        {
            const qint64 entry = first + i * peDirectoryEntrySize;
            return {u32(*bytes, entry), u32(*bytes, entry + 4)};
        }
    };
    const auto directory = [&](qint64 offset) {
        Entries entries;
        const qint64 at = root + offset;
        if (visited.contains(offset) || !fits(at + peDirectoryHeaderSize))
            return entries;
        visited.insert(offset);
        const qint64 count = qint64(u16(b, at - base + 12)) + u16(b, at - base + 14);
        const qint64 first = at + peDirectoryHeaderSize;
        fits(first + count * peDirectoryEntrySize);
        entries.bytes = &b;
        entries.first = first - base;
        entries.count = std::max<qint64>(0, std::min(count, (end - first) / peDirectoryEntrySize));
        return entries;
    };
    // Names are counted UTF-16 strings, placed like directories from the start of the tree.
    const auto entryName = [&](quint32 field, ResourceName &name) {
        if (!(field & peHighBit)) {
            name.id = quint16(field);
            return true;
        }
        const qint64 at = root + (field & ~peHighBit);
        if (!fits(at + 2))
            return false;
        const qint64 length = u16(b, at - base);
        if (!fits(at + 2 + 2 * length))
            return false;
        name.numeric = false;
        name.name.resize(length);
        for (qint64 i = 0; i < length; ++i)
            name.name[i] = QChar(u16(b, at - base + 2 + 2 * i));
        return true;
    };

    const Entries types = directory(0);
    for (qint64 t = 0; t < types.count; ++t) {
        const Entry typeEntry = types[t];
        if ((typeEntry.name & peHighBit) || !(typeEntry.target & peHighBit))
            continue;
        const Entries names = directory(typeEntry.target & ~peHighBit);
        for (qint64 n = 0; n < names.count; ++n) {
            const Entry nameEntry = names[n];
            Found found;
            found.type = quint16(typeEntry.name);
            if (!(nameEntry.target & peHighBit) || !entryName(nameEntry.name, found.name))
                continue;
            found.firstLanguage = true;
            const Entries languages = directory(nameEntry.target & ~peHighBit);
            for (qint64 l = 0; l < languages.count; ++l) {
                const Entry languageEntry = languages[l];
                found.language = quint16(languageEntry.name);
                found.offset = -1;
                const qint64 dataEntry = root + languageEntry.target;
                if (!(languageEntry.name & peHighBit) && !(languageEntry.target & peHighBit)
                    && fits(dataEntry + peDataEntrySize)) {
                    found.size = u32(b, dataEntry - base + 4);
                    found.offset = fileOffset(u32(b, dataEntry - base), quint32(found.size));
                }
                // A damaged first language keeps the name's place.
                if ((found.offset >= 0 || found.firstLanguage) && !add(found))
                    return reach;
                found.firstLanguage = false;
            }
        }
    }
    return reach;
}

// Resource data outside the tree's part is read range by range, overlapping ranges once, up
// to maxFileSize in all.
void ExecutableImage::readOutsideParts(Source &source)
{
    const qint64 treeFrom = m_parts.first().at;
    const qint64 treeTo = treeFrom + m_parts.first().bytes.size();
    QList<QPair<qint64, qint64>> ranges; // from, to
    for (const Found &f : std::as_const(m_index)) {
        if (f.offset >= 0 && (f.offset < treeFrom || f.offset + f.size > treeTo)
            && !(m_iconImagesLeft && f.type == peIconType))
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
