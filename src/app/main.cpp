#include "app/Startup.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Shell.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);

    MessageBoxes messages;
    DesktopShell shell;
    QtFileDialogs dialogs;
    PelmoraWindows windows({messages, shell, dialogs, QApplication::applicationFilePath()});
    windows.showMain();
    return QApplication::exec();
}
