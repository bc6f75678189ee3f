// Listing the folders of the tree, and bringing a listed folder up to date with the disk.

#include "widgets/FolderTree.h"

#include "widgets/BusyCursor.h"
#include "widgets/FolderTreeParts.h"

#include <QDir>
#include <QFileInfo>
#include <QScrollBar>

using namespace FolderTreeParts;

// By the user's language: the interface's own, Polish, when the system names none. Made when
// the first folder is listed: opening the language's collation is a good part of a start.
const QCollator &FolderTree::collator()
{
    if (!m_collator) {
        QLocale locale = QLocale::system();
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::Polish, QLocale::Poland);
        m_collator.emplace(locale);
        m_collator->setNumericMode(true);
        m_collator->setCaseSensitivity(Qt::CaseInsensitive);
    }
    return *m_collator;
}

QTreeWidgetItem *FolderTree::newEntry(const QString &path, const QString &name, bool isFolder, bool link)
{
    auto *item = new TreeEntry(name, isFolder, link);
    item->icon = entryIcon(path, isFolder, link, false);
    item->setChildIndicatorPolicy(isFolder && hasEntries(path) ? QTreeWidgetItem::ShowIndicator
                                                               : QTreeWidgetItem::DontShowIndicator);
    return item;
}

void FolderTree::relist(QTreeWidgetItem *item)
{
    if (isListed(item)) {
        if (!updateChildren(item))
            rebuild();
    } else if (isFolder(item)) { // never opened: only its marker can be out of date
        item->setChildIndicatorPolicy(hasEntries(pathOf(item)) ? QTreeWidgetItem::ShowIndicator
                                                               : QTreeWidgetItem::DontShowIndicator);
    }
}

void FolderTree::listChildren(QTreeWidgetItem *item)
{
    TreeEntry *folder = entryOf(item);
    if (!folder || !folder->folder)
        return;
    const BusyCursor busy;
    quietly([&] {
        setUpdatesEnabled(false);
        const QString path = pathOf(item);
        struct Found
        {
            QString name;
            bool folder;
            bool link;
            size_t hash;
        };
        std::vector<Found> found;
        readFolder(path, [&](const char *name, qsizetype length, bool isFolder, bool link) {
            found.push_back(
                {QFile::decodeName(QByteArray::fromRawData(name, length)), isFolder, link, entryHash(name, length, isFolder, link)});
            return true;
        });
        // The sort keys are made after all the names and gone before the first entry is made:
        // the memory they held is then one stretch that the entries take over, rather than
        // holes between names that the tree would keep from being given back.
        std::vector<qsizetype> order(found.size());
        {
            std::vector<QCollatorSortKey> keys;
            keys.reserve(found.size());
            for (qsizetype i = 0; i < qsizetype(found.size()); ++i) {
                keys.push_back(collator().sortKey(found[size_t(i)].name));
                order[size_t(i)] = i;
            }
            std::sort(order.begin(), order.end(), [&](qsizetype i, qsizetype j) {
                const Found &a = found[size_t(i)];
                const Found &b = found[size_t(j)];
                if (a.folder != b.folder)
                    return a.folder;
                const int byKey = keys[size_t(i)].compare(keys[size_t(j)]);
                return byKey != 0 ? byKey < 0 : a.name < b.name;
            });
        }
        auto listing = std::make_unique<Listing>();
        listing->entries.reserve(found.size());
        listing->hashes.reserve(found.size());
        for (const qsizetype i : order) {
            const Found &entry = found[size_t(i)];
            auto *child = static_cast<TreeEntry *>(
                newEntry(inFolder(path, entry.name), entry.name, entry.folder, entry.link));
            listing->entries.push_back(child);
            listing->hashes.emplace_back(entry.hash, child);
        }
        found.clear();
        std::sort(listing->hashes.begin(), listing->hashes.end());
        item->addChildren(shownEntries(m_mask, path, *listing));
        folder->listing = std::move(listing);
        item->setChildIndicatorPolicy(item->childCount() > 0 ? QTreeWidgetItem::ShowIndicator
                                                             : QTreeWidgetItem::DontShowIndicator);
        setUpdatesEnabled(true);
    });
}

// A listed folder brought up to date by the names on disk, without a look at the entries that
// stay: those gone are taken out, the new ones put in their places one by one. False, with
// nothing done, for more changes than that suits.
bool FolderTree::updateChildren(QTreeWidgetItem *item)
{
    TreeEntry *folder = entryOf(item);
    Listing &listing = *folder->listing;
    const QString path = pathOf(item);
    struct Found
    {
        size_t hash;
        qsizetype name; // where in names
        bool folder;
        bool link;
    };
    std::vector<Found> found;
    QByteArray names;
    readFolder(path, [&](const char *name, qsizetype length, bool isFolder, bool link) {
        found.push_back({entryHash(name, length, isFolder, link), names.size(), isFolder, link});
        names.append(name, length + 1); // with its terminating zero
        return true;
    });
    std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) { return a.hash < b.hash; });

    // Both sorted by hash: what is only on disk is new, what only the listing has is gone.
    std::vector<std::pair<size_t, TreeEntry *>> hashes;
    hashes.reserve(found.size());
    std::vector<const Found *> added;
    std::vector<TreeEntry *> gone;
    auto known = listing.hashes.cbegin();
    for (const Found &entry : found) {
        while (known != listing.hashes.cend() && known->first < entry.hash)
            gone.push_back((known++)->second);
        if (known != listing.hashes.cend() && known->first == entry.hash) {
            hashes.push_back(*known++);
        } else {
            hashes.emplace_back(entry.hash, nullptr);
            added.push_back(&entry);
        }
    }
    for (; known != listing.hashes.cend(); ++known)
        gone.push_back(known->second);
    // Each change moves every entry after it: past this many, listing anew costs less.
    const size_t mostChanges = 200;
    if (added.size() + gone.size() > mostChanges)
        return false;
    if (added.empty() && gone.empty())
        return true;

    quietly([&] {
        for (TreeEntry *entry : gone) {
            listing.entries.erase(std::find(listing.entries.begin(), listing.entries.end(), entry));
            if (entry->parent())
                item->removeChild(entry);
            delete entry;
        }
        FolderMask mask(m_mask, path);
        for (const Found *entry : added) {
            const QString name = QFile::decodeName(names.constData() + entry->name);
            auto *child =
                static_cast<TreeEntry *>(newEntry(inFolder(path, name), name, entry->folder, entry->link));
            const std::pair<size_t, TreeEntry *> unset(entry->hash, nullptr);
            std::lower_bound(hashes.begin(), hashes.end(), unset)->second = child;
            const auto before = [&](const TreeEntry *e) {
                return comesBefore(collator(), e->folder, e->name, child->folder, child->name);
            };
            listing.entries.insert(
                std::partition_point(listing.entries.begin(), listing.entries.end(), before), child);
            if (mask.shows(child))
                insertSorted(item, child);
        }
        listing.hashes = std::move(hashes);
        item->setChildIndicatorPolicy(item->childCount() > 0 ? QTreeWidgetItem::ShowIndicator
                                                             : QTreeWidgetItem::DontShowIndicator);
    });
    return true;
}

void FolderTree::updateChild(QTreeWidgetItem *item, const QString &name)
{
    TreeEntry *folder = entryOf(item);
    Listing &listing = *folder->listing;
    const QString path = pathOf(item);
    const QByteArray raw = QFile::encodeName(name);
    // The entry on disk, judged as readFolder() judges it.
    const QByteArray native = QFile::encodeName(inFolder(path, name));
    const std::optional<FileStatus> own = fileStatus(native, Links::NoFollow);
    const bool link = own && own->kind == FileKind::Link;
    bool isFolder = own && own->kind == FileKind::Folder;
    if (link) {
        const std::optional<FileStatus> target = fileStatus(native, Links::Follow);
        isFolder = target && target->kind == FileKind::Folder;
    }
    // The entry in the listing, of whichever kind it was.
    const auto byHash = [](const std::pair<size_t, TreeEntry *> &a, const std::pair<size_t, TreeEntry *> &b) {
        return a.first < b.first;
    };
    auto listed = listing.hashes.end();
    for (const bool f : {false, true}) {
        for (const bool l : {false, true}) {
            const std::pair<size_t, TreeEntry *> key(entryHash(raw.constData(), raw.size(), f, l), nullptr);
            auto [from, to] = std::equal_range(listing.hashes.begin(), listing.hashes.end(), key, byHash);
            for (; from != to && listed == listing.hashes.end(); ++from) {
                if (from->second->name == name)
                    listed = from;
            }
        }
    }
    const bool present = listed != listing.hashes.end();
    if (own && present && listed->second->folder == isFolder && listed->second->link == link)
        return;
    quietly([&] {
        if (present) {
            TreeEntry *entry = listed->second;
            listing.hashes.erase(listed);
            listing.entries.erase(std::find(listing.entries.begin(), listing.entries.end(), entry));
            if (entry->parent())
                item->removeChild(entry);
            delete entry;
        }
        if (own) {
            auto *child = static_cast<TreeEntry *>(newEntry(inFolder(path, name), name, isFolder, link));
            const std::pair<size_t, TreeEntry *> key(entryHash(raw.constData(), raw.size(), isFolder, link), child);
            listing.hashes.insert(std::upper_bound(listing.hashes.begin(), listing.hashes.end(), key, byHash), key);
            const auto before = [&](const TreeEntry *e) {
                return comesBefore(collator(), e->folder, e->name, child->folder, child->name);
            };
            listing.entries.insert(
                std::partition_point(listing.entries.begin(), listing.entries.end(), before), child);
            if (FolderMask(m_mask, path).shows(child))
                insertSorted(item, child);
        }
        item->setChildIndicatorPolicy(item->childCount() > 0 ? QTreeWidgetItem::ShowIndicator
                                                             : QTreeWidgetItem::DontShowIndicator);
    });
}

// Puts entry among the children of folder, which are in order, where the order wants it.
void FolderTree::insertSorted(QTreeWidgetItem *folder, QTreeWidgetItem *entry)
{
    const TreeEntry *added = entryOf(entry);
    int low = 0;
    int high = folder->childCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const TreeEntry *child = entryOf(folder->child(middle));
        if (comesBefore(collator(), child->folder, child->name, added->folder, added->name))
            low = middle + 1;
        else
            high = middle;
    }
    folder->insertChild(low, entry);
}

// Another mask: every listed folder shows what the new one does from the entries it holds. The
// open folders, the selection (or, when the mask hides it, its folder) and the scroll position
// stay.
void FolderTree::showMasked()
{
    const BusyCursor busy;
    std::vector<QTreeWidgetItem *> listed; // each after the one it is in
    std::vector<QTreeWidgetItem *> open;
    std::function<void(QTreeWidgetItem *)> visit = [&](QTreeWidgetItem *item) {
        if (!isListed(item))
            return;
        listed.push_back(item);
        if (item->isExpanded())
            open.push_back(item);
        for (int i = 0; i < item->childCount(); ++i) {
            if (isFolder(item->child(i)))
                visit(item->child(i));
        }
    };
    visit(topLevelItem(0));
    QTreeWidgetItem *selected = currentItem();
    QTreeWidgetItem *selectedFolder = selected ? selected->parent() : nullptr;
    const QPoint scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    bool changed = false;
    // The position is set back at the end: the view need not follow the current entry around.
    const bool autoScrolled = hasAutoScroll();
    setAutoScroll(false);
    quietly([&] {
        setUpdatesEnabled(false);
        for (QTreeWidgetItem *item : listed) {
            const QList<QTreeWidgetItem *> shown = shownEntries(m_mask, pathOf(item), *entryOf(item)->listing);
            QList<QTreeWidgetItem *> children;
            children.reserve(item->childCount());
            for (int i = 0; i < item->childCount(); ++i)
                children << item->child(i);
            if (shown == children)
                continue;
            changed = true;
            item->takeChildren();
            item->addChildren(shown);
            item->setChildIndicatorPolicy(item->childCount() > 0 ? QTreeWidgetItem::ShowIndicator
                                                                 : QTreeWidgetItem::DontShowIndicator);
        }
        if (changed) {
            for (QTreeWidgetItem *item : open)
                expandItem(item);
            if (selected)
                setCurrentItem(selected->treeWidget() ? selected : selectedFolder);
            executeDelayedItemsLayout(); // the scroll bars' ranges, before their values are set back
            updateGeometries();
            horizontalScrollBar()->setValue(scrolled.x());
            verticalScrollBar()->setValue(scrolled.y());
        }
        setUpdatesEnabled(true);
    });
    setAutoScroll(autoScrolled);
    updateWatches();
}
