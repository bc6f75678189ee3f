#pragma once

#include <QString>

class FileDialogs;
class Messages;
class Shell;

// What the windows need from outside: message boxes, the shell, file choosers, and where the program file
// lives (the help file and the tips file are found from there).
struct AppServices
{
    Messages &messages;
    Shell &shell;
    FileDialogs &dialogs;
    QString programFile;

    QString helpFile() const;
    QString tipsFile() const;
};
