#include "core/IconSource.h"

#include "core/LittleEndian.h"

#include "core/IconDirectory.h"
#include "core/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QtEndian>

using LittleEndian::u16;

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
    readProgram(ExecutableImage::fromFile(path));
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

    // The group lists each image's header with a resource id where the file format has an
    // offset: the same header, followed by the images in order. An image listed twice is
    // taken once, so a hostile group cannot repeat a large image into a huge file.
    const QByteArray &group = m_groups[index];
    const int count = iconDirectoryCount(group, groupEntrySize);
    QList<qsizetype> entries;
    QSet<quint16> taken;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = iconDirHeaderSize + qsizetype(i) * groupEntrySize;
        const quint16 id = u16(group, at + 12);
        if (m_images.contains(id) && !taken.contains(id)) {
            taken.insert(id);
            entries << at;
        }
    }
    if (entries.isEmpty())
        return {};
    // The images are read now, from the bytes given or the file, opened once for them all;
    // an image that cannot be read whole stays empty and is no image.
    QFile file;
    const bool fromFile = !m_path.isEmpty() && openRegularFile(m_path, file) == FileReadError::None;
    QList<QByteArray> images;
    for (const qsizetype at : std::as_const(entries)) {
        const Image place = m_images[u16(group, at + 12)];
        QByteArray data;
        if (m_path.isEmpty() && place.offset + place.size <= m_bytes.size())
            data = m_bytes.mid(place.offset, place.size);
        else if (fromFile && file.seek(place.offset))
            data = file.read(place.size);
        images << (data.size() == place.size ? data : QByteArray());
    }
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
