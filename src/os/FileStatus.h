#pragma once

#include "os/SystemError.h"

#include <QByteArray>

#include <optional>

// Paths are native: the bytes the file system keeps, not necessarily text.

enum class Links {
    Follow,   // what a link leads to
    NoFollow, // the link itself; opening one is refused (SystemError::Cause::Link)
};

enum class FileKind { File, Folder, Link, Other, Unknown };

// Tells one file from every other on the machine as long as it exists.
struct FileId {
    quint64 device = 0;
    quint64 inode = 0;

    bool operator==(const FileId &other) const { return device == other.device && inode == other.inode; }
    bool operator!=(const FileId &other) const { return !(*this == other); }
};

struct FileTime {
    qint64 seconds = 0; // since 1970, rounded down
    qint32 nanoseconds = 0;

    bool operator==(const FileTime &other) const
    {
        return seconds == other.seconds && nanoseconds == other.nanoseconds;
    }
};

struct FileStatus {
    FileKind kind = FileKind::Unknown;
    FileId id;
    qint64 size = 0;
    FileTime modified; // the contents
    FileTime accessed;
    FileTime changed; // the status: permissions, links, names
    quint32 permissions = 0; // the owner's, the group's and the others' bits, with set-id and sticky (07777)
    bool ownedByUser = false; // by the user running the program

    // The same file, not written since: a change of its bytes moves its size or its times. The
    // modification time can be put back by anyone (touch -d); the change time cannot.
    bool sameVersion(const FileStatus &other) const
    {
        return id == other.id && size == other.size && modified == other.modified && changed == other.changed;
    }
};

// The status of the file at path; nothing when there is none or it cannot be asked about.
std::optional<FileStatus> fileStatus(const QByteArray &path, Links links, SystemError *error = nullptr);
