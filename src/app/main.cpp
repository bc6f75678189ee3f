#include "app/Startup.h"
#include "app/Texts.h"
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
    arguments.setApplicationDescription(Texts::commandLineDescription());
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(Texts::commandLineArgument(), Texts::commandLineArgumentHelp(),
                                    Texts::commandLineSyntax());
    arguments.process(app); // --help and --version print and end the program here

    MessageBoxes messages;
    DesktopShell shell;
    QtFileDialogs dialogs;
    PelmoraWindows windows({messages, shell, dialogs, QApplication::applicationFilePath()});
    windows.showMain(arguments.positionalArguments().value(0));
    return QApplication::exec();
}
