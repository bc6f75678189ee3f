// The auto-start panel: the programs and icon files of the whole data folder, from which the
// program started on insertion, the icon file and the icon are chosen.

#include "app/TForm1.h"

#include "core/DiscPath.h"
#include "core/FileSearch.h"
#include "widgets/BusyCursor.h"
#include "widgets/ChoiceListBox.h"
#include "widgets/TDirectoryEdit.h"
#include "widgets/TdfsIconListBox.h"
#include "widgets/TdfsSystemTreeView.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

void TForm1::sb_AutoRunClick()
{
    if (panelOpen())
        return;
    lockForPanel(true);
    const QString folder = dataFolder();
    const bool iconSelected = !dfsIconListBox1->selectedItems().isEmpty();
    m_choiceBeforePanel = {l_Program->text(), l_Ikona->text(), dfsIconListBox1->FileName(),
                           iconSelected ? dfsIconListBox1->currentRow() : -1, m_iconIndexFromFile,
                           m_modified, m_edited};

    QStringList found;
    {
        const BusyCursor busy;
        ListBox1->clear();
        // One walk of the folder gives every program first, then the libraries, icon
        // libraries and icon files, each in the order found.
        for (const QStringList &files : collectFilesByMasks(folder, autoStartMasks()))
            found << files;
        ListBox1->addItems(found);
    }

    const QSignalBlocker quietPrograms(lb_Programy);
    const QSignalBlocker quietIcons(lb_Ikony);
    lb_Programy->clear();
    lb_Ikony->clear();
    QStringList files;
    files.reserve(found.size());
    qsizetype programs = 0;
    for (const QString &path : std::as_const(found)) {
        if (programs == files.size() && isProgramPath(path))
            ++programs; // the programs come first
        files << discPathOf(folder, path);
    }
    lb_Programy->addItems(files.mid(0, programs));
    lb_Ikony->addItems(files);
    lb_Programy->fitRowsToLongestText();
    lb_Ikony->fitRowsToLongestText();

    showPanel(p_Autorun, lb_Programy);

    const QString program = l_Program->text().toLower();
    if (program.size() > 1) {
        for (int i = 0; i < lb_Programy->count(); ++i) {
            if (lb_Programy->item(i)->text().toLower() == program) {
                lb_Programy->setCurrentRow(i);
                lb_Ikony->setCurrentRow(i);
            }
        }
    }
    const QString iconFile = l_Ikona->text().toLower();
    if (iconFile.size() > 1) {
        for (int i = 0; i < lb_Ikony->count(); ++i) {
            if (lb_Ikony->item(i)->text().toLower() == iconFile)
                lb_Ikony->setCurrentRow(i);
        }
    }
    PageControl1->setCurrentWidget(TabSheet1);
    lb_Programy->setFocus();
}

void TForm1::loadIconList(const QString &discPath)
{
    const QSignalBlocker quiet(dfsIconListBox1);
    const QString path = nativePathOf(dataFolder(), discPath);
    if (dfsIconListBox1->FileName() == path)
        dfsIconListBox1->Reload();
    else
        dfsIconListBox1->setFileName(path);
    m_iconIndexFromFile.reset();
}

// OK is offered once the program exists, or the icon file exists (with icons in the list,
// when a program was just picked).
void TForm1::setAutoOkEnabled(bool requireIcons)
{
    const QString folder = dataFolder();
    const bool icon = discFileExists(folder, l_Ikona->text())
        && (!requireIcons || dfsIconListBox1->NumberOfIcons() > 0);
    sb_Auto_OK->setEnabled(discFileExists(folder, l_Program->text()) || icon);
}

void TForm1::lb_ProgramyClick()
{
    const QListWidgetItem *row = lb_Programy->chosenItem();
    if (!row)
        return;
    l_Program->setText(row->text());
    markChanged();
    if (l_Ikona->text().size() < 3) {
        // No icon file yet: the program's own icons are shown, to be picked on the icon tab.
        const QSignalBlocker quiet(lb_Ikony);
        lb_Ikony->setCurrentRow(lb_Programy->currentRow());
        loadIconList(l_Program->text());
    }
    setAutoOkEnabled(true);
}

void TForm1::lb_IkonyClick()
{
    const QListWidgetItem *row = lb_Ikony->chosenItem();
    if (!row)
        return;
    {
        const QSignalBlocker quiet(dfsIconListBox1);
        dfsIconListBox1->Clear();
        dfsIconListBox1->repaint();
    }
    loadIconList(row->text());
    l_Ikona->setText(dfsIconListBox1->NumberOfIcons() < 1 ? QString() : row->text());
    setAutoOkEnabled(false);
    markChanged();
}

void TForm1::dfsIconListBox1Click()
{
    const QListWidgetItem *row = lb_Ikony->chosenItem();
    if (!row) {
        // The list shows a file that is not among those collected (an icon file read from the
        // menu file, in a hidden folder): the icon clicked is the icon of that same file.
        if (!l_Ikona->text().isEmpty()
            && dfsIconListBox1->FileName() == nativePathOf(dataFolder(), l_Ikona->text())) {
            m_iconIndexFromFile.reset();
            markChanged();
        }
        return;
    }
    const QString path = nativePathOf(dataFolder(), row->text());
    if (dfsIconListBox1->FileName() != path) {
        const QSignalBlocker quiet(dfsIconListBox1);
        dfsIconListBox1->setFileName(path);
    }
    m_iconIndexFromFile.reset();
    l_Ikona->setText(dfsIconListBox1->NumberOfIcons() < 1 ? QString() : row->text());
    setAutoOkEnabled(false);
    markChanged();
}

void TForm1::sb_Auto_OKClick()
{
    unlockAfterPanel(false);
    closePanel(p_Autorun);
}

// What was clicked in the panel is let go: the choice it opened with is put back.
void TForm1::sb_Auto_NOClick()
{
    const AutoStartChoice &before = m_choiceBeforePanel;
    l_Program->setText(before.program);
    l_Ikona->setText(before.iconFile);
    {
        const QSignalBlocker quiet(dfsIconListBox1);
        if (dfsIconListBox1->FileName() != before.iconListFile)
            dfsIconListBox1->setFileName(before.iconListFile);
        if (before.iconRow >= 0 && before.iconRow < dfsIconListBox1->count())
            dfsIconListBox1->setCurrentRow(before.iconRow);
        else
            dfsIconListBox1->clearSelection();
    }
    m_iconIndexFromFile = before.iconIndexFromFile;
    m_modified = before.modified;
    m_edited = before.edited;
    unlockAfterPanel(false);
    closePanel(p_Autorun);
}

void TForm1::lb_ProgramyKeyDown(int key)
{
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && sb_Auto_OK->isEnabled())
        sb_Auto_OKClick();
    else if (key == Qt::Key_Escape)
        sb_Auto_NOClick();
    de_FolderKeyDown(key);
}
