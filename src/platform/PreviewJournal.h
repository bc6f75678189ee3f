#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

class QLockFile;

// While the preview's variant stands in place of the user's autorun.inf, the user's bytes are
// kept in a journal in the state folder. A program that dies meanwhile (a crash, a kill, a
// logout) loses nothing: the next start puts the file back, byte for byte.
class PreviewJournal
{
public:
    // The journal of the menu file at path (one per file).
    explicit PreviewJournal(const QString &path);
    ~PreviewJournal();

    // Keeps bytes as the file's content to put back; false, with the reason, when the
    // journal cannot be written (then the file must not be replaced).
    bool keep(const QByteArray &bytes, QString *error = nullptr);
    // The file was put back: the journal goes.
    void release();
    QString journalFile() const { return m_journal; }

    struct Restored
    {
        QString file;    // the menu file put back
        bool ok = false; // false: the journal stays, to be tried again at the next start
        QString error;
        QString journal; // where the bytes are kept while they are not put back
    };
    // Puts back every menu file whose journal a program that is no longer running left
    // behind. Journals of a preview that is still waiting in another copy are left alone.
    static QList<Restored> restoreLeftBehind();

private:
    QString m_path;
    QString m_journal;
    std::unique_ptr<QLockFile> m_lock;
};
