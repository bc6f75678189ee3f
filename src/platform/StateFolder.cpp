#include "platform/StateFolder.h"

#include <QDir>
#include <QFile>

QString stateFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative XDG_STATE_HOME does not count, as the XDG rules say.
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    const QString folder = base + QStringLiteral("/pelmora/");
    if (!QFileInfo::exists(folder) && QDir().mkpath(folder))
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}
