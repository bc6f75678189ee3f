#pragma once

#include "platform/AppServices.h"

#include <memory>

class QCoreApplication;
class Shell;
class MainWindow;
class TipsWindow;
class AboutWindow;

// Sets up the application as the program runs it: its name, and Qt's own Polish texts for
// the standard dialogs whatever the user's locale, since the whole interface is Polish.
// Returns whether the translations were found.
bool setUpApplication(QCoreApplication &app);

// The program's three windows: the main window, and the tips and about windows, made hidden
// when first asked for (the main window shows sooner without them).
struct PelmoraWindows
{
    std::unique_ptr<MainWindow> main;

    explicit PelmoraWindows(const AppServices &services);
    ~PelmoraWindows();

    TipsWindow *tips();
    AboutWindow *about();

    // Shows the main window centred on its screen; once the event loop runs, puts back what an
    // interrupted preview left behind, then takes the folder or opens the menu file of path,
    // when one is given (the command line).
    void showMain(const QString &path = QString());

private:
    AppServices m_services;
    Shell *m_shell; // told how to report what the desktop cannot open, while the windows live
    std::unique_ptr<TipsWindow> m_tips;
    std::unique_ptr<AboutWindow> m_about;
};
