#include "os/FolderReader.h"
#include "os/posix/Posix.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

FileKind kindOf(unsigned char type)
{
    switch (type) {
    case DT_REG: return FileKind::File;
    case DT_DIR: return FileKind::Folder;
    case DT_LNK: return FileKind::Link;
    case DT_UNKNOWN: return FileKind::Unknown;
    }
    return FileKind::Other;
}

} // namespace

FolderReader::~FolderReader()
{
    if (m_folder)
        ::closedir(static_cast<DIR *>(m_folder));
}

SystemError FolderReader::open(const QByteArray &path, Links links)
{
    if (m_folder)
        ::closedir(static_cast<DIR *>(m_folder));
    m_folder = nullptr;
    m_error = {};
    const int noLink = links == Links::NoFollow ? O_NOFOLLOW : 0;
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | noLink);
    if (fd < 0)
        return systemError(errno);
    m_folder = ::fdopendir(fd);
    if (!m_folder) {
        const int code = errno;
        ::close(fd);
        return systemError(code);
    }
    return {};
}

std::optional<FileStatus> FolderReader::status() const
{
    struct stat status;
    if (!m_folder || ::fstat(::dirfd(static_cast<DIR *>(m_folder)), &status) != 0)
        return std::nullopt;
    return statusFrom(status);
}

bool FolderReader::canEnter() const
{
    return m_folder && ::faccessat(::dirfd(static_cast<DIR *>(m_folder)), ".", X_OK, 0) == 0;
}

bool FolderReader::next(FolderEntry *entry)
{
    if (!m_folder)
        return false;
    for (;;) {
        errno = 0;
        const dirent *found = ::readdir(static_cast<DIR *>(m_folder));
        if (!found) {
            if (errno != 0)
                m_error = systemError(errno);
            return false;
        }
        const char *name = found->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        // d_name ends with a zero byte, which statusOf relies on.
        entry->name = QByteArrayView(name);
        entry->kind = kindOf(found->d_type);
        return true;
    }
}

std::optional<FileStatus> FolderReader::statusOf(const FolderEntry &entry, Links links) const
{
    struct stat status;
    const int flags = links == Links::NoFollow ? AT_SYMLINK_NOFOLLOW : 0;
    if (!m_folder || ::fstatat(::dirfd(static_cast<DIR *>(m_folder)), entry.name.data(), &status, flags) != 0)
        return std::nullopt;
    return statusFrom(status);
}
