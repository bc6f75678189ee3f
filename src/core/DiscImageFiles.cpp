#include "core/DiscImageFiles.h"

#include "os/InputFile.h"

#include <cstdlib>
#include <cstring>

// The header keeps this struct from C++ (a member is named "class"); the layout is the library's.
struct iso_stream {
    IsoStreamIface *klass;
    int refcount;
    void *data;
};

namespace {

struct FileData {
    DiscImageContext *context;
    QByteArray path; // with no link in its last part
    QString shownName;
    FileStatus seen; // when the tree was read; the bytes copied must still be of this file
    quint64 id;
    InputFile file = {};
    qint64 left = 0;
    // The library asks for one 2 KiB block at a time; reading ahead saves most system calls.
    QByteArray ahead = {};
    int aheadPos = 0;
    int aheadLen = 0;
};

FileData *dataOf(IsoStream *stream) { return static_cast<FileData *>(stream->data); }

int fileClose(IsoStream *stream)
{
    FileData *d = dataOf(stream);
    d->file.close();
    d->ahead = QByteArray();
    d->aheadPos = d->aheadLen = 0;
    return 1;
}

// Whether the file open in d is still the one seen.
bool unchanged(const FileData *d)
{
    const std::optional<FileStatus> now = d->file.status();
    return now && now->sameVersion(d->seen);
}

int fileOpen(IsoStream *stream)
{
    FileData *d = dataOf(stream);
    fileClose(stream); // still open when an earlier layout was given up while it was read
    {
        std::lock_guard<std::mutex> lock(d->context->mutex);
        d->context->currentFile = d->shownName;
    }
    // Not through a link, nor waiting on a FIFO put in the file's place.
    if (const SystemError error = d->file.open(d->path, Links::NoFollow)) {
        if (error.cause == SystemError::Cause::Link)
            d->context->fail(DiscImageProblem::Kind::Changed, d->shownName);
        else
            d->context->fail(DiscImageProblem::Kind::Unreadable, d->shownName, error.text);
        return int(ISO_FILE_READ_ERROR);
    }
    if (!unchanged(d)) {
        d->context->fail(DiscImageProblem::Kind::Changed, d->shownName);
        fileClose(stream);
        return int(ISO_FILE_READ_ERROR);
    }
    d->left = d->seen.size;
    return 1;
}

off_t fileSize(IsoStream *stream) { return off_t(dataOf(stream)->seen.size); }

int fileRead(IsoStream *stream, void *buf, size_t count)
{
    FileData *d = dataOf(stream);
    if (d->context->cancelled())
        return int(ISO_CANCELED);
    if (d->aheadPos == d->aheadLen) {
        if (d->left == 0)
            return 0;
        if (d->ahead.isEmpty())
            d->ahead.resize(256 * 1024);
        SystemError error;
        const qint64 n = d->file.read(d->ahead.data(), qMin<qint64>(d->ahead.size(), d->left), &error);
        if (n < 0) {
            d->context->fail(DiscImageProblem::Kind::Unreadable, d->shownName, error.text);
            return int(ISO_FILE_READ_ERROR);
        }
        d->left -= n;
        // Ended early: shrunk. At the end it must be as it was, or the bytes are of two versions.
        if (n == 0 || (d->left == 0 && !unchanged(d))) {
            d->context->fail(DiscImageProblem::Kind::Changed, d->shownName);
            return int(ISO_FILE_READ_ERROR);
        }
        d->aheadPos = 0;
        d->aheadLen = int(n);
    }
    const int n = int(qMin<size_t>(count, size_t(d->aheadLen - d->aheadPos)));
    std::memcpy(buf, d->ahead.constData() + d->aheadPos, size_t(n));
    d->aheadPos += n;
    return n;
}

int fileIsRepeatable(IsoStream *) { return 1; }

void fileGetId(IsoStream *stream, unsigned int *fsId, dev_t *devId, ino_t *inoId)
{
    *fsId = 0x504C; // any id the library does not use; files are told apart by inoId
    *devId = 0;
    *inoId = ino_t(dataOf(stream)->id);
}

void fileFree(IsoStream *stream) { delete dataOf(stream); }

IsoStreamIface fileStreamClass = {0, {'p', 'l', 'm', 'f'}, fileOpen, fileClose, fileSize, fileRead,
                                  fileIsRepeatable, fileGetId, fileFree, nullptr, nullptr, nullptr, nullptr};

} // namespace

IsoStream *newFileStream(DiscImageContext *context, const QByteArray &path, const QString &shownName,
                         const FileStatus &seen, quint64 id)
{
    auto *data = new FileData{context, path, shownName, seen, id};
    // The library frees the stream itself, with free().
    auto *stream = static_cast<IsoStream *>(std::malloc(sizeof(IsoStream)));
    *stream = IsoStream{&fileStreamClass, 1, data};
    return stream;
}
