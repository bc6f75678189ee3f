#include "platform/PreviewJournal.h"

#include "core/AtomicFile.h"
#include "platform/StateFolder.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace {

constexpr quint32 magic = 0x504A524E; // "PJRN"
constexpr quint16 version = 1;
// A journal holds one autorun.inf; anything much larger was not written by this program.
constexpr qint64 largestJournal = qint64(256) << 20;
const QString suffix = QStringLiteral(".journal");

QString journalOf(const QString &path)
{
    const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(path), QCryptographicHash::Sha256);
    return stateFolder() + QStringLiteral("preview-") + QString::fromLatin1(hash.toHex().left(32)) + suffix;
}

QByteArray journalBytes(const QString &path, const QByteArray &bytes)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << magic << version << path << bytes;
    return data;
}

// The file and bytes a journal holds; false for anything that is not a whole journal.
bool readJournal(const QString &journal, QString *path, QByteArray *bytes)
{
    const QFileInfo info(journal);
    if (!info.isFile() || info.size() > largestJournal)
        return false;
    QFile file(journal);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 m = 0;
    quint16 v = 0;
    in >> m >> v;
    if (in.status() != QDataStream::Ok || m != magic || v != version)
        return false;
    in >> *path >> *bytes;
    return in.status() == QDataStream::Ok && in.atEnd() && QDir::isAbsolutePath(*path);
}

std::unique_ptr<QLockFile> lockOf(const QString &journal)
{
    auto lock = std::make_unique<QLockFile>(journal + QStringLiteral(".lock"));
    // A preview may wait for the user as long as it likes: only a dead holder frees the lock.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

PreviewJournal::PreviewJournal(const QString &path)
    : m_path(path)
    , m_journal(journalOf(path))
{
}

PreviewJournal::~PreviewJournal() = default;

bool PreviewJournal::keep(const QByteArray &bytes, QString *error)
{
    m_lock = lockOf(m_journal);
    if (!m_lock->tryLock(0)) {
        if (error)
            *error = QStringLiteral("the journal %1 is in use").arg(m_journal);
        m_lock.reset();
        return false;
    }
    if (!writeFileAtomically(m_journal, journalBytes(m_path, bytes), error)) {
        m_lock.reset();
        return false;
    }
    QFile::setPermissions(m_journal, QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

void PreviewJournal::release()
{
    QFile::remove(m_journal);
    m_lock.reset();
}

QList<PreviewJournal::Restored> PreviewJournal::restoreLeftBehind()
{
    QList<Restored> restored;
    const QDir folder(stateFolder());
    for (const QString &name : folder.entryList({QStringLiteral("preview-*") + suffix}, QDir::Files)) {
        const QString journal = folder.filePath(name);
        const std::unique_ptr<QLockFile> lock = lockOf(journal);
        if (!lock->tryLock(0))
            continue; // its preview is still waiting
        Restored r;
        r.journal = journal;
        QByteArray bytes;
        if (!readJournal(journal, &r.file, &bytes)) {
            // Damaged: set aside, once, for the user to look at; never written anywhere.
            r.journal = journal + QStringLiteral(".damaged");
            r.error = QStringLiteral("damaged journal");
            QFile::rename(journal, r.journal);
            restored << r;
            continue;
        }
        r.ok = writeFileAtomically(r.file, bytes, &r.error);
        if (r.ok)
            QFile::remove(journal);
        restored << r;
    }
    return restored;
}
