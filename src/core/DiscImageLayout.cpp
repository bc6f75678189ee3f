#include "core/DiscImageLayout.h"

#include "core/DiscImagePrimaryTree.h"
#include "core/DiscImageNames.h"
#include "core/DiscImageTree.h"

#include "os/NativePath.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cstdlib>
#include <cstring>

namespace {

// Reads from source until head is size bytes long; false when the library or the job stops first.
bool readInto(burn_source *source, QByteArray &head, qint64 size, DiscImageContext &context)
{
    while (head.size() < size) {
        const qsizetype at = head.size();
        const int wanted = int(qMin<qint64>(size - at, 256 * blockSize));
        head.resize(at + wanted);
        const int n = source->read_xt(source, reinterpret_cast<unsigned char *>(head.data() + at), wanted);
        head.resize(at + qMax(n, 0));
        if (n <= 0 || context.cancelled() || context.failed().kind != DiscImageProblem::Kind::None)
            return false;
    }
    return true;
}

// Stand-ins that only take room, put into the crowded folders of the library's tree (and left
// out of the records written) so that its layout gives those folders blocks enough; false when
// a folder is not found.
bool makeRoom(IsoImage *image, const QList<std::pair<QByteArray, qint64>> &crowded, const QByteArray &prefix,
              QList<IsoNode *> *standIns)
{
    // A target this long goes on in a continuation area: the record is as long as records get,
    // about 200 bytes.
    const QByteArray target(200, 'x');
    for (const auto &[path, lacking] : crowded) {
        IsoNode *folder = nullptr;
        if (iso_tree_path_to_node(image, path.constData(), &folder) != 1 || !ISO_NODE_IS_DIR(folder))
            return false;
        for (qint64 room = 0; room < lacking + blockSize; room += 200) {
            IsoSymlink *link = nullptr;
            const QByteArray name = prefix + QByteArray::number(standIns->size());
            if (iso_tree_add_new_symlink(reinterpret_cast<IsoDir *>(folder), name.constData(),
                                         target.constData(), &link)
                < 0)
                return false;
            standIns->append(reinterpret_cast<IsoNode *>(link));
            iso_node_set_hidden(standIns->last(),
                                LIBISO_HIDE_ON_JOLIET | LIBISO_HIDE_ON_1999 | LIBISO_HIDE_ON_HFSPLUS
                                    | LIBISO_HIDE_ON_FAT);
        }
    }
    return true;
}

// The library writes one volume name, and the same as volume set name, for both trees; ISO 9660
// gets its own d-characters.
void writeDescriptorNames(QByteArray &head, const QString &volumeId)
{
    if (head.size() < 17 * blockSize)
        return;
    char *descriptor = head.data() + 16 * blockSize;
    for (const auto &[offset, size] : {std::pair{40, 32}, std::pair{190, 128}})
        std::memcpy(descriptor + offset,
                    volumeId.leftJustified(size, QLatin1Char(' '), true).toLatin1().constData(),
                    size_t(size));
}

} // namespace

void DiscImageLayout::SourceDeleter::operator()(burn_source *source) const
{
    source->free_data(source);
    free(source);
}

DiscImageLayout::DiscImageLayout(DiscImageContext *context)
    : m_context(context)
{
    initImageLibrary();
}

DiscImageLayout::~DiscImageLayout() = default;

DiscImageProblem DiscImageLayout::readTree(const DiscImageJob &job, const QByteArray &root,
                                           const FileStatus &rootStatus, DiscImageResult &result)
{
    using Kind = DiscImageProblem::Kind;
    IsoImage *rawImage = nullptr;
    if (iso_image_new(result.jolietVolumeId.toUtf8().constData(), &rawImage) < 0) {
        return {Kind::CannotLayOut, job.imagePath, QStringLiteral("out of memory")};
    }
    m_image.reset(rawImage);
    DiscImageTree tree(m_context, root,
                       nativePath(QDir::cleanPath(QFileInfo(job.dataFolder).absoluteFilePath())),
                       job.progress);
    if (!tree.addFolder(iso_image_get_root(m_image.get()), root, rootStatus, {}, QString(), job.dataFolder)) {
        return m_context->cancelled() ? DiscImageProblem{Kind::Cancelled} : tree.error;
    }
    result.files = tree.files;
    result.skipped = tree.skipped;
    return {};
}

DiscImageProblem DiscImageLayout::layOut(const QString &imagePath, const QString &volumeId)
{
    IsoWriteOpts *rawOpts = nullptr;
    iso_write_opts_new(&rawOpts, 0);
    m_opts.reset(rawOpts);
    IsoWriteOpts *opts = m_opts.get();
    setNaming(opts);
    // Windows shows the dates of the Joliet records; by default they hold the time of writing.
    iso_write_opts_set_dir_rec_mtime(opts, 1 | 2);
    // The image's first bytes, up to the end of its ISO 9660 folders, wait until those are
    // named. A folder whose records no longer fit in its blocks gets stand-ins taking room and
    // the image is laid out again; after four layouts the library's names stay.
    bool stopped = false;
    bool keepNames = false;
    const QByteArray roomPrefix =
        ".pelmora-room-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + '-';
    QList<IsoNode *> standIns;
    for (int layout = 1;; ++layout) {
        burn_source *rawSource = nullptr;
        const int created = iso_image_create_burn_source(m_image.get(), opts, &rawSource);
        if (created < 0) {
            return {DiscImageProblem::Kind::CannotLayOut, imagePath, QString::fromUtf8(iso_error_to_msg(created))};
        }
        m_source.reset(rawSource);
        m_total = m_source->get_size(m_source.get());
        m_head.clear();
        PrimaryTree tree;
        qint64 need = 0;
        bool read = false;
        while (!stopped && !(read = tree.read(m_head, &need))) {
            // Twice as much each time, as the folders are found one by one.
            const qint64 wanted = qMin(m_total, qMax(need, 2 * qint64(m_head.size())));
            if (wanted <= m_head.size())
                break; // not laid out as the library does: its names stay
            stopped = !readInto(m_source.get(), m_head, wanted, *m_context);
        }
        QList<std::pair<QByteArray, qint64>> crowded;
        using Fit = PrimaryTree::Fit;
        const Fit fit = read && !keepNames ? tree.rename(opts, roomPrefix, &crowded) : Fit::Never;
        if (fit == Fit::Fits)
            tree.write(m_head);
        if (stopped || fit == Fit::Fits || (fit == Fit::Never && standIns.isEmpty()))
            break;
        // The writer is done with the tree only once the source is gone.
        cancel();
        m_source.reset();
        if (fit == Fit::Crowded && layout < 4 && makeRoom(m_image.get(), crowded, roomPrefix, &standIns))
            continue;
        for (IsoNode *standIn : std::as_const(standIns))
            iso_node_remove(standIn);
        standIns.clear();
        keepNames = true;
    }
    if (stopped)
        return stop(imagePath);
    writeDescriptorNames(m_head, volumeId);
    return {};
}

void DiscImageLayout::forEachFolder(
    const std::function<void(const QString &, const QList<TreeEntry> &)> &visit) const
{
    QList<std::pair<QString, IsoDir *>> folders{{QString(), iso_image_get_root(m_image.get())}};
    QList<TreeEntry> entries;
    while (!folders.isEmpty()) {
        const auto [path, folder] = folders.takeLast();
        entries.clear();
        IsoDirIter *children = nullptr;
        if (iso_dir_get_children(folder, &children) != 1)
            continue;
        IsoNode *node = nullptr;
        while (iso_dir_iter_next(children, &node) == 1) {
            // Stand-ins taking room are no part of the disc.
            if (iso_node_get_hidden(node) & LIBISO_HIDE_ON_JOLIET)
                continue;
            TreeEntry entry{QString::fromUtf8(iso_node_get_name(node)), ISO_NODE_IS_DIR(node), 0};
            if (ISO_NODE_IS_FILE(node))
                entry.size = qint64(iso_file_get_size(reinterpret_cast<IsoFile *>(node)));
            if (entry.folder)
                folders.append({path.isEmpty() ? entry.name : path + QLatin1Char('/') + entry.name,
                                reinterpret_cast<IsoDir *>(node)});
            entries.append(entry);
        }
        iso_dir_iter_free(children);
        visit(path, entries);
    }
}

int DiscImageLayout::read(char *data, int size)
{
    return m_source->read_xt(m_source.get(), reinterpret_cast<unsigned char *>(data), size);
}

void DiscImageLayout::cancel()
{
    m_source->cancel(m_source.get());
}

DiscImageProblem DiscImageLayout::stop(const QString &imagePath)
{
    using Kind = DiscImageProblem::Kind;
    cancel();
    if (const DiscImageProblem failure = m_context->failed(); failure.kind != Kind::None)
        return failure;
    if (m_context->cancelled())
        return DiscImageProblem{Kind::Cancelled};
    return DiscImageProblem{Kind::CannotLayOut, imagePath, QStringLiteral("the library stopped early")};
}
