// The auto-start panel: the programs and icon files of the whole data folder, from which the
// program started on insertion, the icon file and the icon are chosen.

#include "app/MainWindow.h"

#include "core/DiscPath.h"
#include "core/FileSearch.h"
#include "widgets/BusyCursor.h"
#include "widgets/ChoiceList.h"
#include "widgets/FolderEdit.h"
#include "widgets/IconList.h"
#include "widgets/FolderTree.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

void MainWindow::openAutoStartPanel()
{
    if (panelOpen())
        return;
    lockForPanel(true);
    const QString folder = dataFolder();
    const bool iconSelected = !m_iconList->selectedItems().isEmpty();
    m_choiceBeforePanel = {m_programNameLabel->text(), m_iconFileLabel->text(), m_iconList->fileName(),
                           iconSelected ? m_iconList->currentRow() : -1, m_iconIndexFromFile,
                           m_modified, m_edited};

    QStringList found;
    {
        const BusyCursor busy;
        m_foundIconFiles->clear();
        // One walk of the folder gives every program first, then the libraries, icon
        // libraries and icon files, each in the order found.
        for (const QStringList &files : collectFilesByMasks(folder, autoStartMasks()))
            found << files;
        m_foundIconFiles->addItems(found);
    }

    const QSignalBlocker quietPrograms(m_programList);
    const QSignalBlocker quietIcons(m_iconFileList);
    m_programList->clear();
    m_iconFileList->clear();
    QStringList files;
    files.reserve(found.size());
    qsizetype programs = 0;
    for (const QString &path : std::as_const(found)) {
        if (programs == files.size() && isProgramPath(path))
            ++programs; // the programs come first
        files << discPathOf(folder, path);
    }
    m_programList->addItems(files.mid(0, programs));
    m_iconFileList->addItems(files);
    m_programList->fitRowsToLongestText();
    m_iconFileList->fitRowsToLongestText();

    showPanel(m_autoStartPanel, m_programList);

    const QString program = m_programNameLabel->text().toLower();
    if (program.size() > 1) {
        for (int i = 0; i < m_programList->count(); ++i) {
            if (m_programList->item(i)->text().toLower() == program) {
                m_programList->setCurrentRow(i);
                m_iconFileList->setCurrentRow(i);
            }
        }
    }
    const QString iconFile = m_iconFileLabel->text().toLower();
    if (iconFile.size() > 1) {
        for (int i = 0; i < m_iconFileList->count(); ++i) {
            if (m_iconFileList->item(i)->text().toLower() == iconFile)
                m_iconFileList->setCurrentRow(i);
        }
    }
    m_autoStartTabs->setCurrentWidget(m_programPage);
    m_programList->setFocus();
}

void MainWindow::loadIconList(const QString &discPath)
{
    const QSignalBlocker quiet(m_iconList);
    const QString path = nativePathOf(dataFolder(), discPath);
    if (m_iconList->fileName() == path)
        m_iconList->reload();
    else
        m_iconList->setFileName(path);
    m_iconIndexFromFile.reset();
}

// OK is offered once the program exists, or the icon file exists (with icons in the list,
// when a program was just picked).
void MainWindow::setAutoOkEnabled(bool requireIcons)
{
    const QString folder = dataFolder();
    const bool icon = discFileExists(folder, m_iconFileLabel->text())
        && (!requireIcons || m_iconList->iconCount() > 0);
    m_autoStartOkButton->setEnabled(discFileExists(folder, m_programNameLabel->text()) || icon);
}

void MainWindow::programChosen()
{
    const QListWidgetItem *row = m_programList->chosenItem();
    if (!row)
        return;
    m_programNameLabel->setText(row->text());
    markChanged();
    if (m_iconFileLabel->text().size() < 3) {
        // No icon file yet: the program's own icons are shown, to be picked on the icon tab.
        const QSignalBlocker quiet(m_iconFileList);
        m_iconFileList->setCurrentRow(m_programList->currentRow());
        loadIconList(m_programNameLabel->text());
    }
    setAutoOkEnabled(true);
}

void MainWindow::iconFileChosen()
{
    const QListWidgetItem *row = m_iconFileList->chosenItem();
    if (!row)
        return;
    {
        const QSignalBlocker quiet(m_iconList);
        m_iconList->clearIcons();
        m_iconList->repaint();
    }
    loadIconList(row->text());
    m_iconFileLabel->setText(m_iconList->iconCount() < 1 ? QString() : row->text());
    setAutoOkEnabled(false);
    markChanged();
}

void MainWindow::iconChosen()
{
    const QListWidgetItem *row = m_iconFileList->chosenItem();
    if (!row) {
        // The list shows a file that is not among those collected (an icon file read from the
        // menu file, in a hidden folder): the icon clicked is the icon of that same file.
        if (!m_iconFileLabel->text().isEmpty()
            && m_iconList->fileName() == nativePathOf(dataFolder(), m_iconFileLabel->text())) {
            m_iconIndexFromFile.reset();
            markChanged();
        }
        return;
    }
    const QString path = nativePathOf(dataFolder(), row->text());
    if (m_iconList->fileName() != path) {
        const QSignalBlocker quiet(m_iconList);
        m_iconList->setFileName(path);
    }
    m_iconIndexFromFile.reset();
    m_iconFileLabel->setText(m_iconList->iconCount() < 1 ? QString() : row->text());
    setAutoOkEnabled(false);
    markChanged();
}

void MainWindow::acceptAutoStart()
{
    unlockAfterPanel(false);
    closePanel(m_autoStartPanel);
}

// What was clicked in the panel is let go: the choice it opened with is put back.
void MainWindow::cancelAutoStart()
{
    const AutoStartChoice &before = m_choiceBeforePanel;
    m_programNameLabel->setText(before.program);
    m_iconFileLabel->setText(before.iconFile);
    {
        const QSignalBlocker quiet(m_iconList);
        if (m_iconList->fileName() != before.iconListFile)
            m_iconList->setFileName(before.iconListFile);
        if (before.iconRow >= 0 && before.iconRow < m_iconList->count())
            m_iconList->setCurrentRow(before.iconRow);
        else
            m_iconList->clearSelection();
    }
    m_iconIndexFromFile = before.iconIndexFromFile;
    m_modified = before.modified;
    m_edited = before.edited;
    unlockAfterPanel(false);
    closePanel(m_autoStartPanel);
}

void MainWindow::programListKeyPressed(int key)
{
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_autoStartOkButton->isEnabled())
        acceptAutoStart();
    else if (key == Qt::Key_Escape)
        cancelAutoStart();
    folderEditKeyPressed(key);
}
