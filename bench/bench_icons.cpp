// Times the icon list on a generated library of many large icons (184 groups of ten images:
// 16, 24, 32, 48 and 64 pixels in 8 and 32 bits and a 256-pixel PNG, as icon libraries ship
// them): opening it and drawing every cell, per icon, beside Qt's own ICO reader decoding the
// same 32-pixel images from .ico files.
// Usage: bench_icons [GROUPS]   (default 184; run offscreen)

#include "Timing.h"
#include "ExecutableWriter.h"
#include "IconFixtures.h"

#include "core/IconSource.h"
#include "widgets/IconList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace ExecutableWriter;
using namespace IconFixtures;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int groups = argc > 1 ? std::atoi(argv[1]) : 184;
    QTemporaryDir dir;
    QList<ResourceEntry> resources;
    QStringList icoPaths; // each group also as an .ico file of its own, for Qt's reader
    quint16 imageId = 1;
    for (int g = 0; g < groups; ++g) {
        const QColor colour = QColor::fromHsv((g * 37) % 360, 200, 230);
        QList<IcoImage> images;
        for (int size : {16, 24, 32, 48, 64})
            for (int bits : {8, 32})
                images << bmpImage(size, bits, colour);
        images << pngImage(256, colour);
        const QByteArray ico = icoFile(images);
        resources += iconResources(ico, quint16(g + 1), imageId);
        imageId += quint16(images.size());
        icoPaths << dir.filePath(QStringLiteral("%1.ico").arg(g));
        QFile one(icoPaths.last());
        one.open(QIODevice::WriteOnly);
        one.write(ico);
    }
    const QString path = dir.filePath(QStringLiteral("ikony.dll"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(writePe(false, true, resources));
    file.close();

    // Pelmora: the list opens the library and draws every cell (the 32-pixel image of each
    // icon, 32 bits). Qt: its ICO reader opens each group's .ico file and decodes the same
    // image (the sixth: 32 pixels, 32 bits) into a pixmap, as a cell is drawn from. Alternating
    // runs, medians.
    constexpr int runs = 41; // short runs: enough of them that one disturbed run moves nothing
    QList<double> list, qt;
    int drawn = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        {
            IconList box;
            box.resize(460, 77);
            box.setFileName(path);
            for (int i = 0; i < box.count(); ++i)
                box.iconAt(i); // each cell drawn once, as the list shows them
            drawn = box.iconCount();
        }
        list << millis(timer);
        timer.restart();
        for (const QString &ico : std::as_const(icoPaths)) {
            QImageReader reader(ico, "ico");
            reader.jumpToImage(5);
            const QPixmap image = QPixmap::fromImage(reader.read()); // as a cell draws it
            if (image.width() != 32)
                std::fprintf(stderr, "Qt read a %d-pixel image\n", image.width());
        }
        qt << millis(timer);
    }
    // Of which reading the library's resources, which the list does once when it opens.
    QList<double> opening;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const IconSource source(path);
        opening << millis(timer);
    }
    std::printf("of which opening the library: %.1f ms\n", median(opening));
    const double pelmora = median(list), baseline = median(qt);
    std::printf("icon list: file_bytes=%lld icons=%d images=%d open_and_draw_ms=%.1f per_icon_ms=%.3f | "
                "Qt ICO reader, same 32 px images: %.1f ms, per_icon_ms=%.3f | ratio %.2f (medians of %d)\n",
                qlonglong(QFile(path).size()), drawn, groups * 11, pelmora, pelmora / qMax(1, drawn), baseline,
                baseline / qMax(1, groups), pelmora / baseline, runs);
    return 0;
}
