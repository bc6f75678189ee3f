#include "core/DiscImage.h"

#include "core/AtomicFile.h"

#include "core/CodePage.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <QStringDecoder>
#include <QtEndian>

// Not linked with libburn: the header then declares burn_source itself.
#define LIBISOFS_WITHOUT_LIBBURN
#include <libisofs/libisofs.h>

#include <algorithm>
#include <array>
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
    fileClose(stream); // still open when an earlier layout was given up while it was read
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
    qint64 written = 0;
    qint64 sent = 0; // what the disk was told to write so far

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
            written += n;
        }
        // The disk writes as the image is made, not all of it in commit's fsync at the end.
        constexpr qint64 writeBehind = 16 * 1024 * 1024;
        if (written - sent >= writeBehind) {
            ::sync_file_range(fd, sent, written - sent, SYNC_FILE_RANGE_WRITE);
            sent = written;
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

constexpr int blockSize = 2048;

// Letters with marks (the Polish ones among them) as their plain Latin letters, marks standing
// alone left out, any other character kept: never more characters than text has, so that a
// name made of it is no longer than the one the library made.
QString plainLatin(const QString &text)
{
    QString plain;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (c < 0x80) {
            plain += one;
        } else if (QChar::category(c) == QChar::Mark_NonSpacing) {
            continue;
        } else if (c == 0x141 || c == 0x142) { // Ł and ł have no decomposition
            plain += QLatin1Char(c == 0x141 ? 'L' : 'l');
        } else {
            const QChar base = one.normalized(QString::NormalizationForm_D).at(0);
            plain += base.unicode() < 0x80 && base.isLetter() ? QString(base) : one;
        }
    }
    return plain;
}

// The ISO 9660 name of the entry named name (UTF-8), as the library would make it of the name
// in plain Latin letters (files with ";1"); empty when it makes none.
QByteArray isoName(IsoWriteOpts *opts, const QByteArray &name, bool folder)
{
    QByteArray plain = plainLatin(QString::fromUtf8(name)).toUtf8();
    if (plain.isEmpty())
        plain = "_";
    char *made = nullptr;
    size_t length = 0;
    if (iso_conv_name_chars(opts, plain.data(), size_t(plain.size()), &made, &length, 3 | (folder ? 0x100 : 0) | 0x200) < 0)
        return {};
    const QByteArray result(made, qsizetype(length));
    std::free(made);
    return result;
}

// What decides the order of the records: the name without its version.
QByteArray sortKey(const QByteArray &id)
{
    const qsizetype version = id.indexOf(';');
    return version < 0 ? id : id.left(version);
}

constexpr int maxIdLength = 31; // name, dot and extension, from ISO 9660 level 2 on

// id with number in digits added to its name, cut as the library cuts its own: the name, then
// an extension too long to leave it a character.
QByteArray numbered(const QByteArray &id, bool folder, int digits, int number)
{
    QByteArray name = sortKey(id);
    const QByteArray version = id.mid(name.size());
    const qsizetype dot = folder ? -1 : name.lastIndexOf('.');
    QByteArray extension = dot < 0 ? QByteArray() : name.mid(dot);
    name.truncate(dot < 0 ? name.size() : dot);
    qsizetype room = maxIdLength - extension.size() - digits;
    if (room < 1) {
        extension.chop(1 - room);
        room = 1;
    }
    return name.left(room) + QByteArray::number(number).rightJustified(digits, '0') + extension + version;
}

// One entry of an ISO 9660 folder: one directory record, or one for each piece of a file over
// 4 GiB, which follow each other under one name.
struct Record {
    struct Piece {
        QByteArray fixed;     // the 33 bytes before the name
        QByteArray systemUse; // the Rock Ridge entries, kept as they are
    };
    QList<Piece> pieces;
    QByteArray id;
    QByteArray name;     // the Rock Ridge name, the entry's own
    bool folder = false; // named as a folder: one, or what stands for one moved deeper than 8

    bool isFolder() const { return pieces[0].fixed[25] & 2; }
    quint32 extent() const { return qFromLittleEndian<quint32>(pieces[0].fixed.constData() + 2); }
    int length(const Piece &piece) const
    {
        return 33 + int(id.size()) + (id.size() % 2 == 0 ? 1 : 0) + int(piece.systemUse.size());
    }
    void writeTo(const Piece &piece, char *at) const
    {
        std::memcpy(at, piece.fixed.constData(), 33);
        at[0] = char(length(piece));
        at[32] = char(id.size());
        std::memcpy(at + 33, id.constData(), size_t(id.size()));
        std::memcpy(at + length(piece) - piece.systemUse.size(), piece.systemUse.constData(), size_t(piece.systemUse.size()));
    }
};

// Names that came out alike are numbered as the library numbers its own: each gets a
// number of the fewest digits that leaves every name in the folder unique. records are sorted.
void numberAlike(QList<Record> &records)
{
    QSet<QByteArray> taken;
    for (const Record &record : records)
        taken.insert(record.id);
    for (qsizetype first = 0; first < records.size();) {
        qsizetype end = first + 1;
        while (end < records.size() && records[end].id == records[first].id)
            ++end;
        // Numbered by their own names, the same way whatever the order the library left them in.
        std::sort(records.begin() + first, records.begin() + end,
                  [](const Record &a, const Record &b) { return a.name < b.name; });
        for (int digits = 1, limit = 10; end - first > 1 && digits < 8; ++digits, limit *= 10) {
            QList<QByteArray> ids;
            for (int number = 0; ids.size() < end - first && number < limit; ++number) {
                const QByteArray id = numbered(records[first].id, records[first].folder, digits, number);
                if (!taken.contains(id))
                    ids.append(id);
            }
            if (ids.size() < end - first)
                continue;
            for (qsizetype i = 0; i < ids.size(); ++i) {
                records[first + i].id = ids[i];
                taken.insert(ids[i]);
            }
            break;
        }
        first = end;
    }
}

// Places the records one after another, none across the end of a block; the bytes they take.
template <typename Place>
qint64 pack(const QList<Record> &records, Place place)
{
    qint64 at = 0;
    for (const Record &record : records) {
        for (const Record::Piece &piece : record.pieces) {
            const int length = record.length(piece);
            if (at % blockSize + length > blockSize)
                at += blockSize - at % blockSize;
            place(record, piece, at);
            at += length;
        }
    }
    return at;
}

struct RockRidge {
    QByteArray name;
    bool moved = false;  // a folder moved up from deeper than 8
    quint32 movedTo = 0; // where the folder this entry stands for was moved
};

// The Rock Ridge entries of a record that matter here, continuation areas followed; false
// while head is too short for them, with *need how long it must be.
bool readRockRidge(const QByteArray &head, QByteArray area, RockRidge *entries, qint64 *need)
{
    for (int areas = 0; !area.isEmpty() && areas < 64; ++areas) {
        QByteArray next;
        for (qsizetype at = 0; at + 4 <= area.size();) {
            const char *entry = area.constData() + at;
            const int length = uchar(entry[2]);
            if (length < 4 || at + length > area.size() || QByteArray(entry, 2) == "ST")
                break;
            const QByteArray signature(entry, 2);
            if (signature == "NM" && length > 5)
                entries->name += QByteArray(entry + 5, length - 5);
            else if (signature == "RE")
                entries->moved = true;
            else if (signature == "CL" && length >= 12)
                entries->movedTo = qFromLittleEndian<quint32>(entry + 4);
            else if (signature == "CE" && length >= 28) {
                const qint64 from = qint64(qFromLittleEndian<quint32>(entry + 4)) * blockSize
                    + qFromLittleEndian<quint32>(entry + 12);
                const qint64 size = qFromLittleEndian<quint32>(entry + 20);
                if (from + size > head.size()) {
                    *need = from + size;
                    return false;
                }
                next = head.mid(from, size);
            }
            at += length;
        }
        area = next;
    }
    return true;
}

// The ISO 9660 side of an image as the library laid it out, read from the image's first bytes
// and named anew. The library makes its names of the file names with every letter but A-Z
// as "_" (żółw.ico is ___W.ICO); readers without Joliet or Rock Ridge (DOS, old players) show
// them. Names in plain Latin letters change the records' order and length, so each folder's
// records are sorted and laid out anew in the blocks the library gave it, and the path tables
// written anew in theirs.
class PrimaryTree
{
public:
    enum class Fit { Fits, Crowded, Never };

    // false while head is too short, with *need how long it must be.
    bool read(const QByteArray &head, qint64 *need)
    {
        m_folders.clear();
        m_at.clear();
        m_broken = false;
        *need = 0;
        if (head.size() < 17 * blockSize) {
            *need = 17 * blockSize;
            return false;
        }
        const char *descriptor = head.constData() + 16 * blockSize;
        m_tableSize = qFromLittleEndian<quint32>(descriptor + 132);
        m_tables = {qFromLittleEndian<quint32>(descriptor + 140), qFromLittleEndian<quint32>(descriptor + 144),
                    qFromBigEndian<quint32>(descriptor + 148), qFromBigEndian<quint32>(descriptor + 152)};
        for (const quint32 table : m_tables)
            *need = qMax(*need, qint64(table) * blockSize + tableRoom());
        if (*need > head.size())
            return false;
        m_queue = {folderAt(qFromLittleEndian<quint32>(descriptor + 156 + 2))};
        m_folders[0].size = qFromLittleEndian<quint32>(descriptor + 156 + 10);
        m_folders[0].walked = true;
        for (qsizetype i = 0; i < m_queue.size() && !m_broken; ++i) {
            if (!readFolder(head, m_queue[i], need))
                return false;
        }
        return true;
    }

    // Names every entry by isoName, leaving out the stand-ins whose name starts with
    // roomPrefix. Crowded: crowded lists the folders that no longer hold their records (their
    // paths, as the library's tree has them) and the bytes each lacks.
    Fit rename(IsoWriteOpts *opts, const QByteArray &roomPrefix, QList<std::pair<QByteArray, qint64>> *crowded)
    {
        if (m_broken)
            return Fit::Never;
        for (int i = 0; i < m_folders.size(); ++i) {
            Folder &folder = m_folders[i];
            QList<Record> entries = folder.records.mid(2);
            entries.removeIf([&](const Record &record) { return record.name.startsWith(roomPrefix); });
            for (Record &record : entries) {
                const QByteArray id = record.name.isEmpty() ? QByteArray() : isoName(opts, record.name, record.folder);
                if (!id.isEmpty())
                    record.id = id;
            }
            const auto byId = [](const Record &a, const Record &b) { return sortKey(a.id) < sortKey(b.id); };
            std::sort(entries.begin(), entries.end(), byId);
            numberAlike(entries);
            std::sort(entries.begin(), entries.end(), byId);
            folder.records = folder.records.mid(0, 2) + entries;
            bool tooLong = false;
            const qint64 used = pack(folder.records, [&](const Record &record, const Record::Piece &piece, qint64) {
                tooLong = tooLong || record.length(piece) > 255;
            });
            if (tooLong)
                return Fit::Never;
            if (used > folder.size)
                crowded->append({realPath(i), used - folder.size});
        }
        if (!crowded->isEmpty())
            return Fit::Crowded;
        return makeTables() ? Fit::Fits : Fit::Never;
    }

    void write(QByteArray &head) const
    {
        for (const Folder &folder : m_folders) {
            if (!folder.walked)
                continue;
            char *start = head.data() + qint64(folder.extent) * blockSize;
            std::memset(start, 0, folder.size);
            pack(folder.records, [&](const Record &record, const Record::Piece &piece, qint64 at) {
                record.writeTo(piece, start + at);
            });
        }
        for (int i = 0; i < 4; ++i) {
            if (m_tables[i] == 0)
                continue;
            char *table = head.data() + qint64(m_tables[i]) * blockSize;
            const QByteArray &bytes = i < 2 ? m_littleTable : m_bigTable;
            std::memset(table, 0, size_t(tableRoom()));
            std::memcpy(table, bytes.constData(), size_t(bytes.size()));
        }
        char *descriptor = head.data() + 16 * blockSize;
        qToLittleEndian<quint32>(quint32(m_littleTable.size()), descriptor + 132);
        qToBigEndian<quint32>(quint32(m_littleTable.size()), descriptor + 136);
    }

private:
    struct Folder {
        quint32 extent = 0;
        quint32 size = 0;
        bool walked = false;
        QList<Record> records; // "." and ".." first
        // What holds it in the library's tree (not where it was moved) and its name there.
        int parent = -1;
        QByteArray name;
    };
    QList<Folder> m_folders;
    QHash<quint32, int> m_at; // by extent
    QList<int> m_queue;       // the folders to read, as they are found
    bool m_broken = false;
    quint32 m_tableSize = 0;
    std::array<quint32, 4> m_tables{}; // first and second little-endian, then big-endian
    QByteArray m_littleTable;
    QByteArray m_bigTable;

    qint64 tableRoom() const { return (qint64(m_tableSize) + blockSize - 1) / blockSize * blockSize; }

    int folderAt(quint32 extent)
    {
        const auto found = m_at.constFind(extent);
        if (found != m_at.cend())
            return *found;
        Folder folder;
        folder.extent = extent;
        m_folders.append(folder);
        m_at.insert(extent, int(m_folders.size() - 1));
        return int(m_folders.size() - 1);
    }

    bool readFolder(const QByteArray &head, int index, qint64 *need)
    {
        const qint64 start = qint64(m_folders[index].extent) * blockSize;
        const qint64 end = start + m_folders[index].size;
        if (end > head.size()) {
            *need = end;
            return false;
        }
        QList<Record> records;
        for (qint64 at = start; at < end;) {
            const int length = uchar(head[at]);
            if (length == 0) {
                at += blockSize - at % blockSize;
                continue;
            }
            const int idLength = length >= 34 && at + length <= end ? uchar(head[at + 32]) : 0;
            const int systemUse = 33 + idLength + (idLength % 2 == 0 ? 1 : 0);
            if (idLength == 0 || systemUse > length) {
                m_broken = true;
                return true;
            }
            const Record::Piece piece{head.mid(at, 33), head.mid(at + systemUse, length - systemUse)};
            at += length;
            if (!records.isEmpty() && records.last().pieces.last().fixed[25] & 0x80) {
                records.last().pieces.append(piece);
                continue;
            }
            Record record;
            record.pieces = {piece};
            record.id = head.mid(at - length + 33, idLength);
            record.folder = !record.id.contains(';');
            if (records.size() >= 2) {
                RockRidge entries;
                if (!readRockRidge(head, piece.systemUse, &entries, need))
                    return false;
                record.name = entries.name;
                const quint32 holds = record.isFolder() ? record.extent() : entries.movedTo;
                if (holds != 0) {
                    const int sub = folderAt(holds);
                    if (record.isFolder() && !m_folders[sub].walked) {
                        m_folders[sub].size = qFromLittleEndian<quint32>(piece.fixed.constData() + 10);
                        m_folders[sub].walked = true;
                        m_queue.append(sub);
                    }
                    if (!entries.moved) {
                        m_folders[sub].parent = index;
                        m_folders[sub].name = entries.name;
                    }
                }
            }
            records.append(record);
        }
        m_folders[index].records = records;
        return true;
    }

    QByteArray realPath(int index) const
    {
        QByteArray path;
        for (int hops = 0; index >= 0 && m_folders[index].parent >= 0 && hops < 4096; ++hops) {
            path = '/' + m_folders[index].name + path;
            index = m_folders[index].parent;
        }
        return path.isEmpty() ? QByteArray("/") : path;
    }

    // The path tables of the folders in their new names: by depth, then by the number of the
    // folder holding them, then by name; false when they outgrow the library's blocks.
    bool makeTables()
    {
        m_littleTable.clear();
        m_bigTable.clear();
        const auto add = [&](const QByteArray &id, quint32 extent, quint16 parent) {
            char little[8] = {char(id.size()), 0};
            char big[8] = {char(id.size()), 0};
            qToLittleEndian(extent, little + 2);
            qToLittleEndian(parent, little + 6);
            qToBigEndian(extent, big + 2);
            qToBigEndian(parent, big + 6);
            const QByteArray pad(id.size() % 2, '\0');
            m_littleTable += QByteArray(little, 8) + id + pad;
            m_bigTable += QByteArray(big, 8) + id + pad;
        };
        QList<int> order{0};
        add(QByteArray(1, '\0'), m_folders[0].extent, 1);
        for (qsizetype number = 0; number < order.size(); ++number) {
            for (const Record &record : m_folders[order[number]].records.mid(2)) {
                if (!record.isFolder())
                    continue;
                order.append(m_at.value(record.extent()));
                add(record.id, record.extent(), quint16(number + 1));
            }
            if (order.size() > qMin<qsizetype>(m_folders.size(), 65535))
                return false;
        }
        return m_littleTable.size() <= tableRoom();
    }
};

} // namespace

QString isoVolumeId(const QString &label)
{
    QString id;
    for (const char32_t c : plainLatin(label).toUcs4()) {
        const char32_t upper = QChar::toUpper(c);
        const bool dChar = (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9');
        id += dChar ? QLatin1Char(char(upper)) : QLatin1Char('_');
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

// Reads from source until head is size bytes long; false when the library or the job stops first.
bool readInto(burn_source *source, QByteArray &head, qint64 size, Context &context)
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
            if (iso_tree_add_new_symlink(reinterpret_cast<IsoDir *>(folder), name.constData(), target.constData(), &link) < 0)
                return false;
            standIns->append(reinterpret_cast<IsoNode *>(link));
            iso_node_set_hidden(standIns->last(), LIBISO_HIDE_ON_JOLIET | LIBISO_HIDE_ON_1999 | LIBISO_HIDE_ON_HFSPLUS
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
        std::memcpy(descriptor + offset, volumeId.leftJustified(size, QLatin1Char(' '), true).toLatin1().constData(), size_t(size));
}

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
    // The image's first bytes, up to the end of its ISO 9660 folders, wait until those are
    // named. A folder whose records no longer fit in its blocks gets stand-ins taking room and
    // the image is laid out again; after four layouts the library's names stay.
    std::unique_ptr<burn_source, SourceDeleter> source;
    QByteArray head;
    qint64 total = 0;
    bool stopped = false;
    bool keepNames = false;
    const QByteArray roomPrefix = ".pelmora-room-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + '-';
    QList<IsoNode *> standIns;
    for (int layout = 1;; ++layout) {
        burn_source *rawSource = nullptr;
        const int created = iso_image_create_burn_source(image.get(), opts.get(), &rawSource);
        if (created < 0) {
            return {Kind::CannotLayOut, job.imagePath, QString::fromUtf8(iso_error_to_msg(created))};
        }
        source.reset(rawSource);
        total = source->get_size(source.get());
        head.clear();
        PrimaryTree tree;
        qint64 need = 0;
        bool read = false;
        while (!stopped && !(read = tree.read(head, &need))) {
            // Twice as much each time, as the folders are found one by one.
            const qint64 wanted = qMin(total, qMax(need, 2 * qint64(head.size())));
            if (wanted <= head.size())
                break; // not laid out as the library does: its names stay
            stopped = !readInto(source.get(), head, wanted, context);
        }
        QList<std::pair<QByteArray, qint64>> crowded;
        using Fit = PrimaryTree::Fit;
        const Fit fit = read && !keepNames ? tree.rename(opts.get(), roomPrefix, &crowded) : Fit::Never;
        if (fit == Fit::Fits)
            tree.write(head);
        if (stopped || fit == Fit::Fits || (fit == Fit::Never && standIns.isEmpty()))
            break;
        // The writer is done with the tree only once the source is gone.
        source->cancel(source.get());
        source.reset();
        if (fit == Fit::Crowded && layout < 4 && makeRoom(image.get(), crowded, roomPrefix, &standIns))
            continue;
        for (IsoNode *standIn : std::as_const(standIns))
            iso_node_remove(standIn);
        standIns.clear();
        keepNames = true;
    }
    const auto stop = [&] {
        source->cancel(source.get());
        if (const DiscImageProblem failure = context.failed(); failure.kind != Kind::None)
            return failure;
        if (context.cancelled())
            return DiscImageProblem{Kind::Cancelled};
        return DiscImageProblem{Kind::CannotLayOut, job.imagePath, QStringLiteral("the library stopped early")};
    };
    if (stopped)
        return stop();
    writeDescriptorNames(head, result.volumeId);

    if (const int error = out.create(0666)) {
        source->cancel(source.get());
        return writeProblem(error);
    }
    // A file replaced keeps its permissions.
    if (replacesFile)
        ::fchmod(out.fd, existing.st_mode & 0777);
    qint64 done = 0;
    int lastPercent = -1;
    QString lastFile;
    // Writes bytes; false when the disk will not take them.
    const auto writeOut = [&](const QByteArray &bytes, qsizetype size) {
        if (const int error = out.write(bytes.constData(), size)) {
            const DiscImageProblem problem = writeProblem(error);
            context.fail(problem.kind, problem.subject, problem.reason);
            return false;
        }
        done += size;
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
        return true;
    };
    QByteArray buffer(256 * blockSize, Qt::Uninitialized);
    bool written = writeOut(head, head.size());
    head = QByteArray();
    while (written && done < total) {
        // A read asking past the end returns nothing at all, so the last one asks for the rest.
        const int wanted = int(qMin<qint64>(buffer.size(), total - done));
        const int n = source->read_xt(source.get(), reinterpret_cast<unsigned char *>(buffer.data()), wanted);
        if (n <= 0 || context.cancelled() || context.failed().kind != Kind::None)
            break;
        written = writeOut(buffer, n);
    }
    if (done < total || context.failed().kind != Kind::None)
        return stop();
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
