#include "os/NativePath.h"

#include <QFile>

// Names are bytes in the locale's encoding. Qt's own conversion is the one QFile, QDir and
// QFileInfo apply, so a path converted here names the same file as the rest of the program
// opens by that path.

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

QString pathFromNative(const QByteArray &native)
{
    return QFile::decodeName(native);
}
