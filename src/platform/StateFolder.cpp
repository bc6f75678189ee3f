#include "platform/StateFolder.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

QString stateFolderPath()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative XDG_STATE_HOME does not count, as the XDG rules say.
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/pelmora/");
}

QString stateFolder()
{
    const QString folder = stateFolderPath();
    const QByteArray name = QFile::encodeName(folder.chopped(1));
    struct stat status;
    if (::lstat(name.constData(), &status) != 0) {
        if (!QDir().mkpath(QFileInfo(folder.chopped(1)).path()) || ::mkdir(name.constData(), 0700) != 0
            || ::lstat(name.constData(), &status) != 0)
            return QString();
    }
    const bool own = S_ISDIR(status.st_mode) && status.st_uid == ::getuid() && (status.st_mode & 0777) == 0700;
    return own ? folder : QString();
}
