#pragma once

#include "Fakes.h"
#include "app/Startup.h"

#include <QTemporaryDir>

#include <memory>

// The program's windows on fakes, with the settings store in a temporary XDG folder and the
// program file in a temporary program folder (which may hold the help file).
class WindowFixture
{
public:
    WindowFixture();

    // Where the program file "lives"; it exists unless a test removes it.
    QString programFile() const;
    void setHelpFile(bool present);
    QString settingsFile() const;

    // Creates the three windows afresh, as a new start of the program does.
    PelmoraWindows &start();
    void stop() { m_windows.reset(); }
    PelmoraWindows &windows() { return *m_windows; }

    FakeMessages messages;
    RecordingShell shell;
    ScriptedFileDialogs dialogs;

private:
    QTemporaryDir m_config;
    QTemporaryDir m_programFolder;
    std::unique_ptr<PelmoraWindows> m_windows;
};
