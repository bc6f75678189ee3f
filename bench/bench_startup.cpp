// Starts the program's windows as the program does (its Polish texts included) and quits as soon as the main
// window has been painted. Timed as a whole process (farm-bench), against bench_startup_minimal, which shows
// one empty window the same way. Also prints its own figure: milliseconds from the process start to the first
// paint. Run offscreen or under xvfb-run.
// bench_startup --compare [RUNS] times both as whole processes itself, from their start to their exit after
// the first paint, in turns, and prints the medians; with a display and openbox at hand, under openbox. A third
// process, the empty window with one line of text, tells how much of the difference is the fonts' loading.

#include "Timing.h"
#include "StartupClock.h"

#include "app/Startup.h"
#include "app/MainWindow.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <cstdlib>

namespace {

int compare(int runs)
{
    // A window manager, as on a desktop: it maps and decorates the windows.
    QProcess manager;
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariable("QT_QPA_PLATFORM") != "offscreen";
    if (display && !openbox.isEmpty()) {
        manager.setStandardErrorFile(QProcess::nullDevice());
        manager.start(openbox, {QStringLiteral("--sm-disable")});
        manager.waitForStarted();
        QThread::msleep(500);
    }
    const bool managed = manager.state() == QProcess::Running;
    QList<double> empty, text, pelmora;
    for (int run = 0; run < runs; ++run) {
        empty << millisOf([] { runToEnd(QStringLiteral(STARTUP_MINIMAL)); });
        text << millisOf([] { runToEnd(QStringLiteral(STARTUP_MINIMAL), {QStringLiteral("--text")}); });
        pelmora << millisOf([] { runToEnd(QCoreApplication::applicationFilePath()); });
    }
    std::printf("whole processes, start to exit after the first paint (%s, medians of %d): empty window %.1f ms, "
                "Pelmora %.1f ms, ratio %.2f; a window with one line of text %.1f ms, ratio to it %.2f\n",
                managed ? "under openbox" : display ? "on the display as it is" : "offscreen", runs, median(empty),
                median(pelmora), median(pelmora) / median(empty), median(text), median(pelmora) / median(text));
    if (managed) {
        manager.terminate();
        manager.waitForFinished();
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--compare") == 0) {
        QCoreApplication app(argc, argv);
        return compare(argc > 2 ? std::max(3, std::atoi(argv[2])) : 21);
    }
    QApplication app(argc, argv);
    setUpApplication(app); // the Polish translator and locale, as the program starts
    MessageBoxes messages;
    DesktopShell shell;
    QtFileDialogs dialogs;
    PelmoraWindows windows({messages, shell, dialogs, QApplication::applicationFilePath()});
    quitWhenPainted(windows.main.get(), "Pelmora main window");
    windows.showMain();
    return QApplication::exec();
}
