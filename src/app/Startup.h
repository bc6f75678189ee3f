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

// The program's three windows, created in this order: the main window, then the tips and
// the about window, both hidden.
struct PelmoraWindows
{
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<TipsWindow> tips;
    std::unique_ptr<AboutWindow> about;

    explicit PelmoraWindows(const AppServices &services);
    ~PelmoraWindows();

    // Shows the main window centred on its screen.
    void showMain();

private:
    Shell *m_shell; // told how to report what the desktop cannot open, while the windows live
};
