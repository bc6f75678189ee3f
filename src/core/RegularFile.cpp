#include "core/RegularFile.h"

#include "os/InputFile.h"
#include "os/NativePath.h"

#include <QFile>

FileReadError openRegularFile(const QString &path, QFile &file, FileOwner owner)
{
    InputFile input;
    const Links links = owner == FileOwner::UserOnly ? Links::NoFollow : Links::Follow;
    if (const SystemError error = input.open(nativePath(path), links)) {
        using Cause = SystemError::Cause;
        if (error.cause == Cause::Missing || error.cause == Cause::NotFolder)
            return FileReadError::Missing;
        // A socket, or a link where none may be.
        return error.cause == Cause::Special || error.cause == Cause::Link ? FileReadError::NotRegularFile
                                                                         : FileReadError::Unreadable;
    }
    const std::optional<FileStatus> status = input.status();
    if (!status)
        return FileReadError::Unreadable;
    if (status->kind != FileKind::File || (owner == FileOwner::UserOnly && !status->ownedByUser))
        return FileReadError::NotRegularFile;
    return input.handTo(file) ? FileReadError::None : FileReadError::Unreadable;
}

FileReadError readRegularFile(const QString &path, qint64 maxSize, QByteArray *bytes)
{
    bytes->clear();
    QFile file;
    if (const FileReadError error = openRegularFile(path, file); error != FileReadError::None)
        return error;
    if (file.size() > maxSize)
        return FileReadError::TooLarge;
    // The file may grow while it is read: one byte past the limit tells.
    QByteArray data;
    data.reserve(file.size());
    char chunk[64 * 1024];
    while (data.size() <= maxSize) {
        const qint64 n = file.read(chunk, qMin(qint64(sizeof chunk), maxSize + 1 - data.size()));
        if (n < 0)
            return FileReadError::Unreadable;
        if (n == 0)
            break;
        data.append(chunk, n);
    }
    if (data.size() > maxSize)
        return FileReadError::TooLarge;
    *bytes = data;
    return FileReadError::None;
}
