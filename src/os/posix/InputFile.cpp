#include "os/InputFile.h"
#include "os/posix/Posix.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

InputFile::~InputFile()
{
    close();
}

SystemError InputFile::open(const QByteArray &path, Links links)
{
    close();
    // Without O_NONBLOCK, opening a FIFO waits for a writer, for ever if none comes.
    const int noLink = links == Links::NoFollow ? O_NOFOLLOW : 0;
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | noLink);
    if (fd < 0)
        return systemError(errno);
    m_handle = fd;
    return {};
}

std::optional<FileStatus> InputFile::status() const
{
    struct stat status;
    if (m_handle == -1 || ::fstat(int(m_handle), &status) != 0)
        return std::nullopt;
    return statusFrom(status);
}

qint64 InputFile::read(char *data, qint64 size, SystemError *error)
{
    ssize_t n;
    do
        n = ::read(int(m_handle), data, size_t(size));
    while (n < 0 && errno == EINTR);
    if (n < 0 && error)
        *error = systemError(errno);
    return qint64(n);
}

qint64 InputFile::readAt(qint64 offset, char *data, qint64 size, SystemError *error)
{
    ssize_t n;
    do
        n = ::pread(int(m_handle), data, size_t(size), off_t(offset));
    while (n < 0 && errno == EINTR);
    if (n < 0 && error)
        *error = systemError(errno);
    return qint64(n);
}

void InputFile::close()
{
    if (m_handle != -1)
        ::close(int(m_handle));
    m_handle = -1;
}

bool InputFile::handTo(QFile &file)
{
    const int fd = int(m_handle);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close();
        return false;
    }
    m_handle = -1;
    return true;
}
