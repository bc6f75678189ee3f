#pragma once

#include <QByteArray>
#include <QString>

enum class FileAccess {
    AsBefore,  // an existing file keeps its permissions; a new one gets the usual ones
    OwnerOnly, // 0600: what only the user may read
    Replacing, // a link at the path is replaced by the file, which gets the usual permissions
};

// Replaces the file at path with bytes, all or nothing: on failure the old file is left
// exactly as it was, no temporary file stays behind, and error (when given) says why. The
// bytes are written to a temporary file beside it, named by isTemporaryFileName, and renamed.
// A link at path is written through for AsBefore (the user's own links, as ever) and
// replaced for OwnerOnly, where permissions says which the new file gets (0600 unless told).
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr,
                         FileAccess access = FileAccess::AsBefore, quint32 permissions = 0600);

// When the file at path is a link (of links) that leads out of folder, the path it leads to;
// empty otherwise. Where it leads is judged by the folder its target lies in, by device and
// inode whatever the path: a link to a folder that is not there leads out too.
QString linkLeavingFolder(const QString &path, const QString &folder);

// Whether name (a file name without folders) is one of those temporary files: ".NAME.pelmora-XXXXXX".
bool isTemporaryFileName(const QString &name);

// Removes the temporary files that a program killed while writing left in folder (not its
// subfolders), those older than a minute: a copy still writing one is left alone.
void removeStaleTemporaryFiles(const QString &folder);
