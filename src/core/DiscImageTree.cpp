#include "core/DiscImageTree.h"

#include "core/AtomicFile.h"
#include "core/CodePage.h"

#include "os/FolderReader.h"
#include "os/LinkTarget.h"
#include "os/NativePath.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

QByteArray joinParts(const QList<QByteArray> &parts) { return parts.join('/'); }

// The parts of path, "." and ".." taken out, added to parts; false when ".." goes above them.
bool addParts(const QByteArray &path, QList<QByteArray> *parts)
{
    for (const QByteArray &part : path.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part != "..")
            parts->append(part);
        else if (parts->isEmpty())
            return false;
        else
            parts->removeLast();
    }
    return true;
}

bool startsWith(const QList<QByteArray> &parts, const QList<QByteArray> &top)
{
    return parts.size() >= top.size() && std::equal(top.cbegin(), top.cend(), parts.cbegin());
}

// The way from the folder from to the path to, both from the top of the disc.
QByteArray relativePath(const QList<QByteArray> &from, const QList<QByteArray> &to)
{
    qsizetype common = 0;
    while (common < from.size() && common < to.size() && from[common] == to[common])
        ++common;
    QList<QByteArray> parts(from.size() - common, "..");
    parts += to.mid(common);
    return parts.isEmpty() ? QByteArray(".") : joinParts(parts);
}

// Whoever mounts the disc may read all of it, as distribution discs are made: owned by root,
// files readable by all with their execute bits kept, folders open to all. Nothing of the
// maker's own account (a private 0600 file, a user id) goes onto the disc.
void setAttributes(IsoNode *node, const FileStatus &status)
{
    const quint32 mode = status.kind == FileKind::Folder ? 0555
        : status.kind == FileKind::Link                  ? 0777
                                                         : 0444 | (status.permissions & 0111);
    iso_node_set_permissions(node, mode);
    iso_node_set_uid(node, 0);
    iso_node_set_gid(node, 0);
    iso_node_set_mtime(node, time_t(status.modified.seconds));
    iso_node_set_atime(node, time_t(status.accessed.seconds));
    iso_node_set_ctime(node, time_t(status.changed.seconds));
}

} // namespace

DiscName discNameOf(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return {text, bytes};
    const QString decoded = CodePage::system().decode(bytes);
    return {decoded, decoded.toUtf8()};
}

DiscImageTree::DiscImageTree(DiscImageContext *context, const QByteArray &root, const QByteArray &given,
                             const Progress &progress)
    : m_context(context), m_root(root), m_progress(progress)
{
    addParts(root, &m_rootParts);
    addParts(given, &m_givenParts);
}

bool DiscImageTree::addFolder(IsoDir *parent, const QByteArray &path, const FileStatus &seen,
                              const QList<QByteArray> &disc, const QString &shown, const QString &subject)
{
    // Before any byte is written the folders are read; a large disc takes a while.
    if (m_progress && !shown.isEmpty())
        m_progress(0, shown);
    QList<QByteArray> names;
    FolderReader folder;
    if (const SystemError opened = folder.open(path, Links::NoFollow)) {
        if (opened.cause == SystemError::Cause::Link || opened.cause == SystemError::Cause::NotFolder)
            return fail(DiscImageProblem::Kind::Changed, subject);
        return fail(DiscImageProblem::Kind::UnreadableFolder, subject, opened.text);
    }
    const std::optional<FileStatus> status = folder.status();
    if (!status || status->id != seen.id)
        return fail(DiscImageProblem::Kind::Changed, subject);
    FolderEntry entry;
    while (folder.next(&entry)) {
        // A save killed before its rename left its temporary file: it is no file of the disc.
        const QByteArray name = entry.name.toByteArray();
        if (!isTemporaryFileName(pathFromNative(name)))
            names.append(name);
    }
    if (const SystemError listed = folder.error())
        return fail(DiscImageProblem::Kind::UnreadableFolder, subject, listed.text);
    std::sort(names.begin(), names.end());
    for (const QByteArray &name : names) {
        if (m_context->cancelled())
            return false;
        if (!addEntry(parent, path, disc, shown, name))
            return false;
    }
    return true;
}

bool DiscImageTree::inside(const QByteArray &real) const
{
    return real == m_root || real.startsWith(m_root + '/');
}

bool DiscImageTree::fail(DiscImageProblem::Kind kind, const QString &shown, const QString &reason)
{
    error = {kind, shown, reason};
    return false;
}

bool DiscImageTree::failAdding(int code, const QString &shown)
{
    if (code == int(ISO_FILE_TOO_BIG))
        return fail(DiscImageProblem::Kind::TooLarge, shown);
    return fail(DiscImageProblem::Kind::CannotAdd, shown, QString::fromUtf8(iso_error_to_msg(code)));
}

// Where the link at path leads, from its own folder on the disc; empty when that is out of the data
// folder, whose surroundings (the user's home, say) are nobody's business on a disc.
QByteArray DiscImageTree::linkTarget(const QByteArray &path, const QList<QByteArray> &disc,
                                     const QByteArray &dest) const
{
    QList<QByteArray> parts;
    if (!dest.startsWith('/')) {
        parts = disc;
        if (addParts(dest, &parts))
            return dest;
    } else {
        for (const QList<QByteArray> *top : {&m_rootParts, &m_givenParts}) {
            parts.clear();
            if (addParts(dest, &parts) && startsWith(parts, *top))
                return relativePath(disc, parts.mid(top->size()));
        }
    }
    const QByteArray real = realPath(path);
    parts.clear();
    if (real.isEmpty() || !inside(real) || !addParts(real, &parts))
        return {};
    return relativePath(disc, parts.mid(m_rootParts.size()));
}

// A link that stays a link for Linux readers, or is left out when it leads out of the folder.
bool DiscImageTree::addLink(IsoDir *parent, const QByteArray &path, const QList<QByteArray> &folderDisc,
                            const DiscName &name, const QString &shown, const FileStatus &status)
{
    SystemError error;
    const std::optional<QByteArray> dest = readLink(path, &error);
    if (!dest)
        return fail(DiscImageProblem::Kind::Unreadable, shown, error.text);
    const QByteArray kept = linkTarget(path, folderDisc, *dest);
    if (kept.isEmpty()) {
        skipped.append(shown);
        return true;
    }
    QList<QByteArray> keptNames = kept.split('/');
    for (QByteArray &part : keptNames)
        part = discNameOf(part).node;
    IsoSymlink *link = nullptr;
    const int added =
        iso_tree_add_new_symlink(parent, name.node.constData(), joinParts(keptNames).constData(), &link);
    if (added < 0)
        return failAdding(added, shown);
    setAttributes(reinterpret_cast<IsoNode *>(link), status);
    return true;
}

bool DiscImageTree::addEntry(IsoDir *parent, const QByteArray &folder, const QList<QByteArray> &folderDisc,
                             const QString &folderShown, const QByteArray &fileName)
{
    const QByteArray path = folder + '/' + fileName;
    const QList<QByteArray> disc = folderDisc + QList<QByteArray>{fileName};
    const DiscName name = discNameOf(fileName);
    const QString shown = folderShown.isEmpty() ? name.text : folderShown + QLatin1Char('/') + name.text;
    SystemError error;
    std::optional<FileStatus> status = fileStatus(path, Links::NoFollow, &error);
    if (!status)
        return fail(DiscImageProblem::Kind::Unreadable, shown, error.text);
    QByteArray source = path;
    if (status->kind == FileKind::Link) {
        // Only a link to a file inside the folder becomes a file; anything else would drag in
        // files from outside the disc or loop.
        const QByteArray target = realPath(path);
        const std::optional<FileStatus> targetStatus =
            target.isEmpty() || !inside(target) ? std::nullopt : fileStatus(target, Links::NoFollow);
        if (!targetStatus || targetStatus->kind != FileKind::File)
            return addLink(parent, path, folderDisc, name, shown, *status);
        status = targetStatus;
        source = target;
    }
    if (status->kind == FileKind::Folder) {
        IsoDir *dir = nullptr;
        const int added = iso_tree_add_new_dir(parent, name.node.constData(), &dir);
        if (added < 0)
            return failAdding(added, shown);
        setAttributes(reinterpret_cast<IsoNode *>(dir), *status);
        return addFolder(dir, path, *status, disc, shown, shown);
    }
    if (status->kind != FileKind::File)
        return true; // sockets, FIFOs and devices mean nothing on a disc
    IsoStream *stream = newFileStream(m_context, source, shown, *status, m_nextId++);
    IsoFile *file = nullptr;
    const int added = iso_tree_add_new_file(parent, name.node.constData(), stream, &file);
    if (added < 0) {
        iso_stream_unref(stream);
        return failAdding(added, shown);
    }
    setAttributes(reinterpret_cast<IsoNode *>(file), *status);
    ++files;
    return true;
}
