#include "app/Startup.h"

#include "app/TForm1.h"
#include "dialogs/TF_About.h"
#include "dialogs/Tf_Porady.h"
#include "widgets/Placement.h"

#include "Version.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool setUpApplication(QCoreApplication &app)
{
    // No display name: Qt would append it to the caption of every message box.
    QCoreApplication::setApplicationName(QStringLiteral("Pelmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELMORA_VERSION));
    auto *qtTexts = new QTranslator(&app);
    if (!qtTexts->load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(qtTexts);
}

PelmoraWindows::PelmoraWindows(const AppServices &services)
    : main(std::make_unique<TForm1>(services))
    , tips(std::make_unique<Tf_Porady>(services))
    , about(std::make_unique<TF_About>(services, main.get()))
{
    main->setSideWindows(tips.get(), about.get());
}

PelmoraWindows::~PelmoraWindows() = default;

void PelmoraWindows::showMain()
{
    centreOnScreen(main.get());
    main->show();
    main->restoreAfterInterruption();
}
