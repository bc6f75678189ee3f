#include "core/DiscPath.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

struct Resolution
{
    QString path;
    bool found = true; // every component named an existing entry
};

// The on-disk spelling of name inside folder: the exact name when it exists, else the entry
// that differs only in letter case (the first in name order when there are several); empty
// when there is none. The folder is read once, unsorted: this runs on every keystroke that
// asks whether the menu file exists, also in folders of many thousand files.
QString matchComponent(const QString &folder, const QString &name)
{
    if (QFileInfo::exists(folder + name))
        return name;
    QString match;
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QString entry = entries.fileName();
        if (entry.size() == name.size() && entry.compare(name, Qt::CaseInsensitive) == 0
            && (match.isEmpty() || entry < match))
            match = entry;
    }
    return match;
}

Resolution resolve(const QString &dataFolder, const QString &discPath)
{
    // Windows takes "/" as a separator as well, so a hand-written "bin/setup.exe" counts.
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    // One leading separator starts at the root of the disc, which is the data folder; two
    // start a network path, which names nothing on the disc.
    const auto isSeparator = [](QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); };
    const bool fromRoot = discPath.size() > 1 && isSeparator(discPath[0]) && !isSeparator(discPath[1]);
    const QStringList parts = QStringView(discPath).mid(fromRoot ? 1 : 0).toString().split(separators);
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
