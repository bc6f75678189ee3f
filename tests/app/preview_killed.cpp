// A copy of the program that opens a folder's menu and starts its preview, then stays at
// the preview's waiting message until it is killed: the interrupted preview of the tests.

#include "Controls.h"
#include "Fakes.h"

#include "app/Startup.h"
#include "app/MainWindow.h"
#include "widgets/FolderEdit.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    FakeMessages messages;
    RecordingShell shell;
    ScriptedFileDialogs dialogs;
    messages.answers = {Messages::Answer::Yes, Messages::Answer::Yes}; // open the file; preview it
    messages.whileShown = [](const FakeMessages::Shown &shown) {
        if (!shown.text.startsWith(QStringLiteral("POCZEKAJ")))
            return;
        std::puts("czeka");
        std::fflush(stdout);
        for (;;)
            pause();
    };
    PelmoraWindows windows({messages, shell, dialogs, QApplication::applicationFilePath()});
    windows.showMain();
    named<FolderEdit>(*windows.main, "de_Folder")->setFolder(QString::fromLocal8Bit(argv[1]));
    QTest::mouseClick(named<QPushButton>(*windows.main, "sb_Podglad"), Qt::LeftButton);
    return 1; // never reached: the preview waits for ever
}
