#pragma once

#include <QString>

#include <functional>

class QUrl;
class QWidget;

// Opens files and addresses the way the desktop does (the shell's "open" verb). When the
// desktop has no program for a target, the failure report set here is told, so that the user
// hears of it; it may come after open() returned.
class Shell
{
public:
    enum class Show { Normal, Maximized };
    using FailureReport = std::function<void(QWidget *parent, const QString &target)>;

    virtual ~Shell() = default;
    void setFailureReport(FailureReport report) { m_report = std::move(report); }
    // target: a native file path or an address such as https://..., mailto:...
    virtual void open(QWidget *parent, const QString &target, const QString &verb, Show show) = 0;
    // Shows the file's folder in the file manager with the file selected.
    virtual void showInFolder(QWidget *parent, const QString &file) = 0;

protected:
    void reportFailure(QWidget *parent, const QString &target) const
    {
        if (m_report)
            m_report(parent, target);
    }

private:
    FailureReport m_report;
};

// Hands the target to the desktop (xdg-open on Linux); never through a command line.
class DesktopShell : public Shell
{
public:
    void open(QWidget *parent, const QString &target, const QString &verb, Show show) override;
    // Asks the desktop's file manager over D-Bus; one that does not answer gets the folder opened.
    void showInFolder(QWidget *parent, const QString &file) override;

private:
    // Runs the desktop's opener for url; its failure is reported with shown as the target.
    void launch(QWidget *parent, const QUrl &url, const QString &shown);
};
