#pragma once

#include "app/Startup.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QTemporaryDir>

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

// The settings and state of a run kept in a temporary folder, away from the user's own.
struct PrivateSettings
{
    PrivateSettings()
    {
        qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
        qputenv("XDG_STATE_HOME", (folder.path() + QStringLiteral("/state")).toLocal8Bit());
    }
    QTemporaryDir folder;
};

// The program's windows on the real services, with the silent message boxes.
struct SilentWindows
{
    NoMessages messages;
    DesktopShell shell;
    QtFileDialogs dialogs;
    PelmoraWindows windows{{messages, shell, dialogs, QApplication::applicationFilePath()}};
};
