#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Receives the folder being searched (ending with the separator) and the name of one file
// found in it; answers whether the search goes on.
using FileVisitor = std::function<bool(const QString &folder, const QString &name)>;

// Searches start (the current folder when empty) and its subfolders, depth first, for files
// whose names match mask ("*.*" when empty; wildcards, letter case aside). Hidden and system
// files of a folder are found, regular files only (links to them too): no FIFO, device or
// socket; hidden subfolders are not entered. Entries come in the order
// the file system lists them. A folder reached twice through links is searched once. Returns
// false when the visitor stopped the search.
bool collectFiles(const QString &start, const QString &mask, const FileVisitor &visitor);

// The files of start and its subfolders that match each of masks, found in one walk: list i
// holds the paths (folder + name) that collectFiles(start, masks[i]) visits, in that order.
QList<QStringList> collectFilesByMasks(const QString &start, const QStringList &masks);

// The same walk handed out as it goes: found(i, folder, name) for each file and each mask i it
// matches, the name as the file system gives it (as text it is pathFromNative of it, from
// os/NativePath.h), for callers that can do without a string for every file.
using MaskedFileFound = std::function<void(qsizetype mask, const QString &folder, QByteArrayView name)>;
void visitFilesByMasks(const QString &start, const QStringList &masks, const MaskedFileFound &found);

// What the auto-start panel looks for, in its order: programs, libraries, icon libraries
// and icon files.
inline QStringList autoStartMasks()
{
    return {QStringLiteral("*.exe"), QStringLiteral("*.dll"), QStringLiteral("*.icl"), QStringLiteral("*.ico")};
}
