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

IcoImage bmpImage(int size, int bitCount, const QColor &colour)
{
    const int xorRow = (size * bitCount + 31) / 32 * 4;
    const int andRow = (size + 31) / 32 * 4;
    QByteArray data;
    put32(data, 40); // BITMAPINFOHEADER
    put32(data, quint32(size));
    put32(data, quint32(2 * size)); // the colour image and the mask
    put16(data, 1);
    put16(data, quint16(bitCount));
    put32(data, 0);
    put32(data, quint32((xorRow + andRow) * size));
    data += QByteArray(16, '\0');
    QByteArray bgra;
    for (const int part : {colour.blue(), colour.green(), colour.red(), 0xFF})
        bgra += char(part);
    QByteArray row;
    if (bitCount <= 8) {
        data += bgra.left(3) + '\0';
        data += QByteArray(((1 << bitCount) - 1) * 4, '\0');
        row = QByteArray(xorRow, '\0'); // every pixel the first colour
    } else {
        const QByteArray pixel = bitCount == 32 ? bgra : bgra.left(3);
        row = pixel.repeated(size).leftJustified(xorRow, '\0');
    }
    data += row.repeated(size);
    data += QByteArray(andRow * size, '\0'); // opaque
    return {size, size, quint8(bitCount < 8 ? 1 << bitCount : 0), quint16(bitCount), data};
}

IcoImage pngImage(int size, const QColor &colour)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(square(size, colour));
    return {size, size, 0, 0, buffer.data()};
}

QByteArray icoFile(const QList<QImage> &images)
{
    // Qt writes one image per .ico file; their images are joined into one file.
    QList<IcoImage> parts;
    for (const QImage &image : images) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "ico").write(image);
        const QByteArray single = buffer.data();
        parts.append({image.width(), image.height(), 0, u16(single, 6 + 6),
                      single.mid(int(u32(single, 6 + 12)), int(u32(single, 6 + 8)))});
    }
    return icoFile(parts);
}

QByteArray icoFile(const QList<IcoImage> &images)
{
    QByteArray ico;
    put16(ico, 0);
    put16(ico, 1);
    put16(ico, quint16(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (const IcoImage &image : images) {
        ico += char(image.width & 0xFF); // 256 is written as 0
        ico += char(image.height & 0xFF);
        ico += char(image.colourCount);
        ico += '\0';
        put16(ico, 1);
        put16(ico, image.bitCount);
        put32(ico, quint32(image.data.size()));
        put32(ico, offset);
        offset += quint32(image.data.size());
    }
    for (const IcoImage &image : images)
        ico += image.data;
    return ico;
}

QList<ExecutableWriter::ResourceEntry> iconResources(const QByteArray &ico, quint16 groupId, quint16 firstImageId,
                                                     quint16 language)
{
    QList<ExecutableWriter::ResourceEntry> resources;
    QByteArray group = ico.left(6);
    const int count = u16(ico, 4);
    for (int i = 0; i < count; ++i) {
        const int at = 6 + 16 * i;
        const quint16 id = quint16(firstImageId + i);
        group += ico.mid(at, 12); // the header up to and with the size of the image
        put16(group, id);
        resources.append({3, id, language, ico.mid(int(u32(ico, at + 12)), int(u32(ico, at + 8))), {}});
    }
    resources.append({14, groupId, language, group, {}});
    return resources;
}

} // namespace IconFixtures
