// Writes and reads an autorun.inf of many items and prints the times, with the time to read
// the same file and split it into lines for scale. Usage: bench_autorun [ITEMS]

#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

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

    QElapsedTimer timer;
    timer.start();
    if (!writeAutorunFile(doc))
        std::fprintf(stderr, "write failed\n");
    const double write = millis(timer);

    timer.restart();
    const AutorunContent content = readAutorun(autorunPath(doc.dataFolder), doc.dataFolder);
    const double read = millis(timer);

    timer.restart();
    QFile file(autorunPath(doc.dataFolder));
    qsizetype lines = 0;
    if (file.open(QIODevice::ReadOnly))
        lines = file.readAll().split('\n').size();
    const double split = millis(timer);

    std::printf("%8d items  %9lld bytes  write %8.1f ms  read %8.1f ms  read+split lines %6.1f ms"
                "  (%lld items read, %lld lines)\n",
                count, qlonglong(file.size()), write, read, split,
                qlonglong(content.items.size()), qlonglong(lines));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int items = argc > 1 ? std::atoi(argv[1]) : 100000;
    // Smaller sizes first, to show how the cost grows.
    for (int n : {items / 10, items / 2, items})
        measure(n);
    return 0;
}
