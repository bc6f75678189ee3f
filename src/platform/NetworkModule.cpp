#include "platform/NetworkModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace {

// Where the module may be: beside the program (a program folder holding everything); where the
// installation puts it, from the program's folder; in the build tree, for the programs built
// there (only for them: an installed program never looks into a folder named at build time).
QStringList moduleFolders()
{
    const QString program = QCoreApplication::applicationDirPath();
    QStringList folders{program, QDir::cleanPath(program + QStringLiteral("/" PELMORA_MODULES_FROM_PROGRAM))};
    const QString build = QStringLiteral(PELMORA_BUILD_DIR);
    if (program.startsWith(build + QLatin1Char('/')))
        folders << QStringLiteral(PELMORA_MODULES_BUILD_DIR);
    return folders;
}

const NetworkFunctions *loadNetworkModule()
{
    for (const QString &folder : moduleFolders()) {
        QLibrary module(folder + QStringLiteral("/pelmora-network"));
        if (!module.load())
            continue;
        if (const auto entry = reinterpret_cast<NetworkEntry>(module.resolve(PELMORA_NETWORK_ENTRY)))
            return entry(); // the module stays loaded for the program's life
        module.unload();
    }
    return nullptr;
}

} // namespace

const NetworkFunctions *networkModule()
{
    static const NetworkFunctions *const functions = loadNetworkModule();
    return functions;
}
