#pragma once

#include "core/FileMask.h"

#include <QCollator>
#include <QFileSystemWatcher>
#include <QHash>
#include <QIcon>
#include <QMenu>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTimer>
#include "os/FileStatus.h"

#include <QHash>
#include <QTreeWidget>

#include <optional>

#include <functional>

// The contents of one folder as a tree: a root entry for the folder, captioned as asked, and
// below it the subfolders (first) and files, each folder listed only when first opened.
// Follows changes on disk in the open folders and around the selected entry, and mounts and
// unmounts, keeping what is open, selected and scrolled. The selected folder shows the open
// folder icon; links carry the link emblem.
class FolderTree : public QTreeWidget
{
    Q_OBJECT

public:
    explicit FolderTree(QWidget *parent = nullptr);
    ~FolderTree() override;

    QString rootFolder() const { return m_rootFolder; }
    // A different text (compared exactly) rebuilds the tree.
    void setRootFolder(const QString &dir);
    QString rootCaption() const { return m_caption; }
    void setRootCaption(const QString &caption);
    QString fileMask() const { return m_maskText; }
    // The files shown (folders always are). The folders listed keep what they hold, so another
    // mask reads nothing from the disk.
    void setFileMask(const QString &mask);
    int readDelay() const { return m_watchDelay.interval(); }
    void setReadDelay(int milliseconds) { m_watchDelay.setInterval(milliseconds); }

    // The path of the selected entry, without a trailing separator except for the root "/";
    // empty when nothing is selected.
    QString selectedPath() const;
    // Selects the entry of path, opening the entries above it; false when the tree has none.
    bool select(const QString &path);

    // The menu a right click shows, or none. The right click leaves the selection alone.
    void setPopupMenu(QMenu *menu) { m_popupMenu = menu; }
    QMenu *popupMenu() const { return m_popupMenu; }

    // Builds the tree anew; for the same root, the folders open before, the selection and the
    // scroll position stay where their paths still exist.
    void rebuild();
    // Brings the children of an entry up to date with the disk: new ones are added, vanished
    // ones removed, the others stay as they are (open, selected). Only the names are read, and
    // only what is new is looked at and put in its place; many changes at once rebuild the tree.
    void relist(QTreeWidgetItem *item);
    // The program itself made, replaced or removed the entry at path (a file it wrote or
    // deleted): the tree shows it at once, reading nothing but that entry, and the change
    // notice of its folder that follows reads nothing more while the folder is as the program
    // left it.
    void entryChanged(const QString &path);

    // The folders being watched for changes: the open ones, the selected entry's folder and
    // its parent.
    QStringList watchedFolders() const;

    // Data of every entry.
    static QString pathOf(const QTreeWidgetItem *item);
    static bool isFolder(const QTreeWidgetItem *item);
    static bool isListed(const QTreeWidgetItem *item);

    // Up and down as any tree; sideways so that the entry itself shows, however deep it lies.
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

signals:
    // The selected entry changed. Runs at once, with the busy cursor over the tree.
    void selectedEntryChanged();
    void entryDoubleClicked();
    void keyPressed(int key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // The current row carries a dotted frame while the tree has the focus, whichever way the
    // focus came (the style draws one only after a key moved it).
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void listChildren(QTreeWidgetItem *item);
    bool updateChildren(QTreeWidgetItem *item);
    // Brings the one entry name of a listed folder up to date with the disk.
    void updateChild(QTreeWidgetItem *item, const QString &name);
    void insertSorted(QTreeWidgetItem *folder, QTreeWidgetItem *entry);
    void showMasked();
    QTreeWidgetItem *newEntry(const QString &path, const QString &name, bool folder, bool link);
    QTreeWidgetItem *findEntry(const QString &path, bool listing = true);
    QStringList openFolders() const;
    void selectionChanged();
    // Runs a change of the tree's entries without reporting each step; a different selected
    // path afterwards is reported once.
    void quietly(const std::function<void()> &change);
    void showOpenFolder();
    QIcon entryIcon(const QString &path, bool folder, bool link, bool open);
    void watchSelection();
    void updateWatches();
    void folderChanged(const QString &folder);
    void watchVolumes(bool on);
    void checkVolumes();

    // Folders the program changed itself, as it left them: their next notices ask no listing.
    QHash<QString, FileStatus> m_noted;
    QString m_rootFolder;
    QString m_caption;
    QString m_maskText;
    ::FileMask m_mask;
    std::optional<QCollator> m_collator; // the order of entries, see comesBefore; made when first used
    const QCollator &collator();
    QPointer<QMenu> m_popupMenu;
    int m_quiet = 0;
    bool m_firstSelection = true;
    QTimer m_watchDelay;
    QFileSystemWatcher m_watcher;
    QString m_watchedFolder; // the selected entry's folder
    QString m_watchedParent; // its parent
    QPersistentModelIndex m_openFolder; // the entry showing the open folder icon
    QHash<QString, QIcon> m_icons; // by kind of entry, see entryIcon
    QTimer m_volumeCheck;
    QStringList m_volumes;
};
