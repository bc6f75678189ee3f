// The folder contents group: what the lines under the tree show for the selected entry, the
// programs-only filter, and the tree's context menu.

#include "app/MainWindow.h"

#include "app/Texts.h"
#include "core/AutorunWriter.h"
#include "core/DiscPath.h"
#include "platform/FileInfo.h"
#include "platform/Messages.h"
#include "widgets/PathLabel.h"
#include "widgets/FolderTree.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

bool MainWindow::refuseLineBreak(const QString &discPath)
{
    if (!breaksLines(discPath))
        return false;
    QString shown = discPath;
    shown.replace(QLatin1Char('\n'), QChar(0x21B5)).replace(QLatin1Char('\r'), QChar(0x21B5));
    m_services.messages.show(this, Texts::lineBreakInName().arg(shown), Texts::captionWarning(), Messages::Buttons::Ok,
                             Messages::Icon::Warning);
    return true;
}

QString MainWindow::selectedPath() const
{
    return m_folderTree->selectedPath();
}

QString MainWindow::relativeSelectedPath() const
{
    return discPathOf(dataFolder(), selectedPath());
}

bool MainWindow::isProgramSelected() const
{
    return isProgramPath(selectedPath());
}

void MainWindow::treeSelectionChanged()
{
    const QString label = m_labelEdit->text();
    m_selectedPathLabel->setText(label.isEmpty() ? relativeSelectedPath()
                                    : QLatin1Char('[') + label + QStringLiteral("]\\") + relativeSelectedPath());
    m_programSelected = isProgramSelected();
    if (!m_programSelected) {
        m_selectedNameCaption->clear();
        m_selectedNameLabel->clear();
        m_folderTree->setPopupMenu(nullptr);
        updateControls();
        return;
    }
    const FileInfo file(selectedPath());
    FileVersionInfo info;
    file.readVersionInfo(info);
    m_selectedNameLabel->setText(info.fileDescription.isEmpty() ? file.displayName() : info.fileDescription);
    m_selectedNameLabel->adjustSize();
    m_selectedNameCaption->setText(Texts::selectedNameCaption());
    m_selectedNameCaption->adjustSize();
    m_selectedPathCaption->setText(Texts::selectedPathCaption());
    m_selectedPathCaption->adjustSize();
    m_folderTree->setPopupMenu(m_treeMenu);
    updateControls();
}

void MainWindow::treeEntryDoubleClicked()
{
    m_actions.add->trigger();
}

void MainWindow::treeKeyPressed(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        m_actions.add->trigger();
    folderEditKeyPressed(key);
}

void MainWindow::programsOnlyToggled()
{
    m_folderTree->setFileMask(m_programsOnlyBox->isChecked() ? QStringLiteral("*.exe") : QString());
}

// A quiet shortcut past the auto-start panel: the program changes and nothing else, the
// menu's modified mark included.
void MainWindow::setSelectedAsAutoStart()
{
    if (refuseLineBreak(relativeSelectedPath()))
        return;
    m_document.autoStartProgram = relativeSelectedPath();
    m_edited = true;
    updateControls();
}
