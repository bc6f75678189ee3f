// Checks a menu of 10,000 entries against a folder of 100,000 files and prints the times of
// the first check (folders listed afresh) and of a repeated one. The window runs the menu's
// check on the GUI thread at every change, so it has to stay well under a second; the image's
// (laid out, not written) only when the check is asked for, timed beside `pelmora-cli iso`.
// Then times `pelmora-cli check` of the folder's autorun.inf (the menu and the image) against
// `pelmora-cli read` of the same file, as processes, for menus of 10,000 and 100,000 entries.
// Usage: bench_check

#include "Timing.h"
#include "core/AutorunWriter.h"
#include "core/DiscCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int folders = 100;
constexpr int filesPerFolder = 1000;
constexpr int entries = 10000;

// The menu the benchmark checks: entries in other letter case (each file looked up through
// the folder's index), with arguments, a blank in the folder name, some quoted, some missing,
// one caption in ten shared with an earlier entry.
MenuDocument menuOf(const QString &root, int count)
{
    MenuDocument doc;
    doc.dataFolder = root;
    doc.autoStartProgram = QStringLiteral("folder 0\\program0.exe /auto");
    doc.discLabel = QStringLiteral("PŁYTA");
    for (int i = 0; i < count; ++i) {
        const QString program =
            QStringLiteral("FOLDER %1\\PROGRAM%2.EXE").arg(i % folders).arg(i * 7 % (filesPerFolder + 10));
        const QString command = i % 3 == 0 ? QLatin1Char('"') + program + QStringLiteral("\" /s")
                                           : program + QStringLiteral(" /tryb cichy");
        doc.items.append({QStringLiteral("Pozycja %1").arg(i % (count - count / 10)), command});
    }
    return doc;
}

// The median of runs of `pelmora-cli ARGUMENTS`, its output thrown away.
double cliMillis(const QStringList &arguments, int runs)
{
    return medianMillis(runs, [&] { runToEnd(QStringLiteral(PELMORA_CLI), arguments); });
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

    const MenuDocument doc = menuOf(root, entries);

    QElapsedTimer timer;
    timer.start();
    const QList<DiscFinding> first = checkDisc(doc, root);
    const double cold = millis(timer);
    QList<double> warm, image;
    for (int run = 0; run < 5; ++run) {
        timer.restart();
        checkDisc(doc, root);
        warm << millis(timer);
        timer.restart();
        checkDiscImage(root, QString());
        image << millis(timer);
    }
    std::printf("%d files, %d entries: %lld findings; menu: first check %.1f ms, repeated %.1f ms; "
                "image laid out, not written: %.1f ms (medians of 5)\n",
                folders * filesPerFolder, entries, qlonglong(first.size()), cold, median(warm), median(image));
    std::fflush(stdout);

    // The check lays the image out as `iso` does before writing it: the whole image, beside it.
    QTemporaryDir elsewhere; // the image is never written inside the data folder
    const QString iso = elsewhere.filePath("obraz.iso");
    std::printf("pelmora-cli iso of the folder (laid out and written): %.1f ms\n",
                cliMillis({QStringLiteral("iso"), root, iso}, 5));
    QFile::remove(iso);
    for (const int count : {10000, 100000}) {
        if (!writeAutorunFile(menuOf(root, count))) {
            std::fprintf(stderr, "cannot write the menu of %d entries\n", count);
            return 1;
        }
        const int runs = count <= 10000 ? 9 : 5;
        const double read = cliMillis({QStringLiteral("read"), root}, runs);
        const double check = cliMillis({QStringLiteral("check"), root}, runs);
        std::printf("pelmora-cli, %6d entries: read %7.1f ms  check %7.1f ms  check/read %5.2f (medians of %d)\n",
                    count, read, check, check / read, runs);
        std::fflush(stdout);
    }
    return 0;
}
