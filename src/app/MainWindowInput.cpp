// Input the user has typed but not confirmed, taken before any command acts: a rename still
// open in the item list, a folder typed into the folder edit.

#include "app/MainWindow.h"

#include "app/ItemDelegates.h"
#include "app/Texts.h"
#include "platform/Messages.h"
#include "widgets/FolderEdit.h"

#include <QAction>
#include <QTreeWidget>

bool MainWindow::settlePendingInput(Pending pending)
{
    // The rename counts as an edit before anything asks whether there are edits.
    m_itemList->commitOpenEdit();
    const QString typed = m_folderEdit->text();
    if (pending == Pending::Editors || typed == m_folderText)
        return true;
    if (!isFolder(typed)) {
        m_folderEdit->setText(m_folderText);
        m_folderEdit->setModified(false);
        m_services.messages.show(this, Texts::typedFolderMissing().arg(typed), Texts::captionWarning(),
                                 Messages::Buttons::Ok, Messages::Icon::Warning);
        return false;
    }
    QString folder = typed;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const QString before = m_folderText;
    m_folderEdit->setModified(false); // leaving the field later confirms nothing more
    folderConfirmed();
    if (m_folderText != folder)
        return false; // the user cancelled: the field shows the folder still taken
    // Another menu now stands in the window: what the command would have written is gone.
    return pending != Pending::FolderWrite || before == folder;
}

void MainWindow::runCommand(Pending pending, QWidget *control, void (MainWindow::*command)())
{
    if (!settlePendingInput(pending))
        return;
    // The input taken may have changed what the window offers.
    if (control && (control->isHidden() || !control->isEnabled()))
        return;
    (this->*command)();
}

std::function<void()> MainWindow::command(Pending pending, QWidget *control, void (MainWindow::*handler)())
{
    return [this, pending, control, handler] { runCommand(pending, control, handler); };
}

void MainWindow::runCommand(Pending pending, QAction *action, void (MainWindow::*command)())
{
    if (!settlePendingInput(pending))
        return;
    if (!action->isVisible() || !action->isEnabled())
        return;
    (this->*command)();
}
