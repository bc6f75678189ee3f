#include "core/IconSource.h"

#include "core/LittleEndian.h"

#include "core/IconDirectory.h"
#include "core/RegularFile.h"

#include "os/InputFile.h"
#include "os/NativePath.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <bitset>

using LittleEndian::u16;

static QByteArray icoOf(const QByteArray &group, const QList<qsizetype> &entries, const QList<QByteArray> &images);

namespace {

constexpr quint16 rtIcon = 3;
constexpr quint16 rtGroupIcon = 14;
constexpr int groupEntrySize = 14;   // GRPICONDIRENTRY: ... bytes in resource, id
constexpr int fileEntrySize = 16;    // ICONDIRENTRY: ... bytes in resource, offset
// Icon files are small; anything larger is not read as one.
constexpr qint64 maxIcoFile = 16 * 1024 * 1024;

void appendLe16(QByteArray &b, quint16 v)
{
    char bytes[2];
    qToLittleEndian(v, bytes);
    b.append(bytes, 2);
}

void appendLe32(QByteArray &b, quint32 v)
{
    char bytes[4];
    qToLittleEndian(v, bytes);
    b.append(bytes, 4);
}

bool isIcoHeader(const QByteArray &head)
{
    return head.size() >= iconDirHeaderSize && u16(head, 0) == 0 && u16(head, 2) == 1;
}

} // namespace

IconSource::IconSource(const QString &path)
{
    QFile file;
    if (openRegularFile(path, file) != FileReadError::None)
        return;
    if (isIcoHeader(file.peek(iconDirHeaderSize))) {
        if (file.size() <= maxIcoFile)
            readIco(file.readAll());
        return;
    }
    file.close();
    m_path = path;
    // The images are read when an icon is asked for, not now.
    readProgram(ExecutableImage::withoutIconImages(path));
    // The images are read from the file when an icon is asked for: it stays open for them.
    if (!m_groups.isEmpty()) {
        m_file = std::make_shared<InputFile>();
        const std::optional<FileStatus> status =
            m_file->open(nativePath(path), Links::Follow) ? std::nullopt : m_file->status();
        if (!status || status->kind != FileKind::File)
            m_file.reset();
    }
}

IconSource IconSource::fromBytes(const QByteArray &bytes)
{
    IconSource source;
    if (!isIcoHeader(bytes)) {
        source.m_bytes = bytes;
        source.readProgram(ExecutableImage::fromBytes(bytes));
    }
    else if (bytes.size() <= maxIcoFile)
        source.readIco(bytes);
    return source;
}

void IconSource::readIco(const QByteArray &ico)
{
    if (iconDirectoryCount(ico, fileEntrySize) > 0) {
        m_icoFile = true;
        m_groups << ico;
    }
}

void IconSource::readProgram(const ExecutableImage &image)
{
    // A group in several languages is one icon, drawn in the first of them.
    for (const ExecutableImage::Resource &group : image.firstLanguages(rtGroupIcon))
        m_groups << group.data;
    if (m_groups.isEmpty())
        return;
    for (const ExecutableImage::Place &icon : image.places(rtIcon)) {
        if (icon.name.numeric && !m_images.contains(icon.name.id))
            m_images.insert(icon.name.id, {icon.offset, icon.size});
    }
}

QByteArray IconSource::icoFile(int index) const
{
    if (index < 0 || index >= m_groups.size())
        return {};
    if (m_icoFile)
        return m_groups[index];

    const QByteArray &group = m_groups[index];
    const QList<qsizetype> entries = imageEntries(group);
    if (entries.isEmpty())
        return {};
    // The images are read now, from the bytes given or the file kept open; an image that
    // cannot be read whole stays empty and is no image.
    QList<QByteArray> images;
    for (const qsizetype at : std::as_const(entries))
        images << wholeImage(group, at);
    return icoOf(group, entries, images);
}

QByteArray IconSource::icoFile(int index, int size) const
{
    if (index < 0 || index >= m_groups.size())
        return {};
    if (m_icoFile)
        return m_groups[index];
    const QByteArray &group = m_groups[index];
    const QList<qsizetype> entries = imageEntries(group);
    if (entries.isEmpty())
        return {};
    // The choice is made as bestIconImage() makes it on the whole icon. Most groups state
    // every image's size and depth: the image is chosen from the entries alone, taking each
    // for an image, and read alone; when it is one, it is also the choice among the images
    // alone (what comes before it is fewer, never more). Else the first bytes of each image
    // decide (its own header, for a depth the entry leaves 0, and whether it is an image).
    const bool stated = std::all_of(entries.cbegin(), entries.cend(), [&](qsizetype at) { return u16(group, at + 6) != 0; });
    if (stated) {
        QList<IconImageInfo> claimed;
        claimed.reserve(entries.size());
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const qsizetype at = entries[i];
            IconImageInfo image;
            image.index = int(i);
            image.width = uchar(group[at]) ? uchar(group[at]) : 256;
            image.height = uchar(group[at + 1]) ? uchar(group[at + 1]) : 256;
            image.bitCount = u16(group, at + 6);
            claimed << image;
        }
        if (const std::optional<IconImageInfo> chosen = bestIconImage(claimed, size)) {
            const qsizetype at = entries[chosen->index];
            const QByteArray data = wholeImage(group, at);
            const QByteArray ico = data.isEmpty() ? QByteArray() : icoOf(group, {at}, {data});
            if (!ico.isEmpty() && !iconImages(ico).isEmpty())
                return ico;
        }
    }
    constexpr qint64 headSize = 40; // a BMP's header; a PNG's is shorter
    QList<QByteArray> heads;
    for (const qsizetype at : entries) {
        const Image place = m_images[u16(group, at + 12)];
        heads << imageBytes(place.offset, qMin(place.size, headSize));
    }
    // The image bestIconImage() picks among the heads, read whole as an .ico file of its own.
    const std::optional<IconImageInfo> chosen = bestIconImage(icoOf(group, entries, heads), size);
    const QByteArray data = chosen ? wholeImage(group, entries[chosen->index]) : QByteArray();
    const QByteArray ico = data.isEmpty() ? QByteArray() : icoOf(group, {entries[chosen->index]}, {data});
    // An image cut short is no image: the whole icon then, for the choice among the rest.
    return !ico.isEmpty() ? ico : icoFile(index);
}

QByteArray IconSource::wholeImage(const QByteArray &group, qsizetype at) const
{
    const Image place = m_images[u16(group, at + 12)];
    const QByteArray data = imageBytes(place.offset, place.size);
    return data.size() == place.size ? data : QByteArray();
}

// The group lists each image's header with a resource id where the file format has an offset:
// the same header, followed by the images in order. An image listed twice is taken once, so
// a hostile group cannot repeat a large image into a huge file.
QList<qsizetype> IconSource::imageEntries(const QByteArray &group) const
{
    const int count = iconDirectoryCount(group, groupEntrySize);
    QList<qsizetype> entries;
    std::bitset<65536> taken;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = iconDirHeaderSize + qsizetype(i) * groupEntrySize;
        const quint16 id = u16(group, at + 12);
        if (!taken[id] && m_images.contains(id)) {
            taken[id] = true;
            entries << at;
        }
    }
    return entries;
}

QByteArray IconSource::imageBytes(qint64 offset, qint64 size) const
{
    if (m_path.isEmpty())
        return offset + size <= m_bytes.size() ? m_bytes.mid(offset, size) : QByteArray();
    if (!m_file)
        return {};
    QByteArray data(size, Qt::Uninitialized);
    const qint64 n = m_file->readAt(offset, data.data(), size, nullptr);
    data.resize(qMax<qint64>(n, 0));
    return data;
}

// An .ico file of the group's entries, with their images.
static QByteArray icoOf(const QByteArray &group, const QList<qsizetype> &entries, const QList<QByteArray> &images)
{
    QByteArray ico;
    appendLe16(ico, 0);
    appendLe16(ico, 1);
    appendLe16(ico, quint16(entries.size()));
    quint32 offset = quint32(iconDirHeaderSize + entries.size() * fileEntrySize);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        ico.append(group.constData() + entries[i], 8); // width, height, colours, reserved, planes, bits
        appendLe32(ico, quint32(images[i].size()));
        appendLe32(ico, offset);
        offset += quint32(images[i].size());
    }
    for (const QByteArray &image : std::as_const(images))
        ico += image;
    return ico;
}
