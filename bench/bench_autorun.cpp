// Writes and reads an autorun.inf of many items and prints the times, against a plain read of
// the same file split into lines, from 1,000 to 400,000 items. Every read and every baseline
// runs in a fresh process of its own, so neither finds the memory the other left behind. Then
// `pelmora-cli read` of the file as a whole process (its JSON printed), against a process of
// this program reading and splitting it (medians).
// Usage: bench_autorun [LARGEST]

#include "Timing.h"
#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// One timed step in this process: "read" or "split" of the file in folder.
int measureOnce(const QString &what, const QString &folder)
{
    QElapsedTimer timer;
    timer.start();
    qsizetype count = 0;
    if (what == QLatin1String("read")) {
        count = readAutorun(autorunPath(folder)).items.size();
    } else {
        QFile file(autorunPath(folder));
        if (file.open(QIODevice::ReadOnly))
            count = file.readAll().split('\n').size();
    }
    std::printf("%.4f %lld\n", millis(timer), qlonglong(count));
    return 0;
}

// The best of runs of one step, each in a new process.
double best(const QString &what, const QString &folder, int runs)
{
    double fastest = 1e30;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--once"), what, folder});
        child.waitForFinished(-1);
        fastest = std::min(fastest, child.readAllStandardOutput().split(' ').value(0).toDouble());
    }
    return fastest;
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

    const int runs = count <= 10000 ? 15 : count <= 100000 ? 5 : 3;
    double write = 1e30;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (!writeAutorunFile(doc))
            std::fprintf(stderr, "write failed\n");
        write = std::min(write, millis(timer));
    }
    const double split = best(QStringLiteral("split"), doc.dataFolder, runs);
    const double read = best(QStringLiteral("read"), doc.dataFolder, runs);
    // As whole processes: pelmora-cli read printing its JSON, and a process of this program
    // that reads and splits the file.
    const double cli = medianMillis(runs, [&] { runToEnd(QStringLiteral(PELMORA_CLI), {QStringLiteral("read"), doc.dataFolder}); });
    const double splitProcess = medianMillis(runs, [&] {
        runToEnd(QCoreApplication::applicationFilePath(), {QStringLiteral("--once"), QStringLiteral("split"), doc.dataFolder});
    });
    std::printf("%8d items  %9lld bytes  write %8.2f ms  read %8.2f ms  read+split lines %7.2f ms  "
                "ratio %5.2f  read per item %6.3f us  |  processes: cli read %8.2f ms  read+split %7.2f ms  "
                "ratio %5.2f\n",
                count, qlonglong(QFile(autorunPath(doc.dataFolder)).size()), write, read, split, read / split,
                read * 1000 / count, cli, splitProcess, cli / splitProcess);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--once"))
        return measureOnce(args[2], args[3]);
    const int largest = args.size() > 1 ? args[1].toInt() : 400000;
    // From small to large, to show how the cost grows.
    for (int n : {1000, 3000, 10000, 30000, 100000, 400000})
        if (n <= largest)
            measure(n);
    return 0;
}
