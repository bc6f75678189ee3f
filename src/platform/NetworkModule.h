#pragma once

// What the network module (src/network, a library of its own) offers the program. The program
// loads it the first time it needs the network, so that starting the program does not load Qt's
// network library and the dozen libraries behind it (Kerberos, proxy look-up).

#include "platform/UpdateServer.h"

struct NetworkFunctions
{
    bool (*isConnected)(const QUrl &server);
    void (*download)(QObject *context, const QUrl &url, const UpdateServer::DownloadDone &done,
                     int timeoutMs, qint64 maxBytes);
};

// The module's one exported symbol.
#define PELMORA_NETWORK_ENTRY "pelmoraNetworkFunctions"
using NetworkEntry = const NetworkFunctions *(*)();

// The module, loaded on the first call; nullptr when it cannot be found or loaded.
const NetworkFunctions *networkModule();
