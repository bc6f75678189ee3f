// The network module: whether the computer is connected, and fetching the update data.

#include "platform/NetworkModule.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QNetworkReply>
#include <QTimer>

namespace {

bool isConnected(const QUrl &server)
{
    const QString host = server.host();
    if (host == QLatin1String("localhost") || QHostAddress(host).isLoopback())
        return true;
    if (QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability) && QNetworkInformation::instance())
        return QNetworkInformation::instance()->reachability() == QNetworkInformation::Reachability::Online;
    for (const QNetworkInterface &face : QNetworkInterface::allInterfaces()) {
        const auto flags = face.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning)
            && !flags.testFlag(QNetworkInterface::IsLoopBack))
            return true;
    }
    return false;
}

void download(QObject *context, const QUrl &url, const UpdateServer::DownloadDone &done, int timeoutMs,
              qint64 maxBytes)
{
    // The manager lives with the context: deleting it aborts the reply and calls nothing.
    auto *network = new QNetworkAccessManager(context);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Pelmora"));
    request.setTransferTimeout(timeoutMs);
    QNetworkReply *reply = network->get(request);
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline->start(timeoutMs);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply, maxBytes](qint64 received, qint64) {
        if (received > maxBytes)
            reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, network, [network, reply, maxBytes, done] {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool ok = reply->error() == QNetworkReply::NoError && (status == 0 || (status >= 200 && status < 300));
        const QByteArray body = ok ? reply->readAll() : QByteArray();
        network->deleteLater();
        done(ok && body.size() <= maxBytes ? std::optional<QByteArray>(body) : std::nullopt);
    });
}

const NetworkFunctions functions{isConnected, download};

} // namespace

extern "C" Q_DECL_EXPORT const NetworkFunctions *pelmoraNetworkFunctions()
{
    return &functions;
}
