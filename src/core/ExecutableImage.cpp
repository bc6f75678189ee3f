#include "core/ExecutableImage.h"

#include "core/ExecutableImageSource.h"
#include "core/LittleEndian.h"
#include "core/RegularFile.h"

#include "os/InputFile.h"
#include "os/NativePath.h"

#include <QFile>

#include <algorithm>

namespace {

// A DOS header is 64 bytes; e_lfanew, the offset of the newer header, sits at its end.
constexpr qint64 dosHeaderSize = 64;
constexpr qint64 newHeaderOffsetField = 0x3C;

constexpr quint16 iconType = 3;
constexpr quint16 versionType = 16;
// More resources than any real file holds (ids are 16-bit); a hostile file could otherwise
// list one for every few bytes it has.
constexpr qsizetype maxResources = 65536;

} // namespace

using namespace LittleEndian;

ExecutableImage ExecutableImage::fromBytes(const QByteArray &bytes)
{
    Source source(bytes);
    ExecutableImage image;
    image.read(source);
    return image;
}

ExecutableImage ExecutableImage::fromFile(const QString &path)
{
    return fromFile(path, false);
}

ExecutableImage ExecutableImage::withoutIconImages(const QString &path)
{
    return fromFile(path, true);
}

ExecutableImage ExecutableImage::fromFile(const QString &path, bool leaveIconImages)
{
    QFile file;
    if (openRegularFile(path, file) != FileReadError::None)
        return {};
    Source source(&file);
    ExecutableImage image;
    image.m_iconImagesLeft = leaveIconImages;
    image.read(source);
    image.m_bytesRead = source.bytesRead();
    if ((image.m_kind == Kind::Dos || image.m_kind == Kind::Ne) && source.size() > maxFileSize)
        return {};
    return image;
}

ExecutableImage::Header ExecutableImage::headerOf(const QString &path)
{
    InputFile file;
    if (file.open(nativePath(path), Links::Follow))
        return {};
    const std::optional<FileStatus> status = file.status();
    if (!status || status->kind != FileKind::File)
        return {};
    char dos[dosHeaderSize];
    if (file.readAt(0, dos, dosHeaderSize, nullptr) != dosHeaderSize || dos[0] != 'M' || dos[1] != 'Z')
        return {};
    const QByteArray dosBytes = QByteArray::fromRawData(dos, dosHeaderSize);
    // The signature, the file header and the optional header's magic.
    constexpr qint64 newHeaderSize = 4 + 20 + 2;
    char next[newHeaderSize];
    const qint64 n = file.readAt(u32(dosBytes, newHeaderOffsetField), next, newHeaderSize, nullptr);
    const QByteArray header = QByteArray::fromRawData(next, qMax<qint64>(n, 0));
    if (header.startsWith("NE"))
        return {Kind::Ne, 0};
    if (header.size() < newHeaderSize || !header.startsWith(QByteArray("PE\0\0", 4)))
        return {Kind::Dos, 0};
    const quint16 magic = u16(header, newHeaderSize - 2);
    if (magic != 0x10B && magic != 0x20B)
        return {Kind::Dos, 0};
    return {magic == 0x20B ? Kind::Pe64 : Kind::Pe32, u16(header, 4)};
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
        if (f.name.numeric && !m_byId.contains(key) && holds(f.offset, f.size))
            m_byId.insert(key, i);
    }
}

// False once the index is full.
bool ExecutableImage::add(const Found &found)
{
    m_index.append(found);
    return m_index.size() < maxResources;
}

// The held bytes at [offset, offset + size); none when they were not read.
bool ExecutableImage::holds(qint64 offset, qint64 size) const
{
    if (offset < 0 || m_parts.isEmpty())
        return false;
    const auto in = [&](const Part &part) {
        return offset >= part.at && fits(part.bytes, offset - part.at, size);
    };
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
    // Images left unread are listed where they lie inside the file; their reader checks what
    // it reads.
    const bool left = m_iconImagesLeft && type == iconType;
    for (const Found &f : m_index) {
        if (f.type == type && f.offset >= 0 && f.size > 0
            && (left ? f.offset + f.size <= m_fileSize : holds(f.offset, f.size)))
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
