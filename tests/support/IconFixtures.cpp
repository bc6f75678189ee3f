#include "IconFixtures.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>

namespace IconFixtures {

namespace {
quint16 u16(const QByteArray &b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
quint32 u32(const QByteArray &b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
void put16(QByteArray &b, quint16 v) { char c[2]; qToLittleEndian(v, c); b.append(c, 2); }
void put32(QByteArray &b, quint32 v) { char c[4]; qToLittleEndian(v, c); b.append(c, 4); }
} // namespace

QImage square(int size, const QColor &colour)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

QByteArray icoFile(const QList<QImage> &images)
{
    // Qt writes one image per .ico file; their entries and data are joined into one file.
    QList<QByteArray> entries, data;
    for (const QImage &image : images) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "ico").write(image);
        const QByteArray single = buffer.data();
        entries << single.mid(6, 16);
        data << single.mid(int(u32(single, 6 + 12)), int(u32(single, 6 + 8)));
    }
    QByteArray ico;
    put16(ico, 0);
    put16(ico, 1);
    put16(ico, quint16(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (int i = 0; i < images.size(); ++i) {
        ico += entries[i].left(8);
        put32(ico, quint32(data[i].size()));
        put32(ico, offset);
        offset += quint32(data[i].size());
    }
    for (const QByteArray &d : data)
        ico += d;
    return ico;
}

QList<ExecutableWriter::ResourceEntry> iconResources(const QByteArray &ico, quint16 groupId, quint16 firstImageId)
{
    QList<ExecutableWriter::ResourceEntry> resources;
    QByteArray group = ico.left(6);
    const int count = u16(ico, 4);
    for (int i = 0; i < count; ++i) {
        const int at = 6 + 16 * i;
        const quint16 id = quint16(firstImageId + i);
        group += ico.mid(at, 12); // the header up to and with the size of the image
        put16(group, id);
        resources.append({3, id, 0x0409, ico.mid(int(u32(ico, at + 12)), int(u32(ico, at + 8))), {}});
    }
    resources.append({14, groupId, 0x0409, group, {}});
    return resources;
}

} // namespace IconFixtures
