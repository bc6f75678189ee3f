#pragma once

#include "app/Startup.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Shell.h"

#include <QApplication>

// The benchmarks answer every question with No (an existing autorun.inf is not opened) and
// every notice with OK, so that no modal box waits for a user.
class NoMessages : public Messages
{
public:
    Answer show(QWidget *, const QString &, const QString &, Buttons buttons, Icon) override
    {
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
};

// The program's windows on the real services, with the silent message boxes.
struct SilentWindows
{
    NoMessages messages;
    DesktopShell shell;
    QtFileDialogs dialogs;
    PelmoraWindows windows{{messages, shell, dialogs, QApplication::applicationFilePath()}};
};
