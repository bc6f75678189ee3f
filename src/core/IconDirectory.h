#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// The directory of an .ico file: what each of its images claims to be, read without decoding
// any of them, so that the image to draw can be chosen before one is decoded.

constexpr int iconDirHeaderSize = 6; // reserved, type, count

// The number of entries of an icon directory (type 1) of entrySize-byte entries; 0 unless
// the header is sound and every entry lies inside the bytes.
int iconDirectoryCount(const QByteArray &bytes, int entrySize);

struct IconImageInfo
{
    int index = -1; // the entry's place in the directory, as image readers number them
    int width = 0;
    int height = 0;
    int bitCount = 0; // bits per pixel; 0 when neither the entry nor the image tells
};

// The entries whose image data lies inside the bytes and starts as a BMP or PNG image, in
// directory order.
QList<IconImageInfo> iconImages(const QByteArray &ico);
// The image nearest to size × size, of those the most colours; the first of equals.
std::optional<IconImageInfo> bestIconImage(const QByteArray &ico, int size);
// The same choice among images already described.
std::optional<IconImageInfo> bestIconImage(const QList<IconImageInfo> &images, int size);
// The image a cell of the icon list draws (scaled to 32 × 32 if it is not that size).
std::optional<IconImageInfo> drawnImageOf(const QByteArray &ico);
