#pragma once

#include "os/FileStatus.h"

class QFile;

// A file opened for reading. Opening never waits: a FIFO or a device put where a file was
// expected is opened at once or refused, and the caller judges the opened file by its status,
// so that nothing swapped in between a check and the open is read.
class InputFile
{
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    SystemError open(const QByteArray &path, Links links);
    bool isOpen() const { return m_handle != -1; }
    // The status of the file opened, whatever its path names by now.
    std::optional<FileStatus> status() const;
    // Up to size bytes; 0 at the end, -1 when the read failed (error says why).
    qint64 read(char *data, qint64 size, SystemError *error);
    // Up to size bytes from offset on, where the file is read next left as it was.
    qint64 readAt(qint64 offset, char *data, qint64 size, SystemError *error);
    void close();
    // Hands the open file over to file, which reads it from now on, waiting for data as files
    // do, and closes it; false when it would not take it (the file is then closed).
    bool handTo(QFile &file);

private:
    qintptr m_handle = -1; // the system's: a file descriptor
};
