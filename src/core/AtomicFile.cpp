#include "core/AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString marker = QStringLiteral(".pelmora-");

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// Creates a new temporary file beside target, never opening one that exists.
int createTemporary(const QString &target, FileAccess access, QByteArray *name)
{
    const QFileInfo info(target);
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString suffix;
        for (int i = 0; i < 6; ++i)
            suffix += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))]);
        *name = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() + marker + suffix);
        const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              access == FileAccess::OwnerOnly ? 0600 : 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error, FileAccess access)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    QString target = path;
    if (access == FileAccess::AsBefore && QFileInfo(path).isSymLink())
        target = QFileInfo(path).symLinkTarget();
    QByteArray temporary;
    const int fd = createTemporary(target, access, &temporary);
    if (fd < 0)
        return fail(systemError(errno));
    struct stat before;
    if (access == FileAccess::AsBefore && ::stat(QFile::encodeName(target).constData(), &before) == 0
        && S_ISREG(before.st_mode))
        ::fchmod(fd, before.st_mode & 07777);
    qint64 written = 0;
    int code = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            code = n < 0 ? errno : ENOSPC;
            break;
        }
        written += n;
    }
    if (code == 0 && ::fsync(fd) != 0)
        code = errno;
    if (::close(fd) != 0 && code == 0)
        code = errno;
    if (code == 0 && ::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0)
        code = errno;
    if (code != 0) {
        ::unlink(temporary.constData());
        return fail(systemError(code));
    }
    return true;
}

bool isTemporaryFileName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.pelmora-[A-Za-z0-9]{6}$"));
    return pattern.match(name).hasMatch();
}

void removeStaleTemporaryFiles(const QString &folder)
{
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QDir dir(folder);
    for (const QFileInfo &file : dir.entryInfoList({QStringLiteral(".*") + marker + QStringLiteral("*")},
                                                   QDir::Files | QDir::Hidden | QDir::System)) {
        if (isTemporaryFileName(file.fileName()) && !file.isSymLink() && file.lastModified().toUTC() < stale)
            QFile::remove(file.absoluteFilePath());
    }
}
