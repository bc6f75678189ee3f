#pragma once

#include <QByteArray>
#include <QString>

// Why a file from outside was not read.
enum class FileReadError {
    None,
    Missing,        // nothing at the path (a dangling link included)
    NotRegularFile, // a folder, a FIFO, a device or a socket
    TooLarge,       // more bytes than the reader accepts
    Unreadable,     // it could not be opened or read
};

class QFile;

enum class FileOwner {
    Anyone,   // any regular file, also through a link
    UserOnly, // a regular file of the user's, never through a link (NotRegularFile otherwise)
};

// Opens the regular file at path for reading, deciding on the opened file itself, so that
// nothing swapped in between a check and the open is read; a FIFO or a device is refused
// without waiting on it.
FileReadError openRegularFile(const QString &path, QFile &file, FileOwner owner = FileOwner::Anyone);

// Reads the whole of the regular file at path (a link to one counts), never more than
// maxSize bytes. A FIFO or a device is refused without waiting on it. On failure bytes is
// left empty.
FileReadError readRegularFile(const QString &path, qint64 maxSize, QByteArray *bytes);
