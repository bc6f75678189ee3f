#include "widgets/TdfsSystemTreeView.h"

#include "widgets/BusyCursor.h"

#include <QCollator>
#include <QContextMenuEvent>
#include <QDir>
#include <QDirIterator>
#include <QFileIconProvider>
#include <QMenu>
#include <QPainter>
#include <QHeaderView>
#include <QScrollBar>
#include <QStorageInfo>
#include <QStyle>

#include <algorithm>

namespace {

enum Role { PathRole = Qt::UserRole, FolderRole, ListedRole, LinkRole };

const QDir::Filters everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

const QString linkEmblem = QStringLiteral("emblem-symbolic-link");

// Whether a folder has anything in it to list; an unreadable one has nothing.
bool hasEntries(const QString &folder)
{
    return QDirIterator(folder, everything).hasNext();
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

bool isLink(const QTreeWidgetItem *item)
{
    return item->data(0, LinkRole).toBool();
}

// Whether the entry still stands for what is on disk: the same name, of the same kind.
bool stillExists(const QTreeWidgetItem *item)
{
    const QFileInfo info(TdfsSystemTreeView::pathOf(item));
    return TdfsSystemTreeView::isFolder(item) ? info.isDir() : info.exists() && !info.isDir();
}

struct Entry
{
    QFileInfo info;
    bool folder;
    QCollatorSortKey key;
};

// The folder's entries the tree shows, in the order a file manager gives them: folders first,
// numbers by value, letter case aside, by the user's language (the interface's own, Polish,
// when the system names none).
std::vector<Entry> readFolder(const QString &folder, const FileMask &mask)
{
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Polish, QLocale::Poland);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<Entry> entries;
    for (const QFileInfo &info : QDir(folder).entryInfoList(everything, QDir::NoSort)) {
        const bool isDir = info.isDir();
        if (!isDir && !mask.showsEverything() && !mask.matches(info.filePath()))
            continue;
        entries.push_back({info, isDir, collator.sortKey(info.fileName())});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (a.folder != b.folder)
            return a.folder;
        const int order = a.key.compare(b.key);
        return order != 0 ? order < 0 : a.info.fileName() < b.info.fileName();
    });
    return entries;
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

TdfsSystemTreeView::TdfsSystemTreeView(QWidget *parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setIndentation(19);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(true);
    setUniformRowHeights(true);
    // The one column is as wide as its widest entry shown, so that deep entries stay whole and
    // the tree scrolls sideways to them.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) {
        if (!isListed(item))
            listChildren(item);
        updateWatches();
    });
    connect(this, &QTreeWidget::itemCollapsed, this, &TdfsSystemTreeView::updateWatches);
    connect(this, &QTreeWidget::currentItemChanged, this, &TdfsSystemTreeView::showOpenFolder);
    connect(this, &QTreeWidget::currentItemChanged, this, &TdfsSystemTreeView::selectionChanged);

    m_watchDelay.setSingleShot(true);
    m_watchDelay.setInterval(500);
    connect(&m_watchDelay, &QTimer::timeout, this, &TdfsSystemTreeView::watchSelection);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &TdfsSystemTreeView::folderChanged);

    // Drives and media come and go: a look at the mounted volumes now and then stands in for
    // the system's device notices.
    m_volumeCheck.setInterval(2000);
    connect(&m_volumeCheck, &QTimer::timeout, this, &TdfsSystemTreeView::checkVolumes);
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        m_volumes << volume.rootPath();
    m_volumes.sort();
    m_volumeCheck.start();
}

// Taking the entries down must not report selection changes to a window that is going away.
TdfsSystemTreeView::~TdfsSystemTreeView()
{
    blockSignals(true);
    m_watchDelay.stop();
    m_volumeCheck.stop();
}

QString TdfsSystemTreeView::pathOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, PathRole).toString() : QString();
}

bool TdfsSystemTreeView::isFolder(const QTreeWidgetItem *item)
{
    return item && item->data(0, FolderRole).toBool();
}

bool TdfsSystemTreeView::isListed(const QTreeWidgetItem *item)
{
    return item && item->data(0, ListedRole).toBool();
}

void TdfsSystemTreeView::setCustomDir(const QString &dir)
{
    if (dir == m_customDir)
        return;
    m_customDir = dir;
    Rebuild();
}

void TdfsSystemTreeView::setCustomDirCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    if (QTreeWidgetItem *root = topLevelItem(0))
        root->setText(0, caption);
}

void TdfsSystemTreeView::setFileMask(const QString &mask)
{
    if (mask == m_maskText)
        return;
    m_maskText = mask;
    m_mask = ::FileMask(mask);
    Rebuild();
}

QString TdfsSystemTreeView::Selection() const
{
    return pathOf(currentItem());
}

void TdfsSystemTreeView::Rebuild()
{
    const QString root = withoutTrailingSeparator(m_customDir);
    const bool sameRoot = topLevelItem(0) && pathOf(topLevelItem(0)) == root;
    const QString selected = Selection();
    const bool wasOpen = currentItem() && currentItem()->isExpanded();
    const QStringList open = sameRoot ? openFolders() : QStringList();
    const QPoint scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QString before = Selection();
    quietly([&] {
        clear();
        if (!m_customDir.isEmpty() && QDir::isAbsolutePath(root) && QFileInfo(root).isDir()) {
            const QFileInfo info(root);
            QTreeWidgetItem *item = newEntry(info);
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
    if (!sameRoot && !before.isEmpty() && Selection() == before)
        selectionChanged();
    updateWatches();
}

void TdfsSystemTreeView::scrollTo(const QModelIndex &index, ScrollHint hint)
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

QTreeWidgetItem *TdfsSystemTreeView::newEntry(const QFileInfo &info)
{
    const bool folder = info.isDir();
    const bool link = info.isSymLink();
    auto *item = new QTreeWidgetItem;
    item->setText(0, info.fileName());
    item->setIcon(0, entryIcon(info, folder, link, false));
    item->setData(0, PathRole, info.filePath());
    item->setData(0, FolderRole, folder);
    if (link)
        item->setData(0, LinkRole, true);
    item->setChildIndicatorPolicy(folder && hasEntries(info.filePath()) ? QTreeWidgetItem::ShowIndicator
                                                                        : QTreeWidgetItem::DontShowIndicator);
    return item;
}

void TdfsSystemTreeView::relist(QTreeWidgetItem *item)
{
    if (isListed(item))
        listChildren(item);
    else if (isFolder(item)) // never opened: only its marker can be out of date
        item->setChildIndicatorPolicy(hasEntries(pathOf(item)) ? QTreeWidgetItem::ShowIndicator
                                                               : QTreeWidgetItem::DontShowIndicator);
}

void TdfsSystemTreeView::listChildren(QTreeWidgetItem *item)
{
    if (!isFolder(item))
        return;
    const BusyCursor busy;
    quietly([&] {
        setUpdatesEnabled(false);
        const std::vector<Entry> entries = readFolder(pathOf(item), m_mask);
        QHash<QString, bool> onDisk; // path, folder
        if (item->childCount() > 0) {
            onDisk.reserve(qsizetype(entries.size()));
            for (const Entry &entry : entries)
                onDisk.insert(entry.info.filePath(), entry.folder);
        }
        for (int i = item->childCount() - 1; i >= 0; --i) {
            const QTreeWidgetItem *child = item->child(i);
            const auto it = onDisk.constFind(pathOf(child));
            if (it == onDisk.cend() || *it != isFolder(child))
                delete item->takeChild(i);
        }
        // What is left is in the listing's order: new entries go in between, in runs.
        int row = 0;
        const auto isAt = [&](int r, const Entry &entry) {
            return r < item->childCount() && pathOf(item->child(r)) == entry.info.filePath();
        };
        for (size_t i = 0; i < entries.size();) {
            if (isAt(row, entries[i])) {
                ++row;
                ++i;
                continue;
            }
            QList<QTreeWidgetItem *> run;
            for (; i < entries.size() && !isAt(row, entries[i]); ++i)
                run << newEntry(entries[i].info);
            item->insertChildren(row, run);
            row += int(run.size());
        }
        item->setData(0, ListedRole, true);
        item->setChildIndicatorPolicy(item->childCount() > 0 ? QTreeWidgetItem::ShowIndicator
                                                             : QTreeWidgetItem::DontShowIndicator);
        setUpdatesEnabled(true);
    });
}

QTreeWidgetItem *TdfsSystemTreeView::findEntry(const QString &path, bool listing)
{
    QTreeWidgetItem *item = topLevelItem(0);
    const QString rootPath = pathOf(item);
    if (!item || path == rootPath)
        return item;
    const QString prefix = rootPath.endsWith(QLatin1Char('/')) ? rootPath : rootPath + QLatin1Char('/');
    if (!path.startsWith(prefix))
        return nullptr;
    const QStringList parts = path.mid(prefix.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = rootPath;
    for (const QString &part : parts) {
        current = current.endsWith(QLatin1Char('/')) ? current + part : current + QLatin1Char('/') + part;
        if (listing && !isListed(item))
            listChildren(item);
        QTreeWidgetItem *next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i) {
            if (pathOf(item->child(i)) == current)
                next = item->child(i);
        }
        if (!next)
            return nullptr;
        item = next;
    }
    return item;
}

// The open folders, each after the one it is in; folders inside a closed one do not count.
QStringList TdfsSystemTreeView::openFolders() const
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

bool TdfsSystemTreeView::select(const QString &path)
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

void TdfsSystemTreeView::quietly(const std::function<void()> &change)
{
    const QString before = Selection();
    ++m_quiet;
    change();
    if (--m_quiet == 0 && Selection() != before)
        selectionChanged();
}

void TdfsSystemTreeView::selectionChanged()
{
    if (m_quiet > 0)
        return;
    viewport()->setCursor(Qt::WaitCursor);
    emit OnChange();
    viewport()->unsetCursor();
    if (m_firstSelection) {
        m_firstSelection = false;
        return;
    }
    m_watchDelay.start(); // each change starts the delay anew
}

// Only the selected folder looks open, as in the system's own tree; an opened branch alone
// does not.
void TdfsSystemTreeView::showOpenFolder()
{
    if (QTreeWidgetItem *before = itemFromIndex(m_openFolder))
        before->setIcon(0, entryIcon({}, true, isLink(before), false));
    m_openFolder = QPersistentModelIndex();
    QTreeWidgetItem *item = currentItem();
    if (!isFolder(item))
        return;
    item->setIcon(0, entryIcon({}, true, isLink(item), true));
    m_openFolder = indexFromItem(item);
}

// One icon per kind of entry, shared by all entries of that kind: folders (closed, open) and
// files by extension, each also as a link.
QIcon TdfsSystemTreeView::entryIcon(const QFileInfo &info, bool folder, bool link, bool open)
{
    static auto *provider = new QFileIconProvider;
    QString key = folder ? (open ? QStringLiteral("/open") : QStringLiteral("/")) : info.suffix().toLower();
    if (link)
        key += QStringLiteral("/link");
    auto it = m_icons.constFind(key);
    if (it != m_icons.cend())
        return *it;
    // A link looks like what it points to, with the emblem; the provider's own icon for a
    // link would hide the kind.
    const QIcon icon = link     ? withLinkEmblem(entryIcon(info, folder, false, open))
                       : folder ? (open ? style()->standardIcon(QStyle::SP_DirOpenIcon)
                                        : provider->icon(QAbstractFileIconProvider::Folder))
                                : provider->icon(info.isSymLink() ? QFileInfo(info.symLinkTarget()) : info);
    return *m_icons.insert(key, icon);
}

QStringList TdfsSystemTreeView::watchedFolders() const
{
    return m_watcher.directories();
}

void TdfsSystemTreeView::watchSelection()
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

void TdfsSystemTreeView::updateWatches()
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

void TdfsSystemTreeView::folderChanged(const QString &folder)
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
            Rebuild();
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

void TdfsSystemTreeView::checkVolumes()
{
    QStringList volumes;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        volumes << volume.rootPath();
    volumes.sort();
    if (volumes == m_volumes)
        return;
    m_volumes = volumes;
    Rebuild();
}

void TdfsSystemTreeView::keyPressEvent(QKeyEvent *event)
{
    emit OnKeyDown(event->key());
    QTreeWidget::keyPressEvent(event);
}

void TdfsSystemTreeView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept(); // the menu acts on the entry selected before
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void TdfsSystemTreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit OnDblClick();
}

void TdfsSystemTreeView::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_popupMenu)
        m_popupMenu->popup(event->globalPos());
    event->accept();
}
