#include "core/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

FileReadError openRegularFile(const QString &path, QFile &file, FileOwner owner)
{
#ifdef Q_OS_UNIX
    // Without O_NONBLOCK, opening a FIFO waits for a writer, for ever if none comes.
    const int noLink = owner == FileOwner::UserOnly ? O_NOFOLLOW : 0;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | noLink);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return FileReadError::Missing;
        // ENXIO: a socket; ELOOP: a link where none may be.
        return errno == ENXIO || errno == ELOOP ? FileReadError::NotRegularFile : FileReadError::Unreadable;
    }
    struct stat status;
    const bool known = ::fstat(fd, &status) == 0;
    if (!known || !S_ISREG(status.st_mode) || (owner == FileOwner::UserOnly && status.st_uid != ::getuid())) {
        ::close(fd);
        return known ? FileReadError::NotRegularFile : FileReadError::Unreadable;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileReadError::Unreadable;
    }
    return FileReadError::None;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return FileReadError::Missing;
    if (!info.isFile())
        return FileReadError::NotRegularFile;
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly) ? FileReadError::None : FileReadError::Unreadable;
#endif
}

FileReadError readRegularFile(const QString &path, qint64 maxSize, QByteArray *bytes)
{
    bytes->clear();
    QFile file;
    if (const FileReadError error = openRegularFile(path, file); error != FileReadError::None)
        return error;
    if (file.size() > maxSize)
        return FileReadError::TooLarge;
    // The file may grow while it is read: one byte past the limit tells.
    QByteArray data;
    data.reserve(file.size());
    char chunk[64 * 1024];
    while (data.size() <= maxSize) {
        const qint64 n = file.read(chunk, qMin(qint64(sizeof chunk), maxSize + 1 - data.size()));
        if (n < 0)
            return FileReadError::Unreadable;
        if (n == 0)
            break;
        data.append(chunk, n);
    }
    if (data.size() > maxSize)
        return FileReadError::TooLarge;
    *bytes = data;
    return FileReadError::None;
}
