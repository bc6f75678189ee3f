#include "os/LinkTarget.h"
#include "os/posix/Posix.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <unistd.h>

QByteArray realPath(const QByteArray &path)
{
    char *real = ::realpath(path.constData(), nullptr);
    const QByteArray result = real ? QByteArray(real) : QByteArray();
    std::free(real);
    return result;
}

std::optional<QByteArray> readLink(const QByteArray &path, SystemError *error)
{
    char target[PATH_MAX + 1];
    const ssize_t n = ::readlink(path.constData(), target, sizeof target - 1);
    if (n < 0) {
        if (error)
            *error = systemError(errno);
        return std::nullopt;
    }
    return QByteArray(target, qsizetype(n));
}
