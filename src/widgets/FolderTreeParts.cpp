#include "widgets/FolderTreeParts.h"

#include "widgets/FolderTree.h"

#include <QFileInfo>

namespace FolderTreeParts {

// Whether a folder has anything in it to list; an unreadable one has nothing.
bool hasEntries(const QString &folder)
{
    bool found = false;
    readFolder(folder, [&](const char *, qsizetype, bool, bool) {
        found = true;
        return false; // one is enough
    });
    return found;
}

// An entry told apart from every other by its name and kind, in a number.
size_t entryHash(const char *name, qsizetype length, bool folder, bool link)
{
    return qHashMulti(0, QByteArrayView(name, length), folder, link);
}

QString withoutTrailingSeparator(const QString &path)
{
    QString p = path;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

QString parentFolder(const QString &path)
{
    return QFileInfo(path).path();
}

QString inFolder(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// The order a file manager gives: folders first, numbers by value, letter case aside, by the
// user's language; names alike to the collator come in code-point order.
bool comesBefore(const QCollator &collator, bool aFolder, const QString &a, bool bFolder, const QString &b)
{
    if (aFolder != bFolder)
        return aFolder;
    const int order = collator.compare(a, b);
    return order != 0 ? order < 0 : a < b;
}

TreeEntry::~TreeEntry() = default;


const TreeEntry *entryOf(const QTreeWidgetItem *item)
{
    return item && item->type() == TreeEntry::Type ? static_cast<const TreeEntry *>(item) : nullptr;
}

TreeEntry *entryOf(QTreeWidgetItem *item)
{
    return item && item->type() == TreeEntry::Type ? static_cast<TreeEntry *>(item) : nullptr;
}

bool isLink(const QTreeWidgetItem *item)
{
    return entryOf(item) && entryOf(item)->link;
}

// Whether the entry still stands for what is on disk: the same name, of the same kind.
bool stillExists(const QTreeWidgetItem *item)
{
    const QFileInfo info(FolderTree::pathOf(item));
    return FolderTree::isFolder(item) ? info.isDir() : info.exists() && !info.isDir();
}

// The entries of a listed folder that the mask shows, in order.
QList<QTreeWidgetItem *> shownEntries(const FileMask &fileMask, const QString &folder, const Listing &listing)
{
    FolderMask mask(fileMask, folder);
    QList<QTreeWidgetItem *> shown;
    shown.reserve(qsizetype(listing.entries.size()));
    for (TreeEntry *entry : listing.entries) {
        if (mask.shows(entry))
            shown << entry;
    }
    return shown;
}

} // namespace FolderTreeParts
