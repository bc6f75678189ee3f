#include "os/FileStatus.h"
#include "os/posix/Posix.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

FileTime timeOf(const timespec &time)
{
    return {qint64(time.tv_sec), qint32(time.tv_nsec)};
}

FileKind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FileKind::File;
    if (S_ISDIR(mode))
        return FileKind::Folder;
    return S_ISLNK(mode) ? FileKind::Link : FileKind::Other;
}

} // namespace

SystemError systemError(int code)
{
    using Cause = SystemError::Cause;
    Cause cause = Cause::Other;
    switch (code) {
    case ENOENT: cause = Cause::Missing; break;
    case ENOTDIR: cause = Cause::NotFolder; break;
    case EISDIR: cause = Cause::IsFolder; break;
    case ELOOP: cause = Cause::Link; break;
    case ENXIO: cause = Cause::Special; break;
    case EEXIST: cause = Cause::Exists; break;
    case ENOSPC:
    case EDQUOT: cause = Cause::NoRoom; break;
    }
    return {cause, QString::fromLocal8Bit(std::strerror(code))};
}

FileStatus statusFrom(const struct stat &status)
{
    static const uid_t user = ::getuid();
    FileStatus s;
    s.kind = kindOf(status.st_mode);
    s.id = {quint64(status.st_dev), quint64(status.st_ino)};
    s.size = qint64(status.st_size);
    s.modified = timeOf(status.st_mtim);
    s.accessed = timeOf(status.st_atim);
    s.changed = timeOf(status.st_ctim);
    s.permissions = quint32(status.st_mode & 07777);
    s.ownedByUser = status.st_uid == user;
    return s;
}

std::optional<FileStatus> fileStatus(const QByteArray &path, Links links, SystemError *error)
{
    struct stat status;
    const int result =
        links == Links::Follow ? ::stat(path.constData(), &status) : ::lstat(path.constData(), &status);
    if (result != 0) {
        if (error)
            *error = systemError(errno);
        return std::nullopt;
    }
    return statusFrom(status);
}
