// Starts the program's windows as the program does (its Polish texts included) and quits as soon as the main
// window has been painted. Timed as a whole process (farm-bench), against bench_startup_minimal, which shows
// one empty window the same way. Also prints its own figure: milliseconds from the process start to the first
// paint. Run offscreen or under xvfb-run.

#include "StartupClock.h"

#include "app/Startup.h"
#include "app/MainWindow.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Shell.h"

#include <QApplication>

int main(int argc, char *argv[])
{
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
