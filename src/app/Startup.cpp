#include "app/Startup.h"

#include "app/MainWindow.h"
#include "app/Texts.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "dialogs/AboutWindow.h"
#include "dialogs/TipsWindow.h"
#include "widgets/Placement.h"

#include "Version.h"

#include <QCoreApplication>
#include <QLocale>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

bool setUpApplication(QCoreApplication &app)
{
    // No display name: Qt would append it to the caption of every message box.
    QCoreApplication::setApplicationName(QStringLiteral("Pelmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELMORA_VERSION));
    // The whole interface is Polish, so are the dates and numbers of Qt's own windows.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    auto *qtTexts = new QTranslator(&app);
    if (!qtTexts->load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(qtTexts);
}

PelmoraWindows::PelmoraWindows(const AppServices &services)
    : main(std::make_unique<MainWindow>(services))
    , m_services(services)
{
    main->setSideWindows([this] { return tips(); }, [this] { return about(); });
    Messages &messages = services.messages;
    m_shell = &services.shell;
    m_shell->setFailureReport([&messages](QWidget *parent, const QString &target) {
        messages.show(parent,
                      Texts::cannotOpenTarget() + target + Texts::noProgramForTarget(),
                      Texts::captionWarning(), Messages::Buttons::Ok, Messages::Icon::Warning);
    });
}

PelmoraWindows::~PelmoraWindows()
{
    m_shell->setFailureReport(nullptr);
}

TipsWindow *PelmoraWindows::tips()
{
    if (!m_tips)
        m_tips = std::make_unique<TipsWindow>(m_services);
    return m_tips.get();
}

AboutWindow *PelmoraWindows::about()
{
    if (!m_about)
        m_about = std::make_unique<AboutWindow>(m_services, main.get());
    return m_about.get();
}

// What an interrupted preview left behind is put back as soon as the event loop runs, so that
// the window is drawn first and the report stands over it.
void PelmoraWindows::showMain(const QString &path)
{
    centreOnScreen(main.get());
    main->show();
    QTimer::singleShot(0, main.get(), [window = main.get(), path] {
        window->restoreAfterInterruption();
        if (!path.isEmpty())
            window->openPath(path);
    });
}
