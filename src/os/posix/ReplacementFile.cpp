#include "os/ReplacementFile.h"
#include "os/posix/Posix.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Gives a file a name through make, which tries the name it is given; another is tried while
// the name is taken.
template <typename Make>
SystemError giveNameBy(const std::function<QByteArray()> &makeName, QByteArray *given, Make make)
{
    for (int tries = 0; tries < 100; ++tries) {
        const QByteArray name = makeName();
        if (make(name.constData())) {
            *given = name;
            return {};
        }
        if (errno != EEXIST)
            return systemError(errno);
    }
    return systemError(EEXIST);
}

} // namespace

ReplacementFile::~ReplacementFile()
{
    removeFile();
    if (m_folder != -1)
        ::close(int(m_folder));
}

void ReplacementFile::removeFile()
{
    if (m_file != -1)
        ::close(int(m_file));
    m_file = -1;
    if (!m_name.isEmpty())
        ::unlinkat(int(m_folder), m_name.constData(), 0);
    m_name.clear();
}

SystemError ReplacementFile::openFolder(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return systemError(errno);
    m_folder = fd;
    return {};
}

bool ReplacementFile::folderWithin(const FileId &top) const
{
    int at = ::dup(int(m_folder));
    while (at >= 0) {
        struct stat status;
        struct stat upStatus;
        if (::fstat(at, &status) != 0)
            break;
        const FileId id = statusFrom(status).id;
        if (id == top) {
            ::close(at);
            return true;
        }
        const int up = ::openat(at, "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
        ::close(at);
        at = up;
        if (at >= 0 && ::fstat(at, &upStatus) == 0 && statusFrom(upStatus).id == id)
            break; // the top of the file system
    }
    if (at >= 0)
        ::close(at);
    return false;
}

SystemError ReplacementFile::mayReplace(const QByteArray &name, std::optional<FileStatus> *existing) const
{
    struct stat status;
    const bool exists = ::fstatat(int(m_folder), name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0;
    *existing = exists ? std::optional<FileStatus>(statusFrom(status)) : std::nullopt;
    if (name.isEmpty() || name == "." || name == ".." || (exists && S_ISDIR(status.st_mode)))
        return systemError(EISDIR);
    if (exists && S_ISREG(status.st_mode) && ::faccessat(int(m_folder), name.constData(), W_OK, AT_EACCESS) != 0)
        return systemError(errno);
    return {};
}

SystemError ReplacementFile::create(quint32 permissions, Naming naming,
                                    const std::function<QByteArray()> &makeName)
{
    m_makeName = makeName;
    if (naming == Naming::UnnamedWherePossible) {
        m_file = ::openat(int(m_folder), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode_t(permissions));
        if (m_file != -1)
            return {};
    }
    return giveNameBy(m_makeName, &m_name, [&](const char *name) {
        const int fd = ::openat(int(m_folder), name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                mode_t(permissions));
        m_file = fd < 0 ? -1 : fd;
        return fd >= 0;
    });
}

void ReplacementFile::setPermissions(quint32 permissions)
{
    ::fchmod(int(m_file), mode_t(permissions));
}

SystemError ReplacementFile::write(const char *data, qint64 size)
{
    const int fd = int(m_file);
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return systemError(n < 0 ? errno : ENOSPC);
        data += n;
        size -= n;
        m_written += n;
    }
    constexpr qint64 writeBehind = 16 * 1024 * 1024;
    if (m_written - m_sent >= writeBehind) {
        ::sync_file_range(fd, m_sent, m_written - m_sent, SYNC_FILE_RANGE_WRITE);
        m_sent = m_written;
    }
    return {};
}

SystemError ReplacementFile::giveName()
{
    const int fd = int(m_file);
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    return giveNameBy(m_makeName, &m_name, [&](const char *name) {
        return ::linkat(fd, "", int(m_folder), name, AT_EMPTY_PATH) == 0
            || (errno != EEXIST
                && ::linkat(AT_FDCWD, self.constData(), int(m_folder), name, AT_SYMLINK_FOLLOW) == 0);
    });
}

SystemError ReplacementFile::commit(const QByteArray &name)
{
    if (::fsync(int(m_file)) != 0)
        return systemError(errno);
    // A link cannot replace a file, so the unnamed file gets a name and is renamed.
    if (m_name.isEmpty()) {
        if (const SystemError error = giveName())
            return error;
    }
    const int closed = ::close(int(m_file));
    m_file = -1;
    if (closed != 0 || ::renameat(int(m_folder), m_name.constData(), int(m_folder), name.constData()) != 0)
        return systemError(errno);
    m_name.clear();
    return {};
}
