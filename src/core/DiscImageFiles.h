#pragma once

#include "core/DiscImage.h"
#include "core/DiscImageLibrary.h"

#include "os/FileStatus.h"

#include <mutex>

// What the library's writer thread, which reads the files, shares with the caller.
struct DiscImageContext {
    const std::atomic_bool *cancel = nullptr;
    std::mutex mutex;
    QString currentFile;
    DiscImageProblem failure;

    bool cancelled() const { return cancel && cancel->load(); }
    DiscImageProblem failed()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return failure;
    }
    void fail(DiscImageProblem::Kind kind, const QString &subject, const QString &reason = {})
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (failure.kind == DiscImageProblem::Kind::None)
            failure = {kind, subject, reason};
    }
};

// The stream through which the library reads the file at path (with no link in its last part),
// shown as shownName, numbered id among the image's files. The bytes copied must be of the
// file seen when the tree was read: a change is a failure in context.
IsoStream *newFileStream(DiscImageContext *context, const QByteArray &path, const QString &shownName,
                         const FileStatus &seen, quint64 id);
