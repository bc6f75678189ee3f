#pragma once

#include "core/DiscImageFiles.h"

#include <functional>
#include <memory>

// The image as the library makes it: its tree, read from the data folder, then its bytes, the
// first of them (up to the end of its ISO 9660 folders) named anew in plain Latin letters.
class DiscImageLayout
{
public:
    explicit DiscImageLayout(DiscImageContext *context);
    ~DiscImageLayout();

    // Reads the data folder root (with no link in it), seen as rootStatus, into an image named
    // result.jolietVolumeId; result gets its files and the links left out.
    DiscImageProblem readTree(const DiscImageJob &job, const QByteArray &root, const FileStatus &rootStatus,
                              DiscImageResult &result);
    // Lays the image out; head() then holds its first bytes, the volume name volumeId in them.
    DiscImageProblem layOut(const QString &imagePath, const QString &volumeId);

    qint64 size() const { return m_total; }

    // One entry of the image's tree as readTree made it.
    struct TreeEntry
    {
        QString name;
        bool folder = false;
        qint64 size = 0; // of a file
    };
    // Calls visit(folder, entries) for each folder of the tree, the root first; folder is its
    // path in the image, "" for the root, folders joined with "/".
    void forEachFolder(const std::function<void(const QString &, const QList<TreeEntry> &)> &visit) const;
    QByteArray &head() { return m_head; }
    // The bytes after the head, up to size of them; nothing when the library stops.
    int read(char *data, int size);
    // Stops the library, which will not be asked for more bytes.
    void cancel();
    // Stops the library, and says what stopped it early.
    DiscImageProblem stop(const QString &imagePath);

private:
    struct ImageDeleter {
        void operator()(IsoImage *image) const { iso_image_unref(image); }
    };
    struct OptsDeleter {
        void operator()(IsoWriteOpts *opts) const { iso_write_opts_free(opts); }
    };
    struct SourceDeleter {
        void operator()(burn_source *source) const;
    };

    DiscImageContext *m_context;
    // In this order, so that the source goes first: the library's writer uses the tree and the
    // options until it is gone.
    std::unique_ptr<IsoImage, ImageDeleter> m_image;
    std::unique_ptr<IsoWriteOpts, OptsDeleter> m_opts;
    std::unique_ptr<burn_source, SourceDeleter> m_source;
    QByteArray m_head;
    qint64 m_total = 0;
};
