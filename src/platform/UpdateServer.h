#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

// Where the update data is published, whether it can be reached, and fetching it.
namespace UpdateServer {

// The base address, ending with "/": $PELMORA_UPDATE_URL, else the value "UpdateURL" of the
// program's settings key, else the maker's server.
QUrl baseAddress();

// Whether the computer has a connection: a server on this machine always counts; otherwise
// the system's network information when it has any, else any interface up besides loopback.
bool isConnected(const QUrl &server);

// The body at url, kept in memory: a file in the shared temporary folder could be swapped or
// planted as a link by another user. Bounded in time and size, so that a dead or endless
// server never freezes the window; nothing when it could not be fetched.
std::optional<QByteArray> download(const QUrl &url, int timeoutMs = 15000, qint64 maxBytes = 1024 * 1024);

} // namespace UpdateServer
