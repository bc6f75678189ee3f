#include "app/Startup.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    QCommandLineParser arguments;
    arguments.setApplicationDescription(
        QStringLiteral("Pelmora: menu startowe płyty CD lub DVD (autorun.inf), ikona napędu i program "
                       "uruchamiany po włożeniu płyty."));
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(QStringLiteral("FOLDER|autorun.inf"),
                                    QStringLiteral("Folder z danymi płyty albo plik autorun.inf do otwarcia."),
                                    QStringLiteral("[FOLDER|autorun.inf]"));
    arguments.process(app); // --help and --version print and end the program here

    MessageBoxes messages;
    DesktopShell shell;
    QtFileDialogs dialogs;
    PelmoraWindows windows({messages, shell, dialogs, QApplication::applicationFilePath()});
    windows.showMain(arguments.positionalArguments().value(0));
    return QApplication::exec();
}
