// Times a large menu in the main window against the same work without it: opening an
// autorun.inf as the Otwórz command does once the file is chosen, against `pelmora-cli read` of
// the same file as a process, and the window's Zapisz against the core writer on the same
// document. Prints the best of three of each, a line per size, with the ratios of the processor
// times (the goal: at most 1.5 each).
// Usage: bench_document [SIZES...]   (default 10000 100000; run offscreen)

#include "Controls.h"
#include "NoMessages.h"

#include "app/MainWindow.h"
#include "core/AutorunWriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>

#include <sys/resource.h>

namespace {

// Milliseconds of processor time taken by this process, or by its children that have ended.
double cpuMillis(int who)
{
    rusage usage{};
    ::getrusage(who, &usage);
    const auto millis = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return millis(usage.ru_utime) + millis(usage.ru_stime);
}

// The best of three runs: the time on the clock and the processor time, each the least seen.
// On a busy machine the processor time is the steadier figure; the ratios are of it.
struct Time
{
    double wall = 1e30;
    double cpu = 1e30;
};

template <typename F>
Time best(int who, F &&work)
{
    Time time;
    for (int i = 0; i < 3; ++i) {
        const double cpu = cpuMillis(who);
        QElapsedTimer timer;
        timer.start();
        work();
        time.wall = std::min(time.wall, double(timer.nsecsElapsed()) / 1e6);
        time.cpu = std::min(time.cpu, cpuMillis(who) - cpu);
    }
    return time;
}

// A menu of count entries in folder, as the program writes it.
bool writeMenu(const QString &folder, int count)
{
    QFile program(folder + QStringLiteral("setup.exe"));
    if (!program.open(QIODevice::WriteOnly))
        return false;
    MenuDocument doc;
    doc.dataFolder = folder;
    doc.autoStartProgram = QStringLiteral("setup.exe");
    doc.discLabel = QStringLiteral("PŁYTA");
    for (int i = 0; i < count; ++i)
        doc.items.append({QStringLiteral("Zainstaluj program numer %1").arg(i),
                          QStringLiteral("narzędzia\\program%1.exe").arg(i)});
    return writeAutorunFile(doc);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    PrivateSettings settings;
    SilentWindows silent;
    MainWindow &form = *silent.windows.main;
    form.show();

    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << std::atoi(argv[i]);
    if (sizes.isEmpty())
        sizes = {10000, 100000};
    for (int count : sizes) {
        QTemporaryDir data;
        const QString folder = data.path() + QLatin1Char('/');
        const QString path = autorunPath(folder);
        if (!writeMenu(folder, count)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        // What the user waits for: the file read into the list and the list laid out.
        const Time open = best(RUSAGE_SELF, [&] {
            form.openMenuFile(path);
            QApplication::processEvents();
        });
        if (named<QTreeWidget>(form, "lv_Lista")->topLevelItemCount() != count) {
            std::fprintf(stderr, "the window shows %d entries of %d\n",
                         named<QTreeWidget>(form, "lv_Lista")->topLevelItemCount(), count);
            return 1;
        }
        qsizetype printed = 0;
        const Time cli = best(RUSAGE_CHILDREN, [&] {
            QProcess process;
            process.start(QStringLiteral(PELMORA_CLI), {QStringLiteral("read"), folder});
            process.waitForFinished(-1);
            printed = process.readAllStandardOutput().size();
        });
        if (printed == 0) {
            std::fprintf(stderr, "pelmora-cli read printed nothing\n");
            return 1;
        }
        const Time save = best(RUSAGE_SELF, [&] {
            form.save();
            QApplication::processEvents();
        });
        const MenuDocument doc = form.document();
        const Time write = best(RUSAGE_SELF, [&] { writeAutorunFile(doc); });
        std::printf("%7d entries  cpu ms (wall ms): open %6.0f (%6.0f)  cli read %6.0f (%6.0f)  ratio %4.2f  |  "
                    "save %6.0f (%6.0f)  core write %6.0f (%6.0f)  ratio %4.2f\n",
                    count, open.cpu, open.wall, cli.cpu, cli.wall, open.cpu / cli.cpu, save.cpu, save.wall,
                    write.cpu, write.wall, save.cpu / write.cpu);
        std::fflush(stdout);
    }
    return 0;
}
