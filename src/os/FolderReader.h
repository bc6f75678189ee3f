#pragma once

#include "os/FileStatus.h"

#include <QByteArrayView>

// One entry of a folder.
struct FolderEntry {
    QByteArrayView name; // as the file system keeps it, not necessarily text; valid until the next entry
    FileKind kind = FileKind::Unknown; // Unknown where the listing does not say: FolderReader::statusOf tells
};

// The entries of one folder, in the order the file system lists them, "." and ".." left out.
class FolderReader
{
public:
    FolderReader() = default;
    ~FolderReader();
    FolderReader(const FolderReader &) = delete;
    FolderReader &operator=(const FolderReader &) = delete;

    // Anything but a folder at path is refused (SystemError::Cause::NotFolder).
    SystemError open(const QByteArray &path, Links links);
    // The status of the folder opened, whatever its path names by now.
    std::optional<FileStatus> status() const;
    // Whether the user may go into the folder opened: one that can be listed but not entered
    // has entries that no path reaches.
    bool canEnter() const;
    // The next entry; false at the end, and when the listing failed, which error() then says.
    bool next(FolderEntry *entry);
    SystemError error() const { return m_error; }
    // The status of the entry last given by next.
    std::optional<FileStatus> statusOf(const FolderEntry &entry, Links links) const;

private:
    void *m_folder = nullptr; // the system's handle of the listing
    SystemError m_error;
};
