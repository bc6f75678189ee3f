#include "core/AtomicFile.h"

#include <QSaveFile>

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    // Unbuffered, so that a short write (a full disc) shows in write()'s count: a buffered
    // flush would drop it silently and commit would rename a truncated file into place.
    QSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && file.write(bytes) == bytes.size() && file.commit();
    if (!ok && error)
        *error = file.error() == QFileDevice::NoError ? QStringLiteral("could not write the whole file")
                                                      : file.errorString();
    return ok;
}
