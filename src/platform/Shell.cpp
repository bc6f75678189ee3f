#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QUrl>
#include <QWidget>

void DesktopShell::open(QWidget *parent, const QString &target, const QString &, Show)
{
    // The desktop decides how a document's window is shown, and "open" is its only verb.
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl(target);
    launch(parent, url, target);
}

// xdg-open says by its exit status whether the desktop had a program for the target; that
// comes once the program has been started, so the answer is awaited without blocking.
void DesktopShell::launch(QWidget *parent, const QUrl &url, const QString &shown)
{
    auto *process = new QProcess(QCoreApplication::instance());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    const QPointer<QWidget> window(parent);
    const auto failed = [this, process, window, shown] {
        reportFailure(window, shown);
        process->deleteLater();
    };
    QObject::connect(process, &QProcess::finished, process, [process, failed](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0)
            failed();
        else
            process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [failed](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            failed();
    });
    process->start(QStringLiteral("xdg-open"), {url.isLocalFile() ? url.toLocalFile() : url.toString()});
}

void DesktopShell::showInFolder(QWidget *parent, const QString &file)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(file).toString()} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        launch(parent, QUrl::fromLocalFile(QFileInfo(file).absolutePath()), QFileInfo(file).absolutePath());
}
