#pragma once

// Files that are not regular files, made for real on disk, and a watchdog for the calls that
// must leave them alone.

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <vector>

#include <sys/stat.h>

// Makes a file of a kind at path:
//   "fifo"     a FIFO (opening it to read waits for a writer, for ever if none comes)
//   "socket"   a listening UNIX socket, kept as long as this object
//   "folder"   a folder
//   any path   a symbolic link to it, as "/dev/zero"
class SpecialFiles
{
public:
    bool make(const QString &kind, const QString &path)
    {
        if (kind == QLatin1String("fifo"))
            return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
        if (kind == QLatin1String("socket")) {
            auto server = std::make_unique<QLocalServer>();
            if (!server->listen(path))
                return false;
            m_servers.push_back(std::move(server));
            return true;
        }
        if (kind == QLatin1String("folder"))
            return QDir().mkdir(path);
        return QFile::link(kind, path);
    }

private:
    std::vector<std::unique_ptr<QLocalServer>> m_servers;
};

// What call returns, run on a thread of its own. A call still running after the timeout ends
// the test program: a read blocked on a FIFO or a device would otherwise hang it for ever.
template <typename Call>
auto returnsAtOnce(Call call, int timeoutMs = 20000)
{
    auto result = std::async(std::launch::async, call);
    if (result.wait_for(std::chrono::milliseconds(timeoutMs)) != std::future_status::ready) {
        std::fprintf(stderr, "FAIL: a call on a special file did not return: it blocked\n");
        std::_Exit(1);
    }
    return result.get();
}
