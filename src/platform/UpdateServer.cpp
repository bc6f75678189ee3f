#include "platform/UpdateServer.h"

#include "platform/NetworkModule.h"
#include "platform/SettingsStore.h"

#include <QMetaObject>

namespace UpdateServer {

QUrl baseAddress()
{
    QString base = qEnvironmentVariable("PELMORA_UPDATE_URL");
    if (base.isEmpty())
        base = SettingsKey(QStringLiteral("Software\\Quorvale\\Pelmora")).value(QStringLiteral("UpdateURL")).value_or(QString());
    if (base.isEmpty())
        base = QStringLiteral("https://www.quorvale.example/aktualizacje/");
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return QUrl(base);
}

bool isConnected(const QUrl &server)
{
    const NetworkFunctions *network = networkModule();
    return network && network->isConnected(server);
}

// Without the network module, nothing can be fetched: done hears so, as from a failed download.
void download(QObject *context, const QUrl &url, const DownloadDone &done, int timeoutMs, qint64 maxBytes)
{
    if (const NetworkFunctions *network = networkModule())
        network->download(context, url, done, timeoutMs, maxBytes);
    else
        QMetaObject::invokeMethod(context, [done] { done(std::nullopt); }, Qt::QueuedConnection);
}

} // namespace UpdateServer
