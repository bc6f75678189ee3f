#pragma once

// Real icons for fixtures: .ico files made by Qt's own writer or of images of a chosen colour
// depth, and the same images as the icon resources of a program.

#include "ExecutableWriter.h"

#include <QColor>
#include <QImage>
#include <QList>

namespace IconFixtures {

// One image of an .ico file: what its directory entry states, and its data.
struct IcoImage
{
    int width = 0;
    int height = 0;
    quint8 colourCount = 0;
    quint16 bitCount = 0; // 0 as old files leave it
    QByteArray data;
};

// A square image of one colour.
QImage square(int size, const QColor &colour);
// A square of one colour in the BMP form of icon images, with bitCount bits per pixel (1, 4,
// 8, 24 or 32); a palette holds the colour first.
IcoImage bmpImage(int size, int bitCount, const QColor &colour);
// A square of one colour as a PNG image, the entry's bit count left 0.
IcoImage pngImage(int size, const QColor &colour);
// An .ico file holding the images, in order (Qt writes them in 32 bits).
QByteArray icoFile(const QList<QImage> &images);
QByteArray icoFile(const QList<IcoImage> &images);
// The icon group (RT_GROUP_ICON, id groupId) and images (RT_ICON, ids from firstImageId) of
// an .ico file in one language, for ExecutableWriter.
QList<ExecutableWriter::ResourceEntry> iconResources(const QByteArray &ico, quint16 groupId,
                                                     quint16 firstImageId,
                                                     quint16 language = 0x0409);

} // namespace IconFixtures
