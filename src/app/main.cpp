#include "app/Startup.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Shell.h"

#include "Version.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pelmora"));
    QApplication::setApplicationVersion(QStringLiteral(PELMORA_VERSION));

    MessageBoxes messages;
    DesktopShell shell;
    QtFileDialogs dialogs;
    PelmoraWindows windows({messages, shell, dialogs, QApplication::applicationFilePath()});
    windows.showMain();
    return QApplication::exec();
}
