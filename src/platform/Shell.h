#pragma once

#include <QString>

class QWidget;

// Opens files and addresses the way the desktop does (the shell's "open" verb). Failures are
// never reported: the shell shows its own.
class Shell
{
public:
    enum class Show { Normal, Maximized };

    virtual ~Shell() = default;
    // target: a native file path or an address such as https://..., mailto:...
    virtual void open(QWidget *parent, const QString &target, const QString &verb, Show show) = 0;
    // Shows the file's folder in the file manager with the file selected.
    virtual void showInFolder(QWidget *parent, const QString &file) = 0;
};

// Hands the target to the desktop (xdg-open on Linux); never through a command line.
class DesktopShell : public Shell
{
public:
    void open(QWidget *parent, const QString &target, const QString &verb, Show show) override;
    // Asks the desktop's file manager over D-Bus; one that does not answer gets the folder opened.
    void showInFolder(QWidget *parent, const QString &file) override;
};
