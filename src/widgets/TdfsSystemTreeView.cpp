#include "widgets/TdfsSystemTreeView.h"

#include <QCollator>
#include <QContextMenuEvent>
#include <QDir>
#include <QDirIterator>
#include <QFileIconProvider>
#include <QGuiApplication>
#include <QMenu>
#include <QStorageInfo>

#include <algorithm>

namespace {

enum Role { PathRole = Qt::UserRole, FolderRole, ListedRole };

const QDir::Filters everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

// One icon per kind of item: folders share one, files one per extension. The provider and
// the icons live as long as the process, so no icon outlives the application's end badly.
QIcon iconFor(const QFileInfo &info)
{
    static auto *provider = new QFileIconProvider;
    static auto *cache = new QHash<QString, QIcon>;
    const QString key = info.isDir() ? QStringLiteral("/") : info.suffix().toLower();
    auto it = cache->constFind(key);
    if (it == cache->cend())
        it = cache->insert(key, info.isDir() ? provider->icon(QAbstractFileIconProvider::Folder)
                                             : provider->icon(info));
    return *it;
}

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

class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
};

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

    connect(this, &QTreeWidget::itemExpanded, this, &TdfsSystemTreeView::listChildren);
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
    const QString selected = Selection();
    const bool wasOpen = currentItem() && currentItem()->isExpanded();
    m_rebuilding = true;
    clear();
    const QString root = withoutTrailingSeparator(m_customDir);
    if (!m_customDir.isEmpty() && QDir::isAbsolutePath(root) && QFileInfo(root).isDir()) {
        const QFileInfo info(root);
        auto *item = new QTreeWidgetItem(this);
        item->setText(0, m_caption.isEmpty() ? (info.fileName().isEmpty() ? root : info.fileName()) : m_caption);
        item->setIcon(0, iconFor(info));
        item->setData(0, PathRole, root);
        item->setData(0, FolderRole, true);
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        expandItem(item);
        if (!selected.isEmpty() && select(selected)) {
            if (wasOpen)
                expandItem(currentItem());
        } else if (!selected.isEmpty()) {
            setCurrentItem(item);
        }
    }
    m_rebuilding = false;
}

void TdfsSystemTreeView::listChildren(QTreeWidgetItem *item)
{
    if (!isFolder(item) || isListed(item))
        return;
    const BusyCursor busy;
    setUpdatesEnabled(false);

    struct Entry
    {
        QFileInfo info;
        bool folder;
        QCollatorSortKey key;
    };
    // Names in the order a file manager gives them: numbers by value, letter case aside, by
    // the user's language (the interface's own, Polish, when the system names none).
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Polish, QLocale::Poland);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<Entry> entries;
    const QString folder = pathOf(item);
    for (const QFileInfo &info : QDir(folder).entryInfoList(everything, QDir::NoSort)) {
        const bool isDir = info.isDir();
        if (!isDir && !m_mask.showsEverything() && !m_mask.matches(info.filePath()))
            continue;
        entries.push_back({info, isDir, collator.sortKey(info.fileName())});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (a.folder != b.folder)
            return a.folder;
        const int order = a.key.compare(b.key);
        return order != 0 ? order < 0 : a.info.fileName() < b.info.fileName();
    });

    QList<QTreeWidgetItem *> children;
    children.reserve(qsizetype(entries.size()));
    for (const Entry &entry : entries) {
        auto *child = new QTreeWidgetItem;
        child->setText(0, entry.info.fileName());
        child->setIcon(0, iconFor(entry.info));
        child->setData(0, PathRole, entry.info.filePath());
        child->setData(0, FolderRole, entry.folder);
        child->setChildIndicatorPolicy(entry.folder && hasEntries(entry.info.filePath())
                                           ? QTreeWidgetItem::ShowIndicator
                                           : QTreeWidgetItem::DontShowIndicator);
        children << child;
    }
    item->addChildren(children);
    item->setData(0, ListedRole, true);
    if (children.isEmpty())
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
    setUpdatesEnabled(true);
}

void TdfsSystemTreeView::relist(QTreeWidgetItem *item)
{
    if (!isFolder(item))
        return;
    const bool listed = isListed(item);
    qDeleteAll(item->takeChildren());
    item->setData(0, ListedRole, false);
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    if (listed)
        listChildren(item);
    else if (!hasEntries(pathOf(item)))
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

QTreeWidgetItem *TdfsSystemTreeView::findEntry(const QString &path)
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

void TdfsSystemTreeView::selectionChanged()
{
    viewport()->setCursor(Qt::WaitCursor);
    emit OnChange();
    viewport()->unsetCursor();
    if (m_rebuilding)
        return;
    if (m_firstSelection) {
        m_firstSelection = false;
        return;
    }
    m_watchDelay.start(); // each change starts the delay anew
}

QStringList TdfsSystemTreeView::watchedFolders() const
{
    return m_watcher.directories();
}

void TdfsSystemTreeView::watchSelection()
{
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_watchedFolder.clear();
    m_watchedParent.clear();
    const QTreeWidgetItem *item = currentItem();
    if (!item)
        return;
    const QString path = pathOf(item);
    m_watchedFolder = isFolder(item) ? path : parentFolder(path);
    m_watchedParent = parentFolder(path);
    for (const QString &folder : {m_watchedFolder, m_watchedParent}) {
        if (QFileInfo(folder).isDir() && !m_watcher.directories().contains(folder))
            m_watcher.addPath(folder);
    }
}

void TdfsSystemTreeView::folderChanged(const QString &folder)
{
    QTreeWidgetItem *item = currentItem();
    if (!item)
        return;
    const QString path = pathOf(item);
    const bool stillThere = isFolder(item) ? QFileInfo(path).isDir() : QFileInfo::exists(path);

    if (stillThere) {
        if (folder != m_watchedFolder)
            return;
        if (isFolder(item)) {
            relist(item);
        } else if (QTreeWidgetItem *parent = item->parent()) {
            // A file's folder changed: show what is there now, with the file still selected.
            m_rebuilding = true;
            setCurrentItem(parent);
            relist(parent);
            select(path);
            m_rebuilding = false;
        }
        watchSelection();
        return;
    }

    // The selected entry is gone: its nearest existing ancestor takes the selection. When
    // that is not the parent (or the parent's own folder changed) the whole tree is rebuilt.
    QTreeWidgetItem *ancestor = item->parent();
    while (ancestor && !QFileInfo(pathOf(ancestor)).isDir())
        ancestor = ancestor->parent();
    if (!ancestor) {
        Rebuild();
        watchSelection();
        return;
    }
    setCurrentItem(ancestor);
    if (ancestor == item->parent() && folder == m_watchedFolder) {
        relist(ancestor);
    } else {
        Rebuild();
    }
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
