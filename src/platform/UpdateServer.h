#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QObject;

// Where the update data is published, whether it can be reached, and fetching it.
namespace UpdateServer {

// The base address, ending with "/": $PELMORA_UPDATE_URL, else the value "UpdateURL" of the
// program's settings key, else the maker's server.
QUrl baseAddress();

// Whether the computer has a connection: a server on this machine always counts; otherwise
// the system's network information when it has any, else any interface up besides loopback.
bool isConnected(const QUrl &server);

// Fetches the body at url in the background and hands it to done, once, on context's thread:
// kept in memory (a file in the shared temporary folder could be swapped or planted as a link
// by another user), bounded in time and size, nothing when it could not be fetched. Nothing
// waits for it: the windows stay answering whatever the server does. Deleting context
// abandons the download, and done is not called.
using DownloadDone = std::function<void(const std::optional<QByteArray> &body)>;
void download(QObject *context, const QUrl &url, const DownloadDone &done, int timeoutMs = 15000,
              qint64 maxBytes = 1024 * 1024);

} // namespace UpdateServer
