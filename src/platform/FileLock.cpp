#include "platform/FileLock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FileLock::FileLock(const QString &path)
    : m_path(path)
{
}

FileLock::~FileLock()
{
    unlock();
}

bool FileLock::tryLock(int waitMs)
{
    if (m_fd >= 0)
        return true;
    const int fd = ::open(QFile::encodeName(m_path).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::getuid()) {
        ::close(fd);
        return false;
    }
    QElapsedTimer waited;
    waited.start();
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (waited.elapsed() >= waitMs) {
            ::close(fd);
            return false;
        }
        QThread::msleep(10);
    }
    m_fd = fd;
    return true;
}

void FileLock::unlock(bool removeFile)
{
    if (m_fd < 0)
        return;
    if (removeFile)
        QFile::remove(m_path);
    ::close(m_fd);
    m_fd = -1;
}
