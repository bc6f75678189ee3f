// Writes and reads an autorun.inf of many items and prints the times, with the time to read
// the same file and split it into lines for scale, from 1,000 to 400,000 items.
// Usage: bench_autorun [LARGEST]

#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

double millis(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void measure(int count)
{
    QTemporaryDir dir;
    MenuDocument doc;
    doc.dataFolder = dir.path() + QLatin1Char('/');
    doc.autoStartProgram = QStringLiteral("setup.exe");
    doc.iconFile = QStringLiteral("setup.exe");
    doc.iconIndex = 0;
    doc.discLabel = QStringLiteral("PŁYTA");
    for (int i = 0; i < count; ++i)
        doc.items.append({QStringLiteral("Zainstaluj program numer %1").arg(i),
                          QStringLiteral("narzędzia\\program%1.exe").arg(i)});

    // Best of several runs: the figures compare work, not the machine's other load.
    const int runs = count <= 10000 ? 20 : count <= 100000 ? 5 : 2;
    double write = 1e30, read = 1e30, split = 1e30;
    qsizetype items = 0, lines = 0;
    qint64 bytes = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (!writeAutorunFile(doc))
            std::fprintf(stderr, "write failed\n");
        write = std::min(write, millis(timer));

        timer.restart();
        QFile file(autorunPath(doc.dataFolder));
        if (file.open(QIODevice::ReadOnly))
            lines = file.readAll().split('\n').size();
        split = std::min(split, millis(timer));
        bytes = file.size();

        timer.restart();
        const AutorunContent content = readAutorun(autorunPath(doc.dataFolder), doc.dataFolder);
        read = std::min(read, millis(timer));
        items = content.items.size();
    }
    std::printf("%8d items  %9lld bytes  write %8.2f ms  read %8.2f ms  read+split lines %7.2f ms  "
                "ratio %5.2f  read per item %6.3f us  (%lld items read, %lld lines)\n",
                count, qlonglong(bytes), write, read, split, read / split, read * 1000 / count,
                qlonglong(items), qlonglong(lines));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int largest = argc > 1 ? std::atoi(argv[1]) : 400000;
    // From small to large, to show how the cost grows.
    for (int n : {1000, 3000, 10000, 30000, 100000, 400000})
        if (n <= largest)
            measure(n);
    return 0;
}
