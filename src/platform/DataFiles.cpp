#include "platform/DataFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString dataFile(const QString &programFile, const QString &relative)
{
    const QDir programDir = QFileInfo(programFile).absoluteDir();
    QStringList candidates = {programDir.filePath(relative),
                              QDir::cleanPath(programDir.filePath(QStringLiteral("../share/pelmora/") + relative))};
    // A program started through a symbolic link or moved out of its prefix still finds the system copy.
    for (const QString &dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidates << QDir(dir).filePath(QStringLiteral("pelmora/") + relative);
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return candidates.first();
}
