// The created file and the files of the folder handed to the desktop, deleting the created
// file, the recent folders, and the drive's context menu as the disc will show it.

#include "app/MainWindow.h"

#include "app/RecentList.h"
#include "app/Texts.h"
#include "core/AutorunWriter.h"
#include "core/DiscPath.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "widgets/FolderEdit.h"
#include "widgets/FolderTree.h"

#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>

void MainWindow::openMenuFileOnDesktop()
{
    if (!fileOnDisc())
        return;
    if (differsFromFile()
        && m_services.messages.show(this,
                                    Texts::askSaveBeforeOpening(),
                                    Texts::captionWarning(), Messages::Buttons::YesNo, Messages::Icon::Question)
               == Messages::Answer::Yes)
        save();
    m_services.messages.show(this,
                             Texts::openedFileNotice(),
                             Texts::captionInformation(), Messages::Buttons::Ok, Messages::Icon::Information);
    m_services.shell.open(this, autorunPath(dataFolder()), QStringLiteral("open"), Shell::Show::Normal);
    m_folderTree->setFocus();
}

void MainWindow::deleteMenuFile()
{
    if (m_services.messages.show(this, Texts::askDeleteFile(),
                                 Texts::captionWarning(), Messages::Buttons::YesNo, Messages::Icon::Question)
            == Messages::Answer::Yes
        && !QFile::remove(autorunPath(dataFolder())))
        m_services.messages.show(
            this,
            Texts::deleteFailed(),
            Texts::captionError(), Messages::Buttons::Ok, Messages::Icon::Error);
    m_folderTree->entryChanged(autorunPath(dataFolder()));
    m_saveInsteadOfCreate = fileOnDisc();
    if (!m_saveInsteadOfCreate) {
        clearItems();
        m_document.modified = false; // no file left to differ from
    }
    updateControls();
    m_folderTree->setFocus();
}

void MainWindow::runSelectedProgram()
{
    m_services.shell.open(this, selectedPath(), QString(), Shell::Show::Normal);
}

bool MainWindow::fillRecentFolders()
{
    m_recentFoldersMenu->clear();
    for (const QString &folder : RecentList(RecentList::foldersKey).entries()) {
        // Stored with the separator at the end; the root is the separator alone.
        if (!QFileInfo(folder.size() > 1 ? folder.chopped(1) : folder).isDir())
            continue;
        m_recentFoldersMenu->addAction(folder, this, [this, folder] {
            m_folderEdit->setFolder(folder);
            if (m_folderTree->isEnabled() && m_folderTree->isVisible())
                m_folderTree->setFocus();
        });
    }
    return !m_recentFoldersMenu->isEmpty();
}

void MainWindow::showRecentFolders()
{
    if (fillRecentFolders())
        m_recentFoldersMenu->popup(m_recentFoldersButton->mapToGlobal(QPoint(0, m_recentFoldersButton->height())));
}

void MainWindow::fillDriveMenu()
{
    m_driveMenu->clear();
    m_driveMenu->setToolTipsVisible(true);
    const QString folder = dataFolder();
    const auto opening = [&](const QString &caption, const QString &file) {
        const QString path = nativePathOf(folder, file);
        QAction *action = m_driveMenu->addAction(caption, this, [this, path] {
            m_services.shell.open(this, path, QStringLiteral("open"), Shell::Show::Normal);
        });
        // A path from the menu file is shown as it is, never taken for markup.
        action->setToolTip(Qt::mightBeRichText(path) ? QStringLiteral("<p style='white-space:pre'>")
                                                           + path.toHtmlEscaped() + QStringLiteral("</p>")
                                                     : path);
        action->setStatusTip(path);
        return action;
    };
    const auto greyed = [&](const QString &caption) {
        QAction *action = m_driveMenu->addAction(caption);
        action->setEnabled(false);
        return action;
    };

    // Windows that reads an architecture section shows another menu: this one is [autorun]'s.
    if (!m_document.kept.sections.isEmpty()) {
        greyed(Texts::menuOfSection());
        m_driveMenu->addSeparator();
    }
    const QString program = m_document.autoStartProgram;
    if (!program.isEmpty()) {
        m_driveMenu->setDefaultAction(opening(Texts::autoPlay(), program));
    } else {
        m_driveMenu->setDefaultAction(greyed(Texts::driveOpen()));
        greyed(Texts::driveExplore());
        greyed(Texts::driveSearch());
    }
    for (const MenuItem &item : std::as_const(m_document.items))
        opening(item.label, item.file);
    if (!program.isEmpty()) {
        greyed(Texts::driveSearch());
        greyed(Texts::driveOpen());
        greyed(Texts::driveExplore());
    }
    for (const QString &caption : {Texts::driveSharing(), Texts::driveEject(), Texts::driveCopy(),
                                   Texts::driveShortcut(), Texts::driveProperties()}) {
        m_driveMenu->addSeparator();
        greyed(caption);
    }
}
