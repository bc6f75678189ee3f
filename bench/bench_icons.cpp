// Times the icon list on a generated library of many large icons (184 groups of ten images:
// 16, 24, 32, 48 and 64 pixels in 8 and 32 bits and a 256-pixel PNG, as icon libraries ship
// them): opening it (counting the icons) and drawing every cell, per icon.
// Usage: bench_icons [GROUPS]   (default 184; run offscreen)

#include "ExecutableWriter.h"
#include "IconFixtures.h"

#include "core/IconSource.h"
#include "widgets/IconList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

using namespace ExecutableWriter;
using namespace IconFixtures;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int groups = argc > 1 ? std::atoi(argv[1]) : 184;
    QList<ResourceEntry> resources;
    quint16 imageId = 1;
    for (int g = 0; g < groups; ++g) {
        const QColor colour = QColor::fromHsv((g * 37) % 360, 200, 230);
        QList<IcoImage> images;
        for (int size : {16, 24, 32, 48, 64})
            for (int bits : {8, 32})
                images << bmpImage(size, bits, colour);
        images << pngImage(256, colour);
        resources += iconResources(icoFile(images), quint16(g + 1), imageId);
        imageId += quint16(images.size());
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ikony.dll"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(writePe(false, true, resources));
    file.close();

    IconList box;
    box.resize(460, 77);
    QElapsedTimer timer;
    timer.start();
    box.setFileName(path);
    const double open = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    for (int i = 0; i < box.count(); ++i)
        box.iconAt(i);
    const double draw = double(timer.nsecsElapsed()) / 1e6;
    std::printf("icon list: file_bytes=%lld icons=%d images=%d open_ms=%.1f draw_all_ms=%.1f per_icon_ms=%.3f\n",
                qlonglong(QFile(path).size()), box.iconCount(), groups * 11, open, draw,
                draw / qMax(1, box.iconCount()));
    return 0;
}
