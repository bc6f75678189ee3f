#include "core/DiscImage.h"

#include "core/AtomicFile.h"

#include "core/CodePage.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>

// Not linked with libburn: the header then declares burn_source itself.
#define LIBISOFS_WITHOUT_LIBBURN
#include <libisofs/libisofs.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The header keeps this struct from C++ (a member is named "class"); the layout is the library's.
struct iso_stream {
    IsoStreamIface *klass;
    int refcount;
    void *data;
};

namespace {

// Shared between the library's writer thread (which reads the files) and the caller.
struct Context {
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

struct FileData {
    Context *context;
    QByteArray path; // with no link in its last part
    QString shownName;
    struct stat seen; // when the tree was read; the bytes copied must still be of this file
    ino_t id;
    int fd = -1;
    off_t left = 0;
    // The library asks for one 2 KiB block at a time; reading ahead saves most system calls.
    QByteArray ahead = {};
    int aheadPos = 0;
    int aheadLen = 0;
};

QString systemError() { return QString::fromLocal8Bit(strerror(errno)); }

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size
        && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

FileData *dataOf(IsoStream *stream) { return static_cast<FileData *>(stream->data); }

int fileClose(IsoStream *stream)
{
    FileData *d = dataOf(stream);
    if (d->fd >= 0)
        ::close(d->fd);
    d->fd = -1;
    d->ahead = QByteArray();
    d->aheadPos = d->aheadLen = 0;
    return 1;
}

int fileOpen(IsoStream *stream)
{
    FileData *d = dataOf(stream);
    {
        std::lock_guard<std::mutex> lock(d->context->mutex);
        d->context->currentFile = d->shownName;
    }
    // Not through a link, nor waiting on a FIFO put in the file's place.
    d->fd = ::open(d->path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (d->fd < 0) {
        if (errno == ELOOP)
            d->context->fail(DiscImageProblem::Kind::Changed, d->shownName);
        else
            d->context->fail(DiscImageProblem::Kind::Unreadable, d->shownName, systemError());
        return int(ISO_FILE_READ_ERROR);
    }
    struct stat st;
    if (::fstat(d->fd, &st) != 0 || !sameFile(st, d->seen)) {
        d->context->fail(DiscImageProblem::Kind::Changed, d->shownName);
        fileClose(stream);
        return int(ISO_FILE_READ_ERROR);
    }
    d->left = d->seen.st_size;
    return 1;
}

off_t fileSize(IsoStream *stream) { return dataOf(stream)->seen.st_size; }

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
        ssize_t n;
        do
            n = ::read(d->fd, d->ahead.data(), size_t(qMin<off_t>(d->ahead.size(), d->left)));
        while (n < 0 && errno == EINTR);
        if (n < 0) {
            d->context->fail(DiscImageProblem::Kind::Unreadable, d->shownName, systemError());
            return int(ISO_FILE_READ_ERROR);
        }
        d->left -= n;
        struct stat st;
        // Ended early: shrunk. At the end it must be as it was, or the bytes are of two versions.
        if (n == 0 || (d->left == 0 && (::fstat(d->fd, &st) != 0 || !sameFile(st, d->seen)))) {
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
    *inoId = dataOf(stream)->id;
}

void fileFree(IsoStream *stream) { delete dataOf(stream); }

IsoStreamIface fileStreamClass = {0, {'p', 'l', 'm', 'f'}, fileOpen, fileClose, fileSize, fileRead,
                                  fileIsRepeatable, fileGetId, fileFree, nullptr, nullptr, nullptr, nullptr};

void setTimes(IsoNode *node, const struct stat &st)
{
    iso_node_set_permissions(node, st.st_mode & 07777);
    iso_node_set_mtime(node, st.st_mtime);
    iso_node_set_atime(node, st.st_atime);
    iso_node_set_ctime(node, st.st_ctime);
}

// A name as the disc holds it. The library takes one character set for all names and makes
// both the Rock Ridge and the Joliet name of it, so a name that is not UTF-8 (from an old
// Windows archive) is read in the code page of the menu and goes on the disc as UTF-8;
// otherwise Windows would show "_" for each of its letters.
struct Name {
    QString text;
    QByteArray node;
};

Name nameOf(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return {text, bytes};
    const QString decoded = CodePage::system().decode(bytes);
    return {decoded, decoded.toUtf8()};
}

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

QByteArray realPath(const QByteArray &path)
{
    char *real = ::realpath(path.constData(), nullptr);
    const QByteArray result = real ? QByteArray(real) : QByteArray();
    std::free(real);
    return result;
}

class TreeBuilder
{
public:
    using Progress = std::function<void(int percent, const QString &file)>;

    // root is the data folder with no link in it; given is the path the user named it by.
    TreeBuilder(Context *context, const QByteArray &root, const QByteArray &given, const Progress &progress)
        : m_context(context), m_root(root), m_progress(progress)
    {
        addParts(root, &m_rootParts);
        addParts(given, &m_givenParts);
    }

    int files = 0;
    QStringList skipped;
    DiscImageProblem error;

    // disc is the folder's path on the disc, as parts of its names on the disk.
    bool addFolder(IsoDir *parent, const QByteArray &path, const struct stat &seen, const QList<QByteArray> &disc,
                   const QString &shown, const QString &subject)
    {
        // Before any byte is written the folders are read; a large disc takes a while.
        if (m_progress && !shown.isEmpty())
            m_progress(0, shown);
        QList<QByteArray> names;
        const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 && (errno == ELOOP || errno == ENOTDIR))
            return fail(DiscImageProblem::Kind::Changed, subject);
        if (fd < 0)
            return fail(DiscImageProblem::Kind::UnreadableFolder, subject, systemError());
        DIR *dir = ::fdopendir(fd);
        struct stat st;
        if (!dir) {
            ::close(fd);
            return fail(DiscImageProblem::Kind::UnreadableFolder, subject, systemError());
        }
        if (::fstat(fd, &st) != 0 || st.st_dev != seen.st_dev || st.st_ino != seen.st_ino) {
            ::closedir(dir);
            return fail(DiscImageProblem::Kind::Changed, subject);
        }
        errno = 0;
        while (const dirent *entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            // A save killed before its rename left its temporary file: it is no file of the disc.
            if (name != "." && name != ".." && !isTemporaryFileName(QFile::decodeName(name)))
                names.append(name);
            errno = 0;
        }
        const int readError = errno;
        ::closedir(dir);
        if (readError != 0) {
            errno = readError;
            return fail(DiscImageProblem::Kind::UnreadableFolder, subject, systemError());
        }
        std::sort(names.begin(), names.end());
        for (const QByteArray &name : names) {
            if (m_context->cancelled())
                return false;
            if (!addEntry(parent, path, disc, shown, name))
                return false;
        }
        return true;
    }

private:
    Context *m_context;
    QByteArray m_root;
    QList<QByteArray> m_rootParts;
    QList<QByteArray> m_givenParts;
    const Progress &m_progress;
    ino_t m_nextId = 1;

    bool inside(const QByteArray &real) const
    {
        return real == m_root || real.startsWith(m_root + '/');
    }

    bool fail(DiscImageProblem::Kind kind, const QString &shown, const QString &reason = {})
    {
        error = {kind, shown, reason};
        return false;
    }

    bool failAdding(int code, const QString &shown)
    {
        if (code == int(ISO_FILE_TOO_BIG))
            return fail(DiscImageProblem::Kind::TooLarge, shown);
        return fail(DiscImageProblem::Kind::CannotAdd, shown, QString::fromUtf8(iso_error_to_msg(code)));
    }

    // Where the link at path leads, from its own folder on the disc; empty when that is out of the data
    // folder, whose surroundings (the user's home, say) are nobody's business on a disc.
    QByteArray linkTarget(const QByteArray &path, const QList<QByteArray> &disc, const QByteArray &dest) const
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

    bool addEntry(IsoDir *parent, const QByteArray &folder, const QList<QByteArray> &folderDisc,
                  const QString &folderShown, const QByteArray &fileName)
    {
        const QByteArray path = folder + '/' + fileName;
        const QList<QByteArray> disc = folderDisc + QList<QByteArray>{fileName};
        const Name name = nameOf(fileName);
        const QString shown = folderShown.isEmpty() ? name.text : folderShown + QLatin1Char('/') + name.text;
        struct stat st;
        if (::lstat(path.constData(), &st) != 0)
            return fail(DiscImageProblem::Kind::Unreadable, shown, systemError());
        QByteArray source = path;
        if (S_ISLNK(st.st_mode)) {
            // Only a link to a file inside the folder becomes a file; anything else would drag in
            // files from outside the disc or loop, so it stays a link for Linux readers, or is
            // left out when it leads out of the folder.
            const QByteArray target = realPath(path);
            struct stat targetSt;
            if (!target.isEmpty() && inside(target) && ::lstat(target.constData(), &targetSt) == 0
                && S_ISREG(targetSt.st_mode)) {
                st = targetSt;
                source = target;
            } else {
                char dest[PATH_MAX + 1];
                const ssize_t n = ::readlink(path.constData(), dest, sizeof dest - 1);
                if (n < 0)
                    return fail(DiscImageProblem::Kind::Unreadable, shown, systemError());
                const QByteArray kept = linkTarget(path, folderDisc, QByteArray(dest, int(n)));
                if (kept.isEmpty()) {
                    skipped.append(shown);
                    return true;
                }
                QList<QByteArray> keptNames = kept.split('/');
                for (QByteArray &part : keptNames)
                    part = nameOf(part).node;
                IsoSymlink *link = nullptr;
                const int added = iso_tree_add_new_symlink(parent, name.node.constData(), joinParts(keptNames).constData(), &link);
                if (added < 0)
                    return failAdding(added, shown);
                setTimes(reinterpret_cast<IsoNode *>(link), st);
                return true;
            }
        }
        if (S_ISDIR(st.st_mode)) {
            IsoDir *dir = nullptr;
            const int added = iso_tree_add_new_dir(parent, name.node.constData(), &dir);
            if (added < 0)
                return failAdding(added, shown);
            setTimes(reinterpret_cast<IsoNode *>(dir), st);
            return addFolder(dir, path, st, disc, shown, shown);
        }
        if (!S_ISREG(st.st_mode))
            return true; // sockets, FIFOs and devices mean nothing on a disc
        auto *data = new FileData{m_context, source, shown, st, m_nextId++};
        // The library frees the stream itself, with free().
        auto *stream = static_cast<IsoStream *>(std::malloc(sizeof(IsoStream)));
        *stream = IsoStream{&fileStreamClass, 1, data};
        IsoFile *file = nullptr;
        const int added = iso_tree_add_new_file(parent, name.node.constData(), stream, &file);
        if (added < 0) {
            iso_stream_unref(stream);
            return failAdding(added, shown);
        }
        setTimes(reinterpret_cast<IsoNode *>(file), st);
        ++files;
        return true;
    }
};

// Whether the folder open as fd is top or lies anywhere below it, by whatever path it was named.
bool within(int fd, const struct stat &top)
{
    int at = ::dup(fd);
    while (at >= 0) {
        struct stat st;
        struct stat upSt;
        if (::fstat(at, &st) != 0)
            break;
        if (st.st_dev == top.st_dev && st.st_ino == top.st_ino) {
            ::close(at);
            return true;
        }
        const int up = ::openat(at, "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
        ::close(at);
        at = up;
        if (at >= 0 && ::fstat(at, &upSt) == 0 && upSt.st_dev == st.st_dev && upSt.st_ino == st.st_ino)
            break; // the top of the file system
    }
    if (at >= 0)
        ::close(at);
    return false;
}

// The image is written to a file of its own beside the target and renamed over the target at
// the end: the target is whole or untouched. The target is the name itself; a link there is
// replaced, never followed. The file is unnamed until it is whole where the file system allows
// (a kill then leaves nothing); a name it has is this program's.
struct ImageFile {
    int dir = -1;
    int fd = -1;
    QByteArray part;

    ~ImageFile()
    {
        if (fd >= 0)
            ::close(fd);
        if (!part.isEmpty())
            ::unlinkat(dir, part.constData(), 0);
        if (dir >= 0)
            ::close(dir);
    }

    // Gives the file a name of its own through make; 0 or the errno.
    template <typename Make>
    int name(Make make)
    {
        for (int tries = 0; tries < 100; ++tries) {
            const QByteArray name = ".pelmora-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".iso.part";
            if (make(name.constData())) {
                part = name;
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }

    int create(mode_t mode)
    {
        fd = ::openat(dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (fd >= 0)
            return 0;
        return name([&](const char *name) {
            fd = ::openat(dir, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            return fd >= 0;
        });
    }

    int write(const char *data, qint64 size)
    {
        while (size > 0) {
            const ssize_t n = ::write(fd, data, size_t(size));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return n < 0 ? errno : ENOSPC;
            data += n;
            size -= n;
        }
        return 0;
    }

    int commit(const QByteArray &target)
    {
        if (::fsync(fd) != 0)
            return errno;
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        // A link cannot replace a file, so the unnamed file gets a name and is renamed.
        if (part.isEmpty()) {
            if (const int error = name([&](const char *name) {
                    return ::linkat(fd, "", dir, name, AT_EMPTY_PATH) == 0
                        || (errno != EEXIST && ::linkat(AT_FDCWD, self.constData(), dir, name, AT_SYMLINK_FOLLOW) == 0);
                }))
                return error;
        }
        const int closed = ::close(fd);
        fd = -1;
        if (closed != 0 || ::renameat(dir, part.constData(), dir, target.constData()) != 0)
            return errno;
        part.clear();
        return 0;
    }
};

void initLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        iso_init();
        iso_set_local_charset(const_cast<char *>("UTF-8"), 0);
        // Errors reach the user through the result, not as lines on stderr.
        iso_set_msgs_severities(const_cast<char *>("NEVER"), const_cast<char *>("NEVER"), const_cast<char *>("pelmora"));
    });
}

struct ImageDeleter {
    void operator()(IsoImage *image) const { iso_image_unref(image); }
};
struct OptsDeleter {
    void operator()(IsoWriteOpts *opts) const { iso_write_opts_free(opts); }
};
struct SourceDeleter {
    void operator()(burn_source *source) const
    {
        source->free_data(source);
        free(source);
    }
};

} // namespace

QString isoVolumeId(const QString &label)
{
    QString id;
    for (QChar c : label.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c == QChar(0x0141) || c == QChar(0x0142)) // Ł and ł have no decomposition
            c = QLatin1Char('L');
        c = c.toUpper();
        const bool dChar = (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
        id += dChar ? c : QLatin1Char('_');
        if (id.size() == 32)
            break;
    }
    return id;
}

QString jolietVolumeId(const QString &label)
{
    return label.left(16);
}

namespace {

// Fills result and says why it failed; Kind::None when the image was written.
DiscImageProblem makeImage(const DiscImageJob &job, DiscImageResult &result)
{
    using Kind = DiscImageProblem::Kind;
    const QByteArray root = realPath(QFile::encodeName(job.dataFolder));
    struct stat rootSt;
    if (root.isEmpty() || ::stat(root.constData(), &rootSt) != 0 || !S_ISDIR(rootSt.st_mode)) {
        return {Kind::MissingFolder, job.dataFolder};
    }
    const QFileInfo target(job.imagePath);
    const QByteArray targetName = QFile::encodeName(target.fileName());
    const auto writeProblem = [&](int error) {
        if (error == ENOSPC || error == EDQUOT)
            return DiscImageProblem{Kind::DiskFull, target.absolutePath()};
        return DiscImageProblem{Kind::CannotWrite, job.imagePath, QString::fromLocal8Bit(strerror(error))};
    };
    ImageFile out;
    // The folder is taken as named, links and all; the name in it is not.
    out.dir = ::open(QFile::encodeName(target.absolutePath()).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (out.dir < 0) {
        return errno == ENOENT || errno == ENOTDIR ? DiscImageProblem{Kind::MissingTarget, job.imagePath}
                                                   : writeProblem(errno);
    }
    if (within(out.dir, rootSt)) {
        return {Kind::InsideFolder, job.imagePath};
    }
    struct stat existing;
    const bool exists = ::fstatat(out.dir, targetName.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
    if (targetName.isEmpty() || targetName == "." || targetName == ".." || (exists && S_ISDIR(existing.st_mode))) {
        return writeProblem(EISDIR);
    }
    const bool replacesFile = exists && S_ISREG(existing.st_mode);
    if (replacesFile && ::faccessat(out.dir, targetName.constData(), W_OK, AT_EACCESS) != 0) {
        return writeProblem(errno);
    }
    const QString label = job.label.isEmpty() ? nameOf(root.mid(root.lastIndexOf('/') + 1)).text : job.label;
    result.volumeId = isoVolumeId(label);
    result.jolietVolumeId = jolietVolumeId(label);

    initLibrary();
    Context context;
    context.cancel = job.cancel;
    IsoImage *rawImage = nullptr;
    if (iso_image_new(result.jolietVolumeId.toUtf8().constData(), &rawImage) < 0) {
        return {Kind::CannotLayOut, job.imagePath, QStringLiteral("out of memory")};
    }
    std::unique_ptr<IsoImage, ImageDeleter> image(rawImage);
    TreeBuilder builder(&context, root, QFile::encodeName(QDir::cleanPath(QFileInfo(job.dataFolder).absoluteFilePath())),
                        job.progress);
    if (!builder.addFolder(iso_image_get_root(image.get()), root, rootSt, {}, QString(), job.dataFolder)) {
        return context.cancelled() ? DiscImageProblem{Kind::Cancelled} : builder.error;
    }
    result.files = builder.files;
    result.skipped = builder.skipped;

    IsoWriteOpts *rawOpts = nullptr;
    iso_write_opts_new(&rawOpts, 0);
    std::unique_ptr<IsoWriteOpts, OptsDeleter> opts(rawOpts);
    iso_write_opts_set_iso_level(opts.get(), 3);
    iso_write_opts_set_rockridge(opts.get(), 1);
    iso_write_opts_set_joliet(opts.get(), 1);
    iso_write_opts_set_joliet_longer_paths(opts.get(), 1);
    iso_write_opts_set_joliet_long_names(opts.get(), 1);
    iso_write_opts_set_output_charset(opts.get(), "UTF-8");
    // Windows shows the dates of the Joliet records; by default they hold the time of writing.
    iso_write_opts_set_dir_rec_mtime(opts.get(), 1 | 2);
    burn_source *rawSource = nullptr;
    const int created = iso_image_create_burn_source(image.get(), opts.get(), &rawSource);
    if (created < 0) {
        return {Kind::CannotLayOut, job.imagePath, QString::fromUtf8(iso_error_to_msg(created))};
    }
    std::unique_ptr<burn_source, SourceDeleter> source(rawSource);
    const qint64 total = source->get_size(source.get());

    if (const int error = out.create(0666)) {
        source->cancel(source.get());
        return writeProblem(error);
    }
    // A file replaced keeps its permissions.
    if (replacesFile)
        ::fchmod(out.fd, existing.st_mode & 0777);
    constexpr int blockSize = 2048;
    constexpr int volumeIdOffset = 16 * blockSize + 40; // in the primary volume descriptor
    QByteArray buffer(256 * blockSize, Qt::Uninitialized);
    qint64 done = 0;
    int lastPercent = -1;
    QString lastFile;
    while (done < total) {
        // A read asking past the end returns nothing at all, so the last one asks for the rest.
        const int wanted = int(qMin<qint64>(buffer.size(), total - done));
        const int n = source->read_xt(source.get(), reinterpret_cast<unsigned char *>(buffer.data()), wanted);
        if (n <= 0 || context.cancelled() || context.failed().kind != Kind::None)
            break;
        // The library writes one volume name for both trees; ISO 9660 gets its own d-characters.
        if (done <= volumeIdOffset && volumeIdOffset + 32 <= done + n)
            std::memcpy(buffer.data() + (volumeIdOffset - done), result.volumeId.leftJustified(32).toLatin1().constData(), 32);
        if (const int error = out.write(buffer.constData(), n)) {
            const DiscImageProblem problem = writeProblem(error);
            context.fail(problem.kind, problem.subject, problem.reason);
            break;
        }
        done += n;
        if (job.progress) {
            QString file;
            {
                std::lock_guard<std::mutex> lock(context.mutex);
                file = context.currentFile;
            }
            const int percent = total > 0 ? int(done * 100 / total) : 100;
            if (percent != lastPercent || file != lastFile)
                job.progress(percent, file);
            lastPercent = percent;
            lastFile = file;
        }
    }
    const DiscImageProblem failure = context.failed();
    if (done < total || failure.kind != Kind::None) {
        source->cancel(source.get());
        if (failure.kind != Kind::None)
            return failure;
        if (context.cancelled())
            return {Kind::Cancelled};
        return {Kind::CannotLayOut, job.imagePath, QStringLiteral("the library stopped early")};
    }
    if (const int error = out.commit(targetName))
        return writeProblem(error);
    result.bytes = done;
    return {};
}

} // namespace

QString DiscImageProblem::englishText() const
{
    const QString why = reason.isEmpty() ? QString() : QStringLiteral(": ") + reason;
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::MissingFolder:
        return QStringLiteral("the data folder %1 does not exist").arg(subject);
    case Kind::MissingTarget:
        return QStringLiteral("the folder for %1 does not exist").arg(subject);
    case Kind::InsideFolder:
        return QStringLiteral("the image cannot be written inside the data folder");
    case Kind::Unreadable:
        return QStringLiteral("cannot read %1").arg(subject) + why;
    case Kind::TooLarge:
        return QStringLiteral("%1 is too large for the image").arg(subject);
    case Kind::CannotAdd:
        return QStringLiteral("cannot add %1 to the image").arg(subject) + why;
    case Kind::CannotWrite:
        return QStringLiteral("cannot write %1").arg(subject) + why;
    case Kind::CannotLayOut:
        return QStringLiteral("cannot lay out the image") + why;
    case Kind::Cancelled:
        return QStringLiteral("cancelled");
    case Kind::UnreadableFolder:
        return QStringLiteral("cannot read the folder %1").arg(subject) + why;
    case Kind::Changed:
        return QStringLiteral("%1 changed while the image was written; try again when nothing changes it").arg(subject);
    case Kind::DiskFull:
        return QStringLiteral("the disk is full: no room for the image in %1").arg(subject);
    }
    return {};
}

DiscImageResult writeDiscImage(const DiscImageJob &job)
{
    DiscImageResult result;
    result.problem = makeImage(job, result);
    result.ok = result.problem.kind == DiscImageProblem::Kind::None;
    result.cancelled = result.problem.kind == DiscImageProblem::Kind::Cancelled;
    result.error = result.problem.englishText();
    if (!result.ok) {
        result.files = 0;
        result.bytes = 0;
        result.skipped.clear();
    }
    return result;
}
