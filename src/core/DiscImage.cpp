#include "core/DiscImage.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

// Not linked with libburn: the header then declares burn_source itself.
#define LIBISOFS_WITHOUT_LIBBURN
#include <libisofs/libisofs.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

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
    QByteArray path; // the file read (a link's target)
    QString shownName;
    off_t size;
    ino_t id;
    int fd = -1;
    // The library asks for one 2 KiB block at a time; reading ahead saves most system calls.
    QByteArray ahead = {};
    int aheadPos = 0;
    int aheadLen = 0;
};

QString systemError() { return QString::fromLocal8Bit(strerror(errno)); }

FileData *dataOf(IsoStream *stream) { return static_cast<FileData *>(stream->data); }

int fileOpen(IsoStream *stream)
{
    FileData *d = dataOf(stream);
    {
        std::lock_guard<std::mutex> lock(d->context->mutex);
        d->context->currentFile = d->shownName;
    }
    d->fd = ::open(d->path.constData(), O_RDONLY | O_CLOEXEC);
    if (d->fd < 0) {
        d->context->fail(DiscImageProblem::Kind::Unreadable, d->shownName, systemError());
        return int(ISO_FILE_READ_ERROR);
    }
    return 1;
}

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

off_t fileSize(IsoStream *stream) { return dataOf(stream)->size; }

int fileRead(IsoStream *stream, void *buf, size_t count)
{
    FileData *d = dataOf(stream);
    if (d->context->cancelled())
        return int(ISO_CANCELED);
    if (d->aheadPos == d->aheadLen) {
        if (d->ahead.isEmpty())
            d->ahead.resize(256 * 1024);
        ssize_t n;
        do
            n = ::read(d->fd, d->ahead.data(), size_t(d->ahead.size()));
        while (n < 0 && errno == EINTR);
        if (n < 0) {
            d->context->fail(DiscImageProblem::Kind::Unreadable, d->shownName, systemError());
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

QByteArray pathBytes(const QString &path) { return QFile::encodeName(path); }

void setTimes(IsoNode *node, const struct stat &st)
{
    iso_node_set_permissions(node, st.st_mode & 07777);
    iso_node_set_mtime(node, st.st_mtime);
    iso_node_set_atime(node, st.st_atime);
    iso_node_set_ctime(node, st.st_ctime);
}

class TreeBuilder
{
public:
    using Progress = std::function<void(int percent, const QString &file)>;

    TreeBuilder(Context *context, QString root, const Progress &progress)
        : m_context(context), m_root(std::move(root)), m_progress(progress) {}

    int files = 0;
    DiscImageProblem error;

    bool addFolder(IsoDir *parent, const QString &folder, const QString &shown)
    {
        // Before any byte is written the folders are read; a large disc takes a while.
        if (m_progress && !shown.isEmpty())
            m_progress(0, shown);
        const QFileInfoList entries = QDir(folder).entryInfoList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo &entry : entries) {
            if (m_context->cancelled())
                return false;
            if (!addEntry(parent, entry, shown.isEmpty() ? entry.fileName() : shown + QLatin1Char('/') + entry.fileName()))
                return false;
        }
        return true;
    }

private:
    Context *m_context;
    QString m_root;
    const Progress &m_progress;
    ino_t m_nextId = 1;

    bool inside(const QString &canonical) const
    {
        return canonical == m_root || canonical.startsWith(m_root + QLatin1Char('/'));
    }

    bool fail(DiscImageProblem::Kind kind, const QString &shown, const QString &reason = {})
    {
        error = {kind, shown, reason};
        return false;
    }

    bool addEntry(IsoDir *parent, const QFileInfo &entry, const QString &shown)
    {
        const QByteArray path = pathBytes(entry.absoluteFilePath());
        const QByteArray name = pathBytes(entry.fileName());
        struct stat st;
        if (::lstat(path.constData(), &st) != 0)
            return fail(DiscImageProblem::Kind::Unreadable, shown, systemError());
        QByteArray source = path;
        if (S_ISLNK(st.st_mode)) {
            // Only a link to a file inside the folder becomes a file; anything else would drag in
            // files from outside the disc or loop, so it stays a link for Linux readers.
            const QString target = entry.canonicalFilePath();
            struct stat targetSt;
            if (!target.isEmpty() && inside(target) && ::stat(path.constData(), &targetSt) == 0
                && S_ISREG(targetSt.st_mode)) {
                st = targetSt;
                source = pathBytes(target);
            } else {
                char dest[4096];
                const ssize_t n = ::readlink(path.constData(), dest, sizeof dest - 1);
                if (n < 0)
                    return fail(DiscImageProblem::Kind::Unreadable, shown, systemError());
                dest[n] = 0;
                IsoSymlink *link = nullptr;
                if (iso_tree_add_new_symlink(parent, name.constData(), dest, &link) < 0)
                    return fail(DiscImageProblem::Kind::CannotAdd, shown);
                setTimes(reinterpret_cast<IsoNode *>(link), st);
                return true;
            }
        }
        if (S_ISDIR(st.st_mode)) {
            IsoDir *dir = nullptr;
            if (iso_tree_add_new_dir(parent, name.constData(), &dir) < 0)
                return fail(DiscImageProblem::Kind::CannotAdd, shown);
            setTimes(reinterpret_cast<IsoNode *>(dir), st);
            return addFolder(dir, entry.absoluteFilePath(), shown);
        }
        if (!S_ISREG(st.st_mode))
            return true; // sockets, FIFOs and devices mean nothing on a disc
        auto *data = new FileData{m_context, source, shown, st.st_size, m_nextId++};
        // The library frees the stream itself, with free().
        auto *stream = static_cast<IsoStream *>(std::malloc(sizeof(IsoStream)));
        *stream = IsoStream{&fileStreamClass, 1, data};
        IsoFile *file = nullptr;
        const int added = iso_tree_add_new_file(parent, name.constData(), stream, &file);
        if (added < 0) {
            iso_stream_unref(stream);
            if (added == int(ISO_FILE_TOO_BIG))
                return fail(DiscImageProblem::Kind::TooLarge, shown);
            return fail(DiscImageProblem::Kind::CannotAdd, shown);
        }
        setTimes(reinterpret_cast<IsoNode *>(file), st);
        ++files;
        return true;
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
    const QString root = QFileInfo(job.dataFolder).canonicalFilePath();
    if (root.isEmpty() || !QFileInfo(root).isDir()) {
        return {Kind::MissingFolder, job.dataFolder};
    }
    const QString targetDir = QFileInfo(QFileInfo(job.imagePath).absolutePath()).canonicalFilePath();
    if (targetDir.isEmpty()) {
        return {Kind::MissingTarget, job.imagePath};
    }
    if (targetDir == root || targetDir.startsWith(root + QLatin1Char('/'))) {
        return {Kind::InsideFolder, job.imagePath};
    }
    const QString label = job.label.isEmpty() ? QFileInfo(root).fileName() : job.label;
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
    TreeBuilder builder(&context, root, job.progress);
    if (!builder.addFolder(iso_image_get_root(image.get()), root, QString())) {
        return context.cancelled() ? DiscImageProblem{Kind::Cancelled} : builder.error;
    }
    result.files = builder.files;

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

    QSaveFile out(job.imagePath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        source->cancel(source.get());
        return {Kind::CannotWrite, job.imagePath, out.errorString()};
    }
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
        if (out.write(buffer.constData(), n) != n) {
            context.fail(Kind::CannotWrite, job.imagePath, out.errorString());
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
        out.cancelWriting();
        if (failure.kind != Kind::None)
            return failure;
        if (context.cancelled())
            return {Kind::Cancelled};
        return {Kind::CannotLayOut, job.imagePath, QStringLiteral("the library stopped early")};
    }
    if (!out.commit())
        return {Kind::CannotWrite, job.imagePath, out.errorString()};
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
        return QStringLiteral("cannot add %1 to the image").arg(subject);
    case Kind::CannotWrite:
        return QStringLiteral("cannot write %1").arg(subject) + why;
    case Kind::CannotLayOut:
        return QStringLiteral("cannot lay out the image") + why;
    case Kind::Cancelled:
        return QStringLiteral("cancelled");
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
    }
    return result;
}
