// Following the disk: the folders shown are watched, and mounts and unmounts looked for.

#include "widgets/FolderTree.h"

#include "widgets/FolderTreeParts.h"

#include <QFileInfo>
#include <QStorageInfo>

using namespace FolderTreeParts;

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
    wanted.erase(
        std::remove_if(wanted.begin(), wanted.end(), [](const QString &f) { return !QFileInfo(f).isDir(); }),
        wanted.end());
    if (!wanted.isEmpty())
        m_watcher.addPaths(wanted);
}

void FolderTree::entryChanged(const QString &path)
{
    const QString folder = parentFolder(path);
    QTreeWidgetItem *item = findEntry(folder, false);
    if (!item || !isListed(item))
        return; // not shown: its folder's marker follows from the notice
    updateChild(item, QFileInfo(path).fileName());
    if (const std::optional<FileStatus> status = fileStatus(QFile::encodeName(folder), Links::Follow))
        m_noted.insert(withoutTrailingSeparator(folder), *status);
}

void FolderTree::folderChanged(const QString &folder)
{
    // A folder as the program left it after its own change is shown as it is already; each
    // of the notices that change brings finds it so.
    const auto noted = m_noted.constFind(withoutTrailingSeparator(folder));
    if (noted != m_noted.cend()) {
        const std::optional<FileStatus> status = fileStatus(QFile::encodeName(folder), Links::Follow);
        if (status && status->sameVersion(*noted) && (!currentItem() || stillExists(currentItem())))
            return;
        m_noted.erase(noted);
    }
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

namespace {

QStringList mountedVolumeRoots()
{
    QStringList volumes;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        volumes << volume.rootPath();
    volumes.sort();
    return volumes;
}

} // namespace

// Drives and media come and go: while the tree has a folder to show (on a drive that may be
// there or not), a look at the mounted volumes now and then stands in for the system's device
// notices.
void FolderTree::watchVolumes(bool on)
{
    if (!on) {
        m_volumeCheck.stop();
    } else if (!m_volumeCheck.isActive()) {
        m_volumes = mountedVolumeRoots();
        m_volumeCheck.start();
    }
}

void FolderTree::checkVolumes()
{
    const QStringList volumes = mountedVolumeRoots();
    if (volumes == m_volumes)
        return;
    m_volumes = volumes;
    rebuild();
}
