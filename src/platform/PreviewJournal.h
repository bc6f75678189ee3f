#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

class FileLock;

// While the preview's variant stands in place of the user's autorun.inf, the user's bytes are
// kept in a journal in the state folder, with a fingerprint of the variant. A program that dies
// meanwhile (a crash, a kill, a logout) loses nothing: the next start puts the file back, byte
// for byte, but only over the variant itself; a file changed since is left as it is.
class PreviewJournal
{
public:
    // The journal of the menu file at path (one per file).
    explicit PreviewJournal(const QString &path);
    ~PreviewJournal();

    // Keeps bytes as the file's content to put back, before variant takes its place; false,
    // with the reason, when the journal cannot be written or an earlier preview's journal
    // still holds the file's bytes (then the file must not be replaced).
    bool keep(const QByteArray &bytes, const QByteArray &variant, QString *error = nullptr);
    // At the preview's end: bytes go back in the file's place only over variant, as written;
    // a file changed meanwhile is left, and bytes are written beside it (see Restored).
    struct Restored;
    Restored putBack(const QByteArray &bytes, const QByteArray &variant);
    // The file was put back: the journal goes.
    void release();
    QString journalFile() const { return m_journal; }
    // Whether a journal of an earlier preview of this file is still there.
    bool leftBehind() const;

    struct Restored
    {
        QString file;    // the menu file concerned
        bool ok = false; // false: the journal stays, to be tried again at the next start
        QString error;
        QString journal; // where the bytes are kept while they are not put back
        // The file had changed since the preview (or was gone): it is left as it is, and the
        // bytes from before the preview were written here instead.
        QString keptAs;
    };
    // Puts back the file of one journal; nothing when another copy's preview still holds it.
    static std::optional<Restored> restore(const QString &journal);
    // Puts back every menu file whose journal a program that is no longer running left
    // behind. Journals of a preview that is still waiting in another copy are left alone.
    static QList<Restored> restoreLeftBehind();

private:
    QString m_path;
    QString m_journal;
    std::unique_ptr<FileLock> m_lock;
};
