#include "widgets/FolderTree.h"
#include "widgets/FocusMark.h"

#include "widgets/FolderTreeParts.h"
#include "widgets/BusyCursor.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>

using namespace FolderTreeParts;

FolderTree::FolderTree(QWidget *parent)
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
    connect(this, &QTreeWidget::itemCollapsed, this, &FolderTree::updateWatches);
    connect(this, &QTreeWidget::currentItemChanged, this, &FolderTree::showOpenFolder);
    connect(this, &QTreeWidget::currentItemChanged, this, &FolderTree::selectionChanged);

    m_watchDelay.setSingleShot(true);
    m_watchDelay.setInterval(500);
    connect(&m_watchDelay, &QTimer::timeout, this, &FolderTree::watchSelection);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FolderTree::folderChanged);

    m_volumeCheck.setInterval(2000);
    connect(&m_volumeCheck, &QTimer::timeout, this, &FolderTree::checkVolumes);
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
    if (dir == m_rootFolder)
        return;
    m_rootFolder = dir;
    watchVolumes(!dir.isEmpty());
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
    m_noted.clear(); // every listing is read anew
    const QString root = withoutTrailingSeparator(m_rootFolder);
    const bool sameRoot = topLevelItem(0) && pathOf(topLevelItem(0)) == root;
    const QString selected = selectedPath();
    const bool wasOpen = currentItem() && currentItem()->isExpanded();
    const QStringList open = sameRoot ? openFolders() : QStringList();
    const QPoint scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QString before = selectedPath();
    quietly([&] {
        clear();
        if (!m_rootFolder.isEmpty() && QDir::isAbsolutePath(root) && QFileInfo(root).isDir()) {
            const QFileInfo info(root);
            QTreeWidgetItem *item = newEntry(root, root, true, info.isSymLink());
            item->setText(
                0, m_caption.isEmpty() ? (info.fileName().isEmpty() ? root : info.fileName()) : m_caption);
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

void FolderTree::keyPressEvent(QKeyEvent *event)
{
    emit keyPressed(event->key());
    // Right opens a folder; on a file or an empty folder it would scroll the tree sideways,
    // taking the names out of view.
    const QTreeWidgetItem *item = currentItem();
    if (event->key() == Qt::Key_Right && item && item->childCount() == 0
        && item->childIndicatorPolicy() != QTreeWidgetItem::ShowIndicator) {
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void FolderTree::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        // The entry under the pointer is the one its menu acts on, as in a file manager.
        if (QTreeWidgetItem *item = itemAt(event->position().toPoint()))
            setCurrentItem(item);
        event->accept();
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

void FolderTree::drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QTreeWidget::drawRow(painter, option, index);
    if (hasFocus() && index == currentIndex())
        drawFocusFrame(painter, visualRect(index).adjusted(0, 0, -1, -1), option.palette,
                       selectionModel()->isSelected(index));
}

void FolderTree::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_popupMenu)
        m_popupMenu->popup(event->globalPos());
    event->accept();
}
