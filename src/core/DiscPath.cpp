#include "core/DiscPath.h"

#include "platform/os/FileStatus.h"

#include <QDir>
#include <QFile>
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
        const std::optional<FileStatus> status = fileStatus(QFile::encodeName(folder), Links::Follow);
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

Resolution resolve(const QString &dataFolder, const QString &discPath)
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
            const QString match = part.isEmpty() ? QString() : matchComponent(r.path, part);
            if (match.isEmpty())
                r.found = false;
            r.path += match.isEmpty() ? part : match;
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
    return resolve(dataFolder, discPath).path;
}

bool discFileExists(const QString &dataFolder, const QString &discPath)
{
    const Resolution r = resolve(dataFolder, discPath);
    return r.found && QFileInfo(r.path).isFile();
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
