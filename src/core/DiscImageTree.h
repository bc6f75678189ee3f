#pragma once

#include "core/DiscImageFiles.h"

#include <QList>

// A name as the disc holds it. The library takes one character set for all names and makes
// both the Rock Ridge and the Joliet name of it, so a name that is not UTF-8 (from an old
// Windows archive) is read in the code page of the menu and goes on the disc as UTF-8;
// otherwise Windows would show "_" for each of its letters.
struct DiscName {
    QString text;
    QByteArray node;
};

DiscName discNameOf(const QByteArray &bytes);

// Reads the data folder into the library's tree: its folders, its files (as streams that check
// them again as they are copied) and its links, each checked as it is met.
class DiscImageTree
{
public:
    using Progress = std::function<void(int percent, const QString &file)>;

    // root is the data folder with no link in it; given is the path the user named it by.
    DiscImageTree(DiscImageContext *context, const QByteArray &root, const QByteArray &given,
                  const Progress &progress);

    int files = 0;
    QStringList skipped;
    DiscImageProblem error;

    // Adds the folder at path, seen as it was when its parent was read, to parent. disc is its
    // path on the disc, as parts of its names on the disk; shown its path in messages, subject
    // what a message about the folder itself names.
    bool addFolder(IsoDir *parent, const QByteArray &path, const FileStatus &seen, const QList<QByteArray> &disc,
                   const QString &shown, const QString &subject);

private:
    DiscImageContext *m_context;
    QByteArray m_root;
    QList<QByteArray> m_rootParts;
    QList<QByteArray> m_givenParts;
    const Progress &m_progress;
    quint64 m_nextId = 1;

    bool inside(const QByteArray &real) const;
    bool fail(DiscImageProblem::Kind kind, const QString &shown, const QString &reason = {});
    bool failAdding(int code, const QString &shown);
    QByteArray linkTarget(const QByteArray &path, const QList<QByteArray> &disc, const QByteArray &dest) const;
    bool addLink(IsoDir *parent, const QByteArray &path, const QList<QByteArray> &folderDisc, const DiscName &name,
                 const QString &shown, const FileStatus &status);
    bool addEntry(IsoDir *parent, const QByteArray &folder, const QList<QByteArray> &folderDisc,
                  const QString &folderShown, const QByteArray &fileName);
};
