#pragma once

// The parts the folder tree is made of: its entries, what a listed folder keeps, and how the
// folders are read and ordered. Used by the tree's own files only.

#include "core/FileMask.h"
#include "os/FolderReader.h"

#include <QCollator>
#include <QFile>
#include <QIcon>
#include <QTreeWidgetItem>

#include <algorithm>
#include <memory>
#include <vector>

namespace FolderTreeParts {

// Hands visit each entry of the folder, in the order the file system lists them: its name as
// the file system has it, whether it is a folder (a link counts as what it leads to) and
// whether it is a link. The kind comes with the name, so only links (and the entries of file
// systems that do not tell) are looked at one by one. visit answers whether to go on.
template <typename Visit>
void readFolder(const QString &folder, Visit &&visit)
{
    FolderReader reader;
    if (reader.open(QFile::encodeName(folder), Links::Follow))
        return;
    FolderEntry entry;
    while (reader.next(&entry)) {
        FileKind kind = entry.kind;
        if (kind == FileKind::Unknown) {
            const std::optional<FileStatus> status = reader.statusOf(entry, Links::NoFollow);
            kind = status ? status->kind : FileKind::Unknown;
        }
        const bool link = kind == FileKind::Link;
        bool isFolder = kind == FileKind::Folder;
        if (link) {
            const std::optional<FileStatus> target = reader.statusOf(entry, Links::Follow);
            isFolder = target && target->kind == FileKind::Folder;
        }
        if (!visit(entry.name.data(), entry.name.size(), isFolder, link))
            break;
    }
}

// Whether a folder has anything in it to list; an unreadable one has nothing.
bool hasEntries(const QString &folder);

// An entry told apart from every other by its name and kind, in a number.
size_t entryHash(const char *name, qsizetype length, bool folder, bool link);

QString withoutTrailingSeparator(const QString &path);

QString parentFolder(const QString &path);

QString inFolder(const QString &folder, const QString &name);

// The order a file manager gives: folders first, numbers by value, letter case aside, by the
// user's language; names alike to the collator come in code-point order.
bool comesBefore(const QCollator &collator, bool aFolder, const QString &a, bool bFolder, const QString &b);

struct Listing;

// One entry of the tree. Its name, kind and icon are members rather than item data, which
// would cost a few hundred bytes more per entry; its path is its folder's path and its name.
// The root keeps its own path as its name and shows the caption as its text.
class TreeEntry : public QTreeWidgetItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 1 };

    TreeEntry(const QString &name, bool folder, bool link)
        : QTreeWidgetItem(Type), name(name), folder(folder), link(link)
    {
    }
    ~TreeEntry() override;

    QVariant data(int column, int role) const override
    {
        if (column == 0 && role == Qt::DecorationRole)
            return icon;
        if (column == 0 && role == Qt::DisplayRole && parent())
            return name;
        return QTreeWidgetItem::data(column, role);
    }

    void setData(int column, int role, const QVariant &value) override
    {
        if (column != 0 || role != Qt::DecorationRole)
            return QTreeWidgetItem::setData(column, role, value);
        icon = value.value<QIcon>();
        emitDataChanged();
    }

    const QString name;
    QIcon icon; // shared by all entries of its kind
    const bool folder;
    const bool link;
    std::unique_ptr<Listing> listing; // a folder's, from when it is first listed
};

// Everything a listed folder holds, shown by the mask or not: the entries in the tree's order,
// so that another mask needs no new listing, and their hashes, sorted, to tell from the names
// alone what changed on disk. The entries the mask hides belong to the listing.
struct Listing
{
    std::vector<TreeEntry *> entries;
    std::vector<std::pair<size_t, TreeEntry *>> hashes;

    ~Listing()
    {
        for (TreeEntry *entry : entries) {
            if (!entry->parent())
                delete entry;
        }
    }
};

const TreeEntry *entryOf(const QTreeWidgetItem *item);

TreeEntry *entryOf(QTreeWidgetItem *item);

bool isLink(const QTreeWidgetItem *item);

// Whether the entry still stands for what is on disk: the same name, of the same kind.
bool stillExists(const QTreeWidgetItem *item);

// Which entries of one folder the mask shows: every folder, and the files whose paths it
// matches as FileMask::matches does, with the folder lower-cased once for all its files.
class FolderMask
{
public:
    FolderMask(const FileMask &mask, const QString &folder)
        : m_patterns(mask.showsEverything() ? QStringList() : mask.patterns())
        , m_path(inFolder(folder, QString()).toLower())
        , m_folderLength(m_path.size())
    {
    }

    bool shows(const TreeEntry *entry)
    {
        if (entry->folder || m_patterns.isEmpty())
            return true;
        m_path.truncate(m_folderLength);
        m_path += entry->name.toLower();
        if (!m_path.contains(QLatin1Char('.')))
            m_path += QLatin1Char('.');
        return std::any_of(m_patterns.cbegin(), m_patterns.cend(),
                           [&](const QString &pattern) { return matchesPattern(pattern, m_path); });
    }

private:
    const QStringList m_patterns; // none when every file is shown
    QString m_path;
    const qsizetype m_folderLength;
};

// The entries of a listed folder that the mask shows, in order.
QList<QTreeWidgetItem *> shownEntries(const FileMask &fileMask, const QString &folder, const Listing &listing);

// The icon with the link emblem small in its bottom-left corner, so that a link never looks
// like what it points to.
QIcon withLinkEmblem(const QIcon &icon);

} // namespace FolderTreeParts
