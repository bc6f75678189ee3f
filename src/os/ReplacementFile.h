#pragma once

#include "os/FileStatus.h"

#include <functional>

// A new file written beside the one it replaces and put in its place only when it is whole
// and on the disk: whoever opens the name finds the old file or the new one, never a part, and
// a link of that name is replaced, not followed. Until then the file is unnamed where the file
// system allows, else under a name of the caller's; a file not put in place is removed.
// Names are native, of entries of one folder.
class ReplacementFile
{
public:
    enum class Naming { Named, UnnamedWherePossible };

    ReplacementFile() = default;
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile &) = delete;
    ReplacementFile &operator=(const ReplacementFile &) = delete;

    // Opens the folder the file goes in, through whatever links its path holds; the file stays
    // in the folder opened, whatever happens to that path.
    SystemError openFolder(const QByteArray &path);
    // Whether the folder opened is top or lies anywhere below it, by whatever path.
    bool folderWithin(const FileId &top) const;
    // Whether the file may take the place of name: no folder is there (nor is name "", "." or
    // ".."), and a file that is there is one the user may write. existing gets what is there,
    // a link not followed.
    SystemError mayReplace(const QByteArray &name, std::optional<FileStatus> *existing) const;

    // Creates the file with permissions, less those the user's umask takes away. A name is
    // asked of makeName again while the one it gave is taken; an unnamed file gets one at commit.
    SystemError create(quint32 permissions, Naming naming, const std::function<QByteArray()> &makeName);
    void setPermissions(quint32 permissions);
    // The disk is told to write as the bytes come, not all at once at commit.
    SystemError write(const char *data, qint64 size);
    // Puts the file in place of name, after it is on the disk.
    SystemError commit(const QByteArray &name);

private:
    SystemError giveName();
    void removeFile();

    qintptr m_folder = -1; // the system's handles: file descriptors
    qintptr m_file = -1;
    QByteArray m_name; // while the file has a name of its own
    std::function<QByteArray()> m_makeName;
    qint64 m_written = 0;
    qint64 m_sent = 0; // what the disk was told to write so far
};
