// Checks a menu of 10,000 entries against a folder of 100,000 files and prints the times of
// the first check (folders listed afresh) and of a repeated one. The window runs the check on
// the GUI thread, so it has to stay well under a second.
// Usage: bench_check

#include "core/DiscCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int folders = 100;
constexpr int filesPerFolder = 1000;
constexpr int entries = 10000;

double millis(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString root = dir.path() + QLatin1Char('/');
    for (int d = 0; d < folders; ++d) {
        const QString folder = root + QStringLiteral("Folder %1/").arg(d);
        QDir().mkpath(folder);
        for (int f = 0; f < filesPerFolder; ++f) {
            QFile file(folder + QStringLiteral("Program%1.exe").arg(f));
            if (!file.open(QIODevice::WriteOnly)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
                return 1;
            }
        }
    }

    // Entries in other letter case (each file looked up through the folder's index), with
    // arguments, a blank in the folder name, some quoted, some missing.
    MenuDocument doc;
    doc.dataFolder = root;
    doc.autoStartProgram = QStringLiteral("folder 0\\program0.exe /auto");
    doc.discLabel = QStringLiteral("PŁYTA");
    for (int i = 0; i < entries; ++i) {
        const QString program = QStringLiteral("FOLDER %1\\PROGRAM%2.EXE").arg(i % folders).arg(i * 7 % (filesPerFolder + 10));
        const QString command = i % 3 == 0 ? QLatin1Char('"') + program + QStringLiteral("\" /s")
                                           : program + QStringLiteral(" /tryb cichy");
        doc.items.append({QStringLiteral("Pozycja %1").arg(i % 9000), command});
    }

    QElapsedTimer timer;
    timer.start();
    const QList<DiscFinding> first = checkDisc(doc, root);
    const double cold = millis(timer);
    double warm = 1e30;
    for (int run = 0; run < 5; ++run) {
        timer.restart();
        checkDisc(doc, root);
        warm = std::min(warm, millis(timer));
    }
    std::printf("%d files, %d entries: %lld findings; first check %.1f ms, repeated %.1f ms (best of 5)\n",
                folders * filesPerFolder, entries, qlonglong(first.size()), cold, warm);
    return 0;
}
