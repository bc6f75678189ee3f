#include "platform/PreviewDrive.h"

#include "core/AtomicFile.h"
#include "core/RegularFile.h"
#include "platform/FileLock.h"
#include "platform/StateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStorageInfo>

#include <functional>

namespace {

QString recordsFile()
{
    return stateFolder() + QStringLiteral("drives.json");
}

// Reads, changes and writes the records of the links made, under a lock, since two copies of
// the program may preview at once.
bool changeRecords(const std::function<void(QJsonArray &)> &change)
{
    if (stateFolder().isEmpty())
        return false;
    FileLock lock(recordsFile() + QStringLiteral(".lock"));
    if (!lock.tryLock(5000))
        return false;
    QJsonArray records;
    QByteArray bytes;
    if (readRegularFile(recordsFile(), 1 << 20, &bytes) == FileReadError::None)
        records = QJsonDocument::fromJson(bytes).array();
    const QJsonArray before = records;
    change(records);
    if (records == before)
        return true;
    return writeFileAtomically(recordsFile(), QJsonDocument(records).toJson(), nullptr, FileAccess::OwnerOnly);
}

QString withoutTrailingSeparator(const QString &folder)
{
    return folder.size() > 1 && folder.endsWith(QLatin1Char('/')) ? folder.chopped(1) : folder;
}

} // namespace

PreviewDrive::PreviewDrive()
{
    m_prefix = qEnvironmentVariable("WINEPREFIX");
    if (m_prefix.isEmpty())
        m_prefix = QDir::homePath() + QStringLiteral("/.wine");
    m_devices = m_prefix + QStringLiteral("/dosdevices/");
}

bool PreviewDrive::hasPrefix() const
{
    return QFileInfo(m_devices).isDir();
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
    if (letter.isEmpty() || !hasPrefix())
        return false;
    const QString target = withoutTrailingSeparator(folder);
    const QString link = linkOf(letter);
    if (!QFile::link(target, link))
        return false;
    recordLink(link, target, bootId());
    return true;
}

bool PreviewDrive::unmap(const QString &letter) const
{
    const QString link = linkOf(letter);
    if (letter.isEmpty() || !QFileInfo(link).isSymLink() || !QFile::remove(link))
        return false;
    changeRecords([&](QJsonArray &records) {
        for (qsizetype i = records.size() - 1; i >= 0; --i)
            if (records[i].toObject().value(QLatin1String("link")).toString() == link)
                records.removeAt(i);
    });
    return true;
}

bool PreviewDrive::recordLink(const QString &link, const QString &target, const QString &boot)
{
    return changeRecords([&](QJsonArray &records) {
        records.append(QJsonObject{{QStringLiteral("link"), link},
                                   {QStringLiteral("target"), target},
                                   {QStringLiteral("bootId"), boot}});
    });
}

int PreviewDrive::removeLinksOfEarlierBoots()
{
    const QString now = bootId();
    int removed = 0;
    changeRecords([&](QJsonArray &records) {
        QJsonArray kept;
        for (const QJsonValue &value : std::as_const(records)) {
            const QJsonObject record = value.toObject();
            if (record.value(QLatin1String("bootId")).toString() == now) {
                kept.append(record); // the drive lives until the computer restarts
                continue;
            }
            const QString link = record.value(QLatin1String("link")).toString();
            const QFileInfo info(link);
            if (info.isSymLink() && info.symLinkTarget() == QDir::cleanPath(record.value(QLatin1String("target")).toString())
                && QFile::remove(link))
                ++removed;
        }
        records = kept;
    });
    return removed;
}

QString PreviewDrive::bootId()
{
    QFile file(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.read(64)).trimmed();
}

QString PreviewDrive::volumeLabel(const QString &path)
{
    return QStorageInfo(path).name();
}

QString PreviewDrive::volumeRoot(const QString &path)
{
    return QStorageInfo(path).rootPath();
}
