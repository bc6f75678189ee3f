#pragma once

#include <QString>

// An exclusive lock on a file for as long as it is held: flock(2), which the system lets go
// when the holder dies, so a crash leaves no lock behind, only the file. The file is opened
// without following a link and without waiting (a FIFO put in its place is refused, never
// waited on), and it must be a regular file of the user's.
class FileLock
{
public:
    explicit FileLock(const QString &path);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // False when another holds it after waitMs, or the path is no plain file of the user's.
    bool tryLock(int waitMs = 0);
    bool isLocked() const { return m_fd >= 0; }
    // Lets go; with removeFile the lock file goes too, while it is still held.
    void unlock(bool removeFile = false);

private:
    QString m_path;
    int m_fd = -1;
};
