#include "core/DiscPath.h"

#include "core/CaseFolding.h"
#include "core/NameIndex.h"
#include "os/FileStatus.h"
#include "os/FolderReader.h"
#include "os/NativePath.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QDateTime>
#include <QMutex>

#include <optional>

namespace {

struct Resolution
{
    QString path;
    bool found = true; // every component named an existing entry
};

// The names of one folder by their case-folded form, each with its first spelling in name
// order, as long as the folder is unchanged. Asking whether a file exists in other letter
// case then costs a status call, however many files the folder holds: the label edit asks
// after every keystroke whether the menu file exists.
class FolderIndex
{
public:
    QString match(const QString &folder, const QString &name)
    {
        const std::optional<State> now = stateOf(folder);
        if (!now)
            return {};
        const QMutexLocker lock(&m_mutex);
        // The disc check asks about every folder the menu names; more than this many at once
        // is rare enough to start afresh.
        if (m_entries.size() >= 1024 && !m_entries.contains(folder))
            m_entries.clear();
        Entry &entry = m_entries[folder];
        if (!entry.trusted || !(entry.state == *now)) {
            const qint64 listedAt = nowNs();
            entry.names = list(folder);
            entry.state = *now;
            // A change in the same clock tick as the listing would leave the folder's time as
            // it was: a listing is trusted only when the folder's last change lies clearly
            // before it. File systems that keep whole seconds get a wider margin.
            const qint64 margin = now->modified % 1000000000 == 0 ? qint64(2000000000) : qint64(20000000);
            entry.trusted = now->modified + margin < listedAt;
        }
        return entry.names.value(name.toCaseFolded());
    }

private:
    // The folder's times (nanoseconds) and size; they change when an entry is made, renamed
    // or removed.
    struct State
    {
        qint64 modified = 0;
        qint64 changed = 0;
        qint64 size = 0;
        bool operator==(const State &o) const
        {
            return modified == o.modified && changed == o.changed && size == o.size;
        }
    };
    struct Entry
    {
        State state;
        bool trusted = false;
        QHash<QString, QString> names;
    };

    static qint64 nowNs() { return QDateTime::currentMSecsSinceEpoch() * 1000000; }

    static std::optional<State> stateOf(const QString &folder)
    {
        const std::optional<FileStatus> status = fileStatus(nativePath(folder), Links::Follow);
        if (!status || status->kind != FileKind::Folder)
            return std::nullopt;
        const auto ns = [](const FileTime &t) { return t.seconds * 1000000000 + t.nanoseconds; };
        return State{ns(status->modified), ns(status->changed), status->size};
    }

    static QHash<QString, QString> list(const QString &folder)
    {
        QHash<QString, QString> names;
        QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (entries.hasNext()) {
            entries.next();
            const QString entry = entries.fileName();
            QString &first = names[entry.toCaseFolded()];
            if (first.isEmpty() || entry < first)
                first = entry;
        }
        return names;
    }

    QMutex m_mutex;
    QHash<QString, Entry> m_entries;
};

// The on-disk spelling of name inside folder: the exact name when it exists, else the entry
// that differs only in letter case (the first in name order when there are several); empty
// when there is none.
QString matchComponent(const QString &folder, const QString &name)
{
    if (QFileInfo::exists(folder + name))
        return name;
    static FolderIndex index;
    const QString match = index.match(folder, name);
    // Only a name of the same length is the same name in other letter case.
    return match.size() == name.size() ? match : QString();
}

// match(folder, name) gives the on-disk spelling of name in folder, as matchComponent does.
template <typename Match>
Resolution resolve(const QString &dataFolder, const QString &discPath, const Match &match)
{
    // Windows takes "/" as a separator as well, so a hand-written "bin/setup.exe" counts.
    // One leading separator starts at the root of the disc, which is the data folder; two
    // start a network path, which names nothing on the disc.
    const auto isSeparator = [](QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); };
    const bool fromRoot = discPath.size() > 1 && isSeparator(discPath[0]) && !isSeparator(discPath[1]);
    QStringList parts;
    const QStringView rest = QStringView(discPath).mid(fromRoot ? 1 : 0);
    qsizetype from = 0;
    for (qsizetype i = 0; i <= rest.size(); ++i) {
        if (i == rest.size() || isSeparator(rest[i])) {
            parts << rest.mid(from, i - from).toString();
            from = i + 1;
        }
    }
    Resolution r{dataFolder, !discPath.isEmpty()};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        const bool last = i + 1 == parts.size();
        if (r.found && !(last && part.isEmpty())) {
            const QString spelling = part.isEmpty() ? QString() : match(r.path, part);
            if (spelling.isEmpty())
                r.found = false;
            r.path += spelling.isEmpty() ? part : spelling;
        } else {
            r.path += part;
        }
        if (!last)
            r.path += QLatin1Char('/');
    }
    return r;
}

} // namespace

QString nativePathOf(const QString &dataFolder, const QString &discPath)
{
    return resolve(dataFolder, discPath, matchComponent).path;
}

bool discFileExists(const QString &dataFolder, const QString &discPath)
{
    const Resolution r = resolve(dataFolder, discPath, matchComponent);
    return r.found && QFileInfo(r.path).isFile();
}

struct DiscFiles::Entry
{
    QString name;
    bool exists = false;      // the entry itself, or what its link leads to
    bool isFile = false;      // a regular file, through a link too
    Folder *folder = nullptr; // its listing, once a path led into it
    qsizetype nextSame = -1;  // the next entry of the same folded name
};

struct DiscFiles::Folder
{
    QString path;        // native, ending with the separator
    bool listed = false; // false: the file system is asked instead
    std::vector<Entry> entries;
    NameIndex byFolded; // the first entry of each folded name

    // The key of an entry in the index: its name folded.
    QStringView foldedOf(qsizetype i, QString &spare) const { return foldedCase(entries[size_t(i)].name, spare); }

    // The entry name stands for, as matchComponent() finds it: the exact spelling, else the
    // first in name order of those that differ only in letter case.
    Entry *find(QStringView name, QStringView folded)
    {
        qsizetype i = byFolded.find(folded, [this](qsizetype i, QString &spare) { return foldedOf(i, spare); });
        Entry *first = nullptr;
        for (; i >= 0; i = entries[size_t(i)].nextSame) {
            Entry &entry = entries[size_t(i)];
            if (entry.exists && entry.name == name)
                return &entry;
            if (!first || entry.name < first->name)
                first = &entry;
        }
        return first && first->name.size() == name.size() ? first : nullptr;
    }
};

DiscFiles::DiscFiles(const QString &dataFolder)
{
    m_root = listed(dataFolder);
}

DiscFiles::~DiscFiles() = default;

DiscFiles::Folder *DiscFiles::listed(const QString &path)
{
    Folder &folder = *m_folders.emplace_back(std::make_unique<Folder>());
    folder.path = path;
    FolderReader reader;
    if (reader.open(nativePath(path), Links::Follow) || !reader.canEnter())
        return &folder;
    folder.listed = true;
    FolderEntry entry;
    while (reader.next(&entry)) {
        const QByteArray raw = entry.name.toByteArray();
        Entry found{pathFromNative(raw), true, entry.kind == FileKind::File};
        if (entry.kind == FileKind::Link || entry.kind == FileKind::Unknown) {
            const std::optional<FileStatus> target = reader.statusOf(entry, Links::Follow);
            found.exists = target.has_value();
            found.isFile = target && target->kind == FileKind::File;
        }
        // A name that does not come back to its bytes names nothing the file system finds by it.
        if (found.name.contains(QChar::ReplacementCharacter) && nativePath(found.name) != raw)
            found.exists = found.isFile = false;
        folder.entries.push_back(std::move(found));
    }
    const qsizetype count = qsizetype(folder.entries.size());
    const auto key = [&](qsizetype i, QString &spare) { return folder.foldedOf(i, spare); };
    const QList<bool> first = folder.byFolded.build(count, key);
    // Names that differ only in letter case, rare, are chained to the first of them.
    for (qsizetype i = count - 1; i >= 0; --i) {
        if (first[i])
            continue;
        Entry &head = folder.entries[size_t(folder.byFolded.find(folder.foldedOf(i, m_spare), key))];
        folder.entries[size_t(i)].nextSame = head.nextSame;
        head.nextSame = i;
    }
    return &folder;
}

bool DiscFiles::exists(QStringView discPath)
{
    // A path is often asked about twice in a row: a command's program, then the program.
    if (discPath != m_lastPath) {
        m_lastAnswer = lookUp(discPath);
        m_lastPath.resize(0);
        m_lastPath.append(discPath);
    }
    return m_lastAnswer;
}

QString DiscFiles::nativePathOf(QStringView discPath)
{
    return exists(discPath) ? m_lastNative : QString();
}

bool DiscFiles::lookUp(QStringView discPath)
{
    // Split as resolve() splits it.
    const auto isSeparator = [](QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); };
    const bool fromRoot = discPath.size() > 1 && isSeparator(discPath[0]) && !isSeparator(discPath[1]);
    const QStringView rest = discPath.mid(fromRoot ? 1 : 0);
    Folder *folder = m_root;
    qsizetype from = 0;
    // Paths in one folder are asked about in a row (a command's longer readings, then its
    // program): the folder of the last path is taken as it was found.
    qsizetype lastSeparator = rest.size() - 1;
    while (lastSeparator >= 0 && !isSeparator(rest[lastSeparator]))
        --lastSeparator;
    if (m_lastFolder && lastSeparator >= 0 && rest.left(lastSeparator) == m_lastFolderPath) {
        folder = m_lastFolder;
        from = lastSeparator + 1;
    }
    for (qsizetype i = from; i <= rest.size(); ++i) {
        if (i < rest.size() && !isSeparator(rest[i]))
            continue;
        // An empty part (a doubled separator, or a trailing one after a folder) names no file.
        const QStringView part = rest.mid(from, i - from);
        if (part.isEmpty())
            return false;
        // "." and ".." are never listed, and a name with a lone surrogate is not the name it
        // stands for on disk: the file system answers for the rest of the path.
        const bool dots = part[0] == u'.' && (part.size() == 1 || (part.size() == 2 && part[1] == u'.'));
        if (!folder->listed || dots || !part.isValidUtf16()) {
            m_lastNative = ::nativePathOf(folder->path, rest.mid(from).toString());
            return discFileExists(folder->path, rest.mid(from).toString());
        }
        const bool last = i == rest.size();
        if (last && from > 0 && folder != m_lastFolder) {
            m_lastFolder = folder;
            m_lastFolderPath.resize(0);
            m_lastFolderPath.append(rest.left(from - 1));
        }
        Entry *entry = folder->find(part, foldedCase(part, m_spare));
        if (!entry)
            return false;
        if (last) {
            if (entry->isFile)
                m_lastNative = folder->path + entry->name;
            return entry->isFile;
        }
        if (!entry->folder)
            entry->folder = listed(folder->path + entry->name + QLatin1Char('/'));
        folder = entry->folder;
        from = i + 1;
    }
    return false;
}

QString discPathOf(const QString &dataFolder, const QString &nativePath)
{
    QString disc = nativePath.mid(dataFolder.size());
    disc.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return disc;
}

QString folderName(const QString &folder)
{
    QString path = folder;
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool isProgramPath(const QString &path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && name.mid(dot).compare(QLatin1String(".exe"), Qt::CaseInsensitive) == 0;
}
