#include "platform/PreviewJournal.h"

#include "core/AtomicFile.h"
#include "core/RegularFile.h"
#include "os/FileStatus.h"
#include "platform/FileLock.h"
#include "platform/StateFolder.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr quint32 magic = 0x504A524E; // "PJRN"
// 1 held no fingerprint of the variant: its file is never written over.
constexpr quint16 version = 2;
// A journal holds one autorun.inf; anything much larger was not written by this program.
constexpr qint64 largestJournal = qint64(256) << 20;
const QString suffix = QStringLiteral(".journal");
const QString lockSuffix = QStringLiteral(".lock");

QString journalOf(const QString &path)
{
    const QString folder = stateFolder();
    if (folder.isEmpty())
        return QString();
    const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(path), QCryptographicHash::Sha256);
    return folder + QStringLiteral("preview-") + QString::fromLatin1(hash.toHex().left(32)) + suffix;
}

QByteArray fingerprint(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

struct Journal
{
    QString path;
    QByteArray bytes;
    QByteArray variant; // the fingerprint of the variant written over the file
};

QByteArray journalBytes(const Journal &journal)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << magic << version << journal.path << journal.bytes << journal.variant;
    return data;
}

// The journal's content; false for anything that is not a whole journal of an autorun.inf.
bool readJournal(QFile &file, Journal *journal)
{
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 m = 0;
    quint16 v = 0;
    in >> m >> v;
    if (in.status() != QDataStream::Ok || m != magic || (v != 1 && v != version))
        return false;
    in >> journal->path >> journal->bytes;
    if (v == version)
        in >> journal->variant;
    // Put back only where a menu file stands: a journal can never be made to write elsewhere.
    return in.status() == QDataStream::Ok && in.atEnd() && QDir::isAbsolutePath(journal->path)
        && QFileInfo(journal->path).fileName().compare(QLatin1String("autorun.inf"), Qt::CaseInsensitive) == 0;
}

// A name beside path for the bytes from before the preview, one not taken yet.
QString keptName(const QString &path)
{
    const QString base = path + QStringLiteral(".kopia-sprzed-podgladu");
    QString name = base;
    for (int n = 2; QFileInfo(name).exists() || QFileInfo(name).isSymLink(); ++n)
        name = base + QLatin1Char('-') + QString::number(n);
    return name;
}

// Puts journal's bytes back, but only over the variant the preview wrote: a file changed since
// (by another program, another copy) or gone is left as it is, and the bytes go beside it, with
// the permissions of the file they were.
PreviewJournal::Restored putBackJournal(const Journal &journal)
{
    PreviewJournal::Restored r;
    r.file = journal.path;
    QByteArray now;
    const bool holdsVariant = !journal.variant.isEmpty()
        && readRegularFile(journal.path, largestJournal, &now) == FileReadError::None
        && fingerprint(now) == journal.variant;
    if (holdsVariant) {
        r.ok = writeFileAtomically(journal.path, journal.bytes, &r.error);
        return r;
    }
    const std::optional<FileStatus> file = fileStatus(QFile::encodeName(journal.path), Links::Follow);
    r.keptAs = keptName(journal.path);
    r.ok = writeFileAtomically(r.keptAs, journal.bytes, &r.error, FileAccess::OwnerOnly,
                               file && file->kind == FileKind::File ? file->permissions : 0600);
    if (!r.ok)
        r.keptAs.clear();
    return r;
}

} // namespace

PreviewJournal::PreviewJournal(const QString &path)
    : m_path(path)
    , m_journal(journalOf(path))
{
}

PreviewJournal::~PreviewJournal() = default;

bool PreviewJournal::leftBehind() const
{
    return !m_journal.isEmpty() && (QFileInfo(m_journal).exists() || QFileInfo(m_journal).isSymLink());
}

bool PreviewJournal::keep(const QByteArray &bytes, const QByteArray &variant, QString *error)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        m_lock.reset();
        return false;
    };
    if (m_journal.isEmpty())
        return fail(QStringLiteral("the state folder %1 is not a private folder of the user's").arg(stateFolderPath()));
    m_lock = std::make_unique<FileLock>(m_journal + lockSuffix);
    if (!m_lock->tryLock())
        return fail(QStringLiteral("the journal %1 is in use").arg(m_journal));
    if (leftBehind())
        return fail(QStringLiteral("the journal %1 of an earlier preview still holds the file").arg(m_journal));
    if (!writeFileAtomically(m_journal, journalBytes({m_path, bytes, fingerprint(variant)}), error,
                             FileAccess::OwnerOnly))
        return fail(error ? *error : QString());
    return true;
}

PreviewJournal::Restored PreviewJournal::putBack(const QByteArray &bytes, const QByteArray &variant)
{
    return putBackJournal({m_path, bytes, fingerprint(variant)});
}

void PreviewJournal::release()
{
    QFile::remove(m_journal);
    if (m_lock)
        m_lock->unlock(true);
    m_lock.reset();
}

std::optional<PreviewJournal::Restored> PreviewJournal::restore(const QString &journalFile)
{
    FileLock lock(journalFile + lockSuffix);
    Restored r;
    r.journal = journalFile;
    if (!lock.tryLock()) {
        const std::optional<FileStatus> lockFile =
            fileStatus(QFile::encodeName(journalFile + lockSuffix), Links::NoFollow);
        if (!lockFile || (lockFile->kind == FileKind::File && lockFile->ownedByUser))
            return std::nullopt; // its preview is still waiting
        // A lock that can never be taken would hide the journal at every start: it is told
        // once, and the journal set aside for the user.
        r.journal = journalFile + QStringLiteral(".damaged");
        r.error = QStringLiteral("the lock %1 is not a regular file of the user's").arg(journalFile + lockSuffix);
        QFile::rename(journalFile, r.journal);
        return r;
    }
    // Only a regular file of the user's is a journal, never read through a link.
    QFile file;
    if (openRegularFile(journalFile, file, FileOwner::UserOnly) != FileReadError::None || file.size() > largestJournal)
        return std::nullopt;
    Journal journal;
    if (!readJournal(file, &journal)) {
        // Damaged: set aside, once, for the user to look at; never written anywhere.
        r.journal = journalFile + QStringLiteral(".damaged");
        r.error = QStringLiteral("damaged journal");
        QFile::rename(journalFile, r.journal);
        lock.unlock(true);
        return r;
    }
    const QString kept = r.journal;
    r = putBackJournal(journal);
    r.journal = kept;
    if (r.ok) {
        QFile::remove(journalFile);
        lock.unlock(true);
    }
    return r;
}

QList<PreviewJournal::Restored> PreviewJournal::restoreLeftBehind()
{
    QList<Restored> restored;
    const QString state = stateFolder();
    if (state.isEmpty())
        return restored;
    const QDir folder(state);
    for (const QString &name : folder.entryList({QStringLiteral("preview-*") + suffix}, QDir::Files | QDir::System)) {
        if (const std::optional<Restored> r = restore(folder.filePath(name)))
            restored << *r;
    }
    // Locks that a crash left without their journal go once nothing holds them.
    for (const QString &name : folder.entryList({QStringLiteral("preview-*") + suffix + lockSuffix}, QDir::Files)) {
        const QString journal = folder.filePath(name).chopped(lockSuffix.size());
        FileLock lock(folder.filePath(name));
        if (!QFileInfo::exists(journal) && lock.tryLock())
            lock.unlock(true);
    }
    return restored;
}
