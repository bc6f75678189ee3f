#include "platform/PreviewDrive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

PreviewDrive::PreviewDrive()
{
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (prefix.isEmpty())
        prefix = QDir::homePath() + QStringLiteral("/.wine");
    m_devices = prefix + QStringLiteral("/dosdevices/");
}

QString PreviewDrive::linkOf(const QString &letter) const
{
    return m_devices + letter.toLower() + QLatin1Char(':');
}

QString PreviewDrive::freeLetter() const
{
    QString letter;
    for (char c = 'A'; c <= 'Z'; ++c) {
        const QFileInfo link(linkOf(QString(QLatin1Char(c))));
        // A dangling link still holds its letter.
        if (!link.exists() && !link.isSymLink())
            letter = QString(QLatin1Char(c));
    }
    return letter;
}

bool PreviewDrive::map(const QString &letter, const QString &folder) const
{
    if (letter.isEmpty() || !QDir().mkpath(m_devices))
        return false;
    QString target = folder;
    if (target.size() > 1 && target.endsWith(QLatin1Char('/')))
        target.chop(1);
    return QFile::link(target, linkOf(letter));
}

bool PreviewDrive::unmap(const QString &letter) const
{
    const QString link = linkOf(letter);
    return !letter.isEmpty() && QFileInfo(link).isSymLink() && QFile::remove(link);
}

QString PreviewDrive::volumeLabel(const QString &path)
{
    return QStorageInfo(path).name();
}

QString PreviewDrive::volumeRoot(const QString &path)
{
    return QStorageInfo(path).rootPath();
}
