// The commands on the whole document: the "Menu ..." pop-up with New, Open, the check of the
// disc, the disc image and the recent files, and Refresh.

#include "app/MainWindow.h"
#include "app/ItemDelegates.h"
#include "app/MenuItemModel.h"

#include "app/RecentList.h"
#include "app/Texts.h"
#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/DiscCheck.h"
#include "dialogs/DiscCheckWindow.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "widgets/Placement.h"
#include "widgets/FolderEdit.h"
#include "widgets/FolderTree.h"
#include "widgets/OwnPictures.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStandardPaths>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

void MainWindow::showFileMenu()
{
    m_fileMenu->clear();
    m_fileMenu->addAction(m_actions.newMenu);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_actions.openMenu);
    m_fileMenu->addAction(m_actions.check);
    m_fileMenu->addAction(m_actions.image);
    QAction *separator = m_fileMenu->addSeparator();
    separator->setObjectName(QStringLiteral("N4"));
    QMenu *recent = m_fileMenu->addMenu(ownIcon(QStringLiteral(":/pictures/small/ostatnie.png")),
                                     Texts::recentFilesMenu());
    for (const QString &path : RecentList(RecentList::filesKey).entries()) {
        if (QFileInfo(path).isFile())
            recent->addAction(path, this, [this, path] {
                if (!settlePendingInput(Pending::Editors))
                    return;
                openMenuFile(path);
                m_folderTree->setFocus();
            });
    }
    recent->menuAction()->setVisible(!recent->isEmpty());
    separator->setVisible(!recent->isEmpty());
    m_fileMenu->popup(m_menuButton->mapToGlobal(QPoint(m_menuButton->width(), m_menuButton->height() - 10)));
}

void MainWindow::newMenu()
{
    // Unsaved changes get the question that offers to save them; otherwise New is confirmed.
    if (hasUnsavedChanges()) {
        if (!saveChangesFirst(true, Texts::askSaveChanges()))
            return;
    } else if (m_services.messages.show(
                   this, Texts::askNewMenu(),
                   Texts::captionWarning(), Messages::Buttons::YesNo, Messages::Icon::Question)
               != Messages::Answer::Yes) {
        return;
    }
    resetToNewMenu();
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    m_folderEdit->setInitialFolder(documents);
    if (!documents.endsWith(QLatin1Char('/')))
        documents += QLatin1Char('/');
    m_folderEdit->setFolder(documents);
    m_document.modified = false;
    m_folderTree->setFocus();
}

void MainWindow::openMenu()
{
    const QString path = m_services.dialogs.openFileName(
        this, Texts::openMenuTitle(), Texts::menuFileFilter(),
        QStringLiteral("inf"), QStringLiteral("autorun.inf"));
    if (!path.isEmpty())
        openChosenFile(path);
}

// A menu file the user chose (in the open dialog, on the command line, dropped on the window):
// it must be there and be called autorun.inf.
void MainWindow::openChosenFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QString error;
    if (!QFileInfo(path).isFile())
        error = Texts::chosenFileMissing();
    else if (fileExtension(name).toLower() != QLatin1String(".inf"))
        error = Texts::chosenFileWrongExtension();
    else if (name.toLower() != QLatin1String("autorun.inf"))
        error = Texts::chosenFileWrongName();
    if (!error.isEmpty()) {
        m_services.messages.show(this, error, Texts::captionError(), Messages::Buttons::Ok,
                                 Messages::Icon::Error);
        return;
    }
    openMenuFile(QFileInfo(path).absoluteFilePath());
    m_folderTree->setFocus();
}

void MainWindow::openPath(const QString &path)
{
    if (panelOpen() || !settlePendingInput(Pending::Editors))
        return;
    const QFileInfo info(path);
    if (info.isDir())
        m_folderEdit->setFolder(info.absoluteFilePath()); // taken as if chosen, with its questions
    else
        openChosenFile(info.absoluteFilePath());
}

namespace {

// Information alone is no problem to show a window for.
bool anyProblem(const QList<DiscFinding> &findings)
{
    return std::any_of(findings.cbegin(), findings.cend(),
                       [](const DiscFinding &f) { return f.severity != DiscFinding::Severity::Info; });
}

} // namespace

// While the findings window is up it shows the menu as it is: a finding leads only to what is
// still there.
void MainWindow::refreshDiscCheck()
{
    if (!m_check || !m_check->isVisible())
        return;
    if (dataFolder().isEmpty()) {
        m_check->close();
        return;
    }
    const QList<DiscFinding> findings = checkDisc(document(), dataFolder()) + m_imageFindings;
    if (!anyProblem(findings))
        m_check->close();
    else
        m_check->setFindings(findings);
}

void MainWindow::showDiscCheck()
{
    if (dataFolder().isEmpty())
        return;
    // The image is laid out anew (not written): the folder may have changed since the last check.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_imageFindings = checkDiscImage(dataFolder(), m_document.discLabel);
    QGuiApplication::restoreOverrideCursor();
    const QList<DiscFinding> findings = checkDisc(document(), dataFolder()) + m_imageFindings;
    if (!anyProblem(findings)) {
        if (m_check)
            m_check->close();
        QString text = Texts::noProblemsFound();
        for (const DiscFinding &finding : findings)
            text += QStringLiteral("\r\r") + finding.message;
        m_services.messages.show(this, text, Texts::captionInformation(), Messages::Buttons::Ok,
                                 Messages::Icon::Information);
        return;
    }
    if (!m_check) {
        m_check = new DiscCheckWindow(this);
        connect(m_check, &DiscCheckWindow::findingChosen, this, &MainWindow::showFinding);
    }
    m_check->setFindings(findings);
    m_check->show();
    m_check->raise();
    m_check->activateWindow();
}

void MainWindow::showFinding(const DiscFinding &finding)
{
    if (panelOpen())
        return;
    activateWindow();
    QRect place; // what the findings window must leave in view
    if (finding.key == QLatin1String("label")) {
        m_labelEdit->setFocus();
        m_labelEdit->selectAll();
        place = QRect(m_labelEdit->mapToGlobal(QPoint()), m_labelEdit->size());
    } else if (!finding.section.isEmpty()) {
        // An architecture section is shown, not edited: the finding leads to where it is named.
        place = QRect(m_sectionsLabel->mapToGlobal(QPoint()), m_sectionsLabel->size());
    } else if (finding.code == QLatin1String("name-not-on-windows")
               || finding.code == QLatin1String("file-over-4gib")) {
        // The folder or file in the tree; the key is its path on the disc.
        const QString path = QDir::cleanPath(dataFolder() + QString(finding.key).replace(QLatin1Char('\\'), QLatin1Char('/')));
        if (m_folderTree->select(path)) {
            m_folderTree->setFocus();
            place = QRect(m_folderTree->mapToGlobal(QPoint()), m_folderTree->size());
        }
    } else if (finding.code == QLatin1String("disc-size") || finding.code == QLatin1String("removable-drive")) {
        m_folderEdit->setFocus(); // what the whole folder makes
        place = QRect(m_folderEdit->mapToGlobal(QPoint()), m_folderEdit->size());
    } else if (finding.item >= 0) {
        // The list may have changed since the check: a row that is gone is not looked for.
        if (finding.item >= 0 && finding.item < m_items->rowCount()) {
            const QModelIndex row = m_items->index(finding.item, 0);
            m_itemList->setCurrentIndex(row);
            m_itemList->scrollTo(row);
            m_itemList->setFocus();
            const QRect rect = m_itemList->visualRect(row);
            place = QRect(m_itemList->viewport()->mapToGlobal(rect.topLeft()), rect.size());
        }
    } else if (finding.key == QLatin1String("shell")) {
        m_itemList->setFocus(); // the default entry is one of the list's, or none of them
        place = QRect(m_itemList->mapToGlobal(QPoint()), m_itemList->size());
    } else {
        openAutoStartPanel();
        if (m_openPanel == OpenPanel::AutoStart)
            place = QRect(m_autoStartPanel->mapToGlobal(QPoint()), m_autoStartPanel->size());
    }
    if (m_check && m_check->isVisible() && place.isValid())
        moveOutOf(m_check, place);
}

void MainWindow::refresh()
{
    if (!fileOnDisc() || panelOpen())
        return;
    if (differsFromFile()
        && m_services.messages.show(
               this,
               Texts::askRefresh(),
               Texts::captionWarning(), Messages::Buttons::YesNo, Messages::Icon::Question)
               != Messages::Answer::Yes)
        return;
    if (readMenuFile(autorunPath(dataFolder())))
        m_document.modified = false;
    updateControls();
}
