#include "core/IconDirectory.h"

#include "core/LittleEndian.h"

#include <QtEndian>

#include <cstdlib>

using LittleEndian::u16;
using LittleEndian::u32;

namespace {

constexpr int fileEntrySize = 16; // ICONDIRENTRY: ... bytes in resource, offset
constexpr int largeIconSize = 32;
constexpr int bitmapInfoHeaderSize = 40;
constexpr int pngHeaderSize = 26; // signature, IHDR length and type, width, height, depth, colour type
constexpr QByteArrayView pngSignature("\x89PNG\r\n\x1a\n", 8);

// Bits per pixel that the image data itself declares; 0 when it is neither BMP nor PNG.
int ownBitCount(const QByteArray &ico, qsizetype at, qsizetype size)
{
    if (size >= pngHeaderSize && QByteArrayView(ico).sliced(at, 8) == pngSignature) {
        const int depth = uchar(ico[at + 24]);
        switch (uchar(ico[at + 25])) { // colour type: channels per pixel
        case 2: return 3 * depth;
        case 4: return 2 * depth;
        case 6: return 4 * depth;
        default: return depth; // grey or palette
        }
    }
    if (size >= bitmapInfoHeaderSize && u32(ico, at) == quint32(bitmapInfoHeaderSize))
        return u16(ico, at + 14);
    return 0;
}

int sizeDistance(const IconImageInfo &image, int size)
{
    return std::abs(image.width - size) + std::abs(image.height - size);
}

// A damaged entry claiming more than true colour does not outrank a real one.
int colourRank(const IconImageInfo &image)
{
    return image.bitCount <= 32 ? image.bitCount : 0;
}

} // namespace

int iconDirectoryCount(const QByteArray &bytes, int entrySize)
{
    if (bytes.size() < iconDirHeaderSize || u16(bytes, 0) != 0 || u16(bytes, 2) != 1)
        return 0;
    const int count = u16(bytes, 4);
    return qsizetype(iconDirHeaderSize) + qsizetype(count) * entrySize <= bytes.size() ? count : 0;
}

QList<IconImageInfo> iconImages(const QByteArray &ico)
{
    QList<IconImageInfo> images;
    const int count = iconDirectoryCount(ico, fileEntrySize);
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = iconDirHeaderSize + qsizetype(i) * fileEntrySize;
        const qsizetype size = u32(ico, entry + 8);
        const qsizetype offset = u32(ico, entry + 12);
        if (offset > ico.size() || size > ico.size() - offset)
            continue;
        const int ownBits = ownBitCount(ico, offset, size);
        if (ownBits == 0)
            continue; // not an image any reader can decode
        IconImageInfo image;
        image.index = i;
        image.width = uchar(ico[entry]) ? uchar(ico[entry]) : 256;
        image.height = uchar(ico[entry + 1]) ? uchar(ico[entry + 1]) : 256;
        // Old files leave the entry's bit count 0; the image's own header then tells.
        image.bitCount = u16(ico, entry + 6) ? u16(ico, entry + 6) : ownBits;
        images << image;
    }
    return images;
}

std::optional<IconImageInfo> bestIconImage(const QByteArray &ico, int size)
{
    return bestIconImage(iconImages(ico), size);
}

std::optional<IconImageInfo> bestIconImage(const QList<IconImageInfo> &images, int size)
{
    std::optional<IconImageInfo> best;
    for (const IconImageInfo &image : images) {
        const bool nearer = best && sizeDistance(image, size) < sizeDistance(*best, size);
        const bool asNear = best && sizeDistance(image, size) == sizeDistance(*best, size);
        if (!best || nearer || (asNear && colourRank(image) > colourRank(*best)))
            best = image;
    }
    return best;
}

std::optional<IconImageInfo> drawnImageOf(const QByteArray &ico)
{
    return bestIconImage(ico, largeIconSize);
}
