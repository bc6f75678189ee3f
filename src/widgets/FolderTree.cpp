#include "widgets/FolderTree.h"

#include "widgets/BusyCursor.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QMenu>
#include <QPainter>
#include <QHeaderView>
#include <QScrollBar>
#include <QStorageInfo>
#include <QStyle>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace {

const QString linkEmblem = QStringLiteral("emblem-symbolic-link");

#ifdef Q_OS_UNIX

// Hands visit each entry of the folder, in the order the file system lists them: its name as
// the file system has it, whether it is a folder (a link counts as what it leads to) and
// whether it is a link. The kind comes with the name, so only links (and the entries of file
// systems that do not tell) are looked at one by one. visit answers whether to go on.
template <typename Visit>
void readFolder(const QString &folder, Visit &&visit)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        bool link = entry->d_type == DT_LNK;
        struct stat info;
        if (entry->d_type == DT_UNKNOWN && ::fstatat(::dirfd(dir), name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
            link = S_ISLNK(info.st_mode);
            isFolder = S_ISDIR(info.st_mode);
        }
        if (link)
            isFolder = ::fstatat(::dirfd(dir), name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        if (!visit(name, qsizetype(std::strlen(name)), isFolder, link))
            break;
    }
    ::closedir(dir);
}

#else

template <typename Visit>
void readFolder(const QString &folder, Visit &&visit)
{
    const QDir::Filters everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QFileInfo &info : QDir(folder).entryInfoList(everything, QDir::NoSort)) {
        const QByteArray name = QFile::encodeName(info.fileName());
        if (!visit(name.constData(), name.size(), info.isDir(), info.isSymLink()))
            break;
    }
}

#endif

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

// A small boxed arrow, for themes without a link emblem.
void drawLinkArrow(QPainter &painter, const QRect &box)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(frame);
    const qreal unit = frame.width() / 8;
    const QPointF tip(frame.right() - 1.5 * unit, frame.top() + 1.5 * unit);
    painter.setPen(QPen(Qt::black, unit * 1.2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(frame.left() + 2 * unit, frame.bottom() - 2 * unit), tip - QPointF(unit, -unit));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygonF{tip, tip - QPointF(3.5 * unit, 0), tip + QPointF(0, 3.5 * unit)});
    painter.restore();
}

// The icon with the link emblem small in its bottom-left corner, so that a link never looks
// like what it points to.
QIcon withLinkEmblem(const QIcon &icon)
{
    const QIcon emblem = QIcon::hasThemeIcon(linkEmblem) ? QIcon::fromTheme(linkEmblem) : QIcon();
    QIcon linked;
    for (const int side : {16, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        icon.paint(&painter, pixmap.rect());
        const int size = side * 5 / 8;
        const QRect corner(0, side - size, size, size);
        if (emblem.isNull())
            drawLinkArrow(painter, corner);
        else
            emblem.paint(&painter, corner);
        painter.end();
        linked.addPixmap(pixmap);
    }
    return linked;
}

} // namespace

FolderTree::FolderTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setIndentation(19);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(true);
    setUniformRowHeights(true);
    // By the user's language: the interface's own, Polish, when the system names none.
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Polish, QLocale::Poland);
    m_collator = QCollator(locale);
    m_collator.setNumericMode(true);
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    // The one column is as wide as its widest entry shown, so that deep entries stay whole and
    // the tree scrolls sideways to them.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) {
        if (!isListed(item))
            listChildren(item);
        updateWatches();
    });
    connect(this, &QTreeWidget::itemCollapsed, this, &FolderTree::updateWatches);
    connect(this, &QTreeWidget::currentItemChanged, this, &FolderTree::showOpenFolder);
    connect(this, &QTreeWidget::currentItemChanged, this, &FolderTree::selectionChanged);

    m_watchDelay.setSingleShot(true);
    m_watchDelay.setInterval(500);
    connect(&m_watchDelay, &QTimer::timeout, this, &FolderTree::watchSelection);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FolderTree::folderChanged);

    // Drives and media come and go: a look at the mounted volumes now and then stands in for
    // the system's device notices.
    m_volumeCheck.setInterval(2000);
    connect(&m_volumeCheck, &QTimer::timeout, this, &FolderTree::checkVolumes);
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        m_volumes << volume.rootPath();
    m_volumes.sort();
    m_volumeCheck.start();
}

// Taking the entries down must not report selection changes to a window that is going away.
FolderTree::~FolderTree()
{
    blockSignals(true);
    m_watchDelay.stop();
    m_volumeCheck.stop();
}

QString FolderTree::pathOf(const QTreeWidgetItem *item)
{
    const TreeEntry *entry = entryOf(item);
    if (!entry)
        return QString();
    return item->parent() ? inFolder(pathOf(item->parent()), entry->name) : entry->name;
}

bool FolderTree::isFolder(const QTreeWidgetItem *item)
{
    return entryOf(item) && entryOf(item)->folder;
}

bool FolderTree::isListed(const QTreeWidgetItem *item)
{
    return entryOf(item) && entryOf(item)->listing;
}

void FolderTree::setRootFolder(const QString &dir)
{
    if (dir == m_customDir)
        return;
    m_customDir = dir;
    rebuild();
}

void FolderTree::setRootCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    if (QTreeWidgetItem *root = topLevelItem(0))
        root->setText(0, caption);
}

void FolderTree::setFileMask(const QString &mask)
{
    if (mask == m_maskText)
        return;
    m_maskText = mask;
    m_mask = ::FileMask(mask);
    if (topLevelItem(0))
        showMasked();
    else
        rebuild();
}

QString FolderTree::selectedPath() const
{
    return pathOf(currentItem());
}

void FolderTree::rebuild()
{
    const QString root = withoutTrailingSeparator(m_customDir);
    const bool sameRoot = topLevelItem(0) && pathOf(topLevelItem(0)) == root;
    const QString selected = selectedPath();
    const bool wasOpen = currentItem() && currentItem()->isExpanded();
    const QStringList open = sameRoot ? openFolders() : QStringList();
    const QPoint scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QString before = selectedPath();
    quietly([&] {
        clear();
        if (!m_customDir.isEmpty() && QDir::isAbsolutePath(root) && QFileInfo(root).isDir()) {
            const QFileInfo info(root);
            QTreeWidgetItem *item = newEntry(root, root, true, info.isSymLink());
            item->setText(0, m_caption.isEmpty() ? (info.fileName().isEmpty() ? root : info.fileName()) : m_caption);
            item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
            addTopLevelItem(item);
            expandItem(item);
            for (const QString &folder : open) {
                if (QTreeWidgetItem *entry = findEntry(folder))
                    expandItem(entry);
            }
            if (!selected.isEmpty()) {
                // A selection that went away falls back to its nearest ancestor left.
                QString path = selected;
                QTreeWidgetItem *entry = findEntry(path);
                while (!entry && path != parentFolder(path)) {
                    path = parentFolder(path);
                    entry = findEntry(path);
                }
                if (!entry)
                    entry = item;
                for (QTreeWidgetItem *up = entry->parent(); up; up = up->parent())
                    expandItem(up);
                setCurrentItem(entry);
                if (wasOpen && path == selected)
                    expandItem(entry);
            }
            if (sameRoot) {
                doItemsLayout(); // the scroll bars' ranges, before their values are set back
                horizontalScrollBar()->setValue(scrolled.x());
                verticalScrollBar()->setValue(scrolled.y());
            } else if (currentItem()) {
                scrollToItem(currentItem());
            }
        }
    });
    // The same path under another root is another entry of the disc: it is reported too.
    if (!sameRoot && !before.isEmpty() && selectedPath() == before)
        selectionChanged();
    updateWatches();
}

void FolderTree::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    // The base class shows a cell wider than the view from the column's left edge, which
    // leaves deep entries out of sight.
    QTreeWidget::scrollTo(index, hint);
    if (!index.isValid())
        return;
    // The column's width and the scroll bar's range follow the entries shown only later.
    header()->resizeSections(QHeaderView::ResizeToContents);
    updateGeometries();
    const QRect cell = visualRect(index);
    const int start = cell.left() - indentation(); // with its marker
    const int end = cell.left() + sizeHintForIndex(index).width();
    QScrollBar *bar = horizontalScrollBar();
    if (start < 0)
        bar->setValue(bar->value() + start);
    else if (end > viewport()->width())
        bar->setValue(bar->value() + qMin(start, end - viewport()->width()));
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
            QCollatorSortKey key;
        };
        std::vector<Found> found;
        readFolder(path, [&](const char *name, qsizetype length, bool isFolder, bool link) {
            QString text = QFile::decodeName(QByteArray::fromRawData(name, length));
            QCollatorSortKey key = m_collator.sortKey(text);
            const size_t hash = entryHash(name, length, isFolder, link);
            found.push_back({std::move(text), isFolder, link, hash, std::move(key)});
            return true;
        });
        std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) {
            if (a.folder != b.folder)
                return a.folder;
            const int order = a.key.compare(b.key);
            return order != 0 ? order < 0 : a.name < b.name;
        });
        auto listing = std::make_unique<Listing>();
        listing->entries.reserve(found.size());
        listing->hashes.reserve(found.size());
        for (const Found &entry : found) {
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
            auto *child = static_cast<TreeEntry *>(newEntry(inFolder(path, name), name, entry->folder, entry->link));
            const std::pair<size_t, TreeEntry *> unset(entry->hash, nullptr);
            std::lower_bound(hashes.begin(), hashes.end(), unset)->second = child;
            const auto before = [&](const TreeEntry *e) {
                return comesBefore(m_collator, e->folder, e->name, child->folder, child->name);
            };
            listing.entries.insert(std::partition_point(listing.entries.begin(), listing.entries.end(), before), child);
            if (mask.shows(child))
                insertSorted(item, child);
        }
        listing.hashes = std::move(hashes);
        item->setChildIndicatorPolicy(item->childCount() > 0 ? QTreeWidgetItem::ShowIndicator
                                                             : QTreeWidgetItem::DontShowIndicator);
    });
    return true;
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
        if (comesBefore(m_collator, child->folder, child->name, added->folder, added->name))
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

QTreeWidgetItem *FolderTree::findEntry(const QString &path, bool listing)
{
    QTreeWidgetItem *item = topLevelItem(0);
    const QString rootPath = pathOf(item);
    if (!item || path == rootPath)
        return item;
    const QString prefix = rootPath.endsWith(QLatin1Char('/')) ? rootPath : rootPath + QLatin1Char('/');
    if (!path.startsWith(prefix))
        return nullptr;
    const QStringList parts = path.mid(prefix.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (listing && !isListed(item))
            listChildren(item);
        QTreeWidgetItem *next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i) {
            if (entryOf(item->child(i))->name == part)
                next = item->child(i);
        }
        if (!next)
            return nullptr;
        item = next;
    }
    return item;
}

// The open folders, each after the one it is in; folders inside a closed one do not count.
QStringList FolderTree::openFolders() const
{
    QStringList folders;
    std::function<void(const QTreeWidgetItem *)> visit = [&](const QTreeWidgetItem *item) {
        if (!item->isExpanded())
            return;
        folders << pathOf(item);
        for (int i = 0; i < item->childCount(); ++i) {
            if (isFolder(item->child(i)))
                visit(item->child(i));
        }
    };
    if (const QTreeWidgetItem *root = topLevelItem(0))
        visit(root);
    return folders;
}

bool FolderTree::select(const QString &path)
{
    QTreeWidgetItem *item = findEntry(withoutTrailingSeparator(path));
    if (!item)
        return false;
    for (QTreeWidgetItem *up = item->parent(); up; up = up->parent())
        expandItem(up);
    setCurrentItem(item);
    scrollToItem(item);
    return true;
}

void FolderTree::quietly(const std::function<void()> &change)
{
    const QString before = selectedPath();
    ++m_quiet;
    change();
    if (--m_quiet == 0 && selectedPath() != before)
        selectionChanged();
}

void FolderTree::selectionChanged()
{
    if (m_quiet > 0)
        return;
    viewport()->setCursor(Qt::WaitCursor);
    emit selectedEntryChanged();
    viewport()->unsetCursor();
    if (m_firstSelection) {
        m_firstSelection = false;
        return;
    }
    m_watchDelay.start(); // each change starts the delay anew
}

// Only the selected folder looks open, as in the system's own tree; an opened branch alone
// does not.
void FolderTree::showOpenFolder()
{
    if (QTreeWidgetItem *before = itemFromIndex(m_openFolder))
        before->setIcon(0, entryIcon(pathOf(before), true, isLink(before), false));
    m_openFolder = QPersistentModelIndex();
    QTreeWidgetItem *item = currentItem();
    if (!isFolder(item))
        return;
    item->setIcon(0, entryIcon(pathOf(item), true, isLink(item), true));
    m_openFolder = indexFromItem(item);
}

// One icon per kind of entry, shared by all entries of that kind: folders (closed, open) and
// files by extension, each also as a link.
QIcon FolderTree::entryIcon(const QString &path, bool folder, bool link, bool open)
{
    static auto *provider = new QFileIconProvider;
    QString key;
    if (folder) {
        key = open ? QStringLiteral("/open") : QStringLiteral("/");
    } else {
        const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
        if (dot > path.lastIndexOf(QLatin1Char('/')))
            key = path.mid(dot + 1).toLower(); // the suffix
    }
    if (link)
        key += QStringLiteral("/link");
    auto it = m_icons.constFind(key);
    if (it != m_icons.cend())
        return *it;
    // A link looks like what it points to, with the emblem; the provider's own icon for a
    // link would hide the kind.
    const QFileInfo info(path);
    const QIcon icon = link     ? withLinkEmblem(entryIcon(path, folder, false, open))
                       : folder ? (open ? style()->standardIcon(QStyle::SP_DirOpenIcon)
                                        : provider->icon(QAbstractFileIconProvider::Folder))
                                : provider->icon(info.isSymLink() ? QFileInfo(info.symLinkTarget()) : info);
    return *m_icons.insert(key, icon);
}

QStringList FolderTree::watchedFolders() const
{
    return m_watcher.directories();
}

void FolderTree::watchSelection()
{
    m_watchedFolder.clear();
    m_watchedParent.clear();
    if (const QTreeWidgetItem *item = currentItem()) {
        const QString path = pathOf(item);
        m_watchedFolder = isFolder(item) ? path : parentFolder(path);
        m_watchedParent = parentFolder(path);
    }
    updateWatches();
}

void FolderTree::updateWatches()
{
    if (m_quiet > 0)
        return; // the change ends with a call of its own
    QStringList wanted = openFolders();
    for (const QString &folder : {m_watchedFolder, m_watchedParent}) {
        if (!folder.isEmpty())
            wanted << folder;
    }
    wanted.removeDuplicates();
    QStringList stale;
    for (const QString &folder : m_watcher.directories()) {
        if (!wanted.removeOne(folder))
            stale << folder;
    }
    if (!stale.isEmpty())
        m_watcher.removePaths(stale);
    wanted.erase(std::remove_if(wanted.begin(), wanted.end(), [](const QString &f) { return !QFileInfo(f).isDir(); }),
                 wanted.end());
    if (!wanted.isEmpty())
        m_watcher.addPaths(wanted);
}

void FolderTree::folderChanged(const QString &folder)
{
    // A selected entry that is gone hands the selection to its nearest existing ancestor; with
    // the root gone too, the tree is rebuilt (and ends up empty).
    QTreeWidgetItem *item = currentItem();
    QTreeWidgetItem *relisted = nullptr;
    if (item && !stillExists(item)) {
        QTreeWidgetItem *ancestor = item->parent();
        while (ancestor && !QFileInfo(pathOf(ancestor)).isDir())
            ancestor = ancestor->parent();
        if (!ancestor) {
            rebuild();
            watchSelection();
            return;
        }
        setCurrentItem(ancestor);
        relist(ancestor);
        relisted = ancestor;
    }
    // The changed folder's entry, or the nearest one still on disk when it went away.
    QTreeWidgetItem *changed = findEntry(withoutTrailingSeparator(folder), false);
    while (changed && !QFileInfo(pathOf(changed)).isDir())
        changed = changed->parent();
    if (changed && changed != relisted)
        relist(changed);
    watchSelection();
}

void FolderTree::checkVolumes()
{
    QStringList volumes;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        volumes << volume.rootPath();
    volumes.sort();
    if (volumes == m_volumes)
        return;
    m_volumes = volumes;
    rebuild();
}

void FolderTree::keyPressEvent(QKeyEvent *event)
{
    emit keyPressed(event->key());
    QTreeWidget::keyPressEvent(event);
}

void FolderTree::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept(); // the menu acts on the entry selected before
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void FolderTree::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit entryDoubleClicked();
}

void FolderTree::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_popupMenu)
        m_popupMenu->popup(event->globalPos());
    event->accept();
}
