// The menu entries: the item list with its details, delete, rename and sort, and the panel
// that adds and edits an entry.

#include "app/MainWindow.h"

#include "app/ItemDelegates.h"
#include "app/Texts.h"
#include "core/DiscCheck.h"
#include "core/DiscPath.h"
#include "core/LabelOrder.h"
#include "core/PanelCentring.h"
#include "core/Suggestions.h"
#include "platform/FileInfo.h"
#include "platform/Messages.h"
#include "widgets/FolderEdit.h"
#include "widgets/PathLabel.h"
#include "widgets/FolderTree.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

namespace {
const QString headingAdd = QStringLiteral("Dodawanie nowej pozycji do menu:");
const QString headingEdit = QStringLiteral("Edycja pozycji w menu:");

// The suggestions for a file given by its native path.
QStringList suggestionsFor(const QString &path)
{
    const FileInfo file(path);
    FileVersionInfo info;
    file.readVersionInfo(info);
    return suggestionList(info.fileDescription, file.displayName());
}
} // namespace

QTreeWidgetItem *MainWindow::selectedRow() const
{
    const QList<QTreeWidgetItem *> rows = m_itemList->selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

// ---- The item list ----

void MainWindow::itemSelectionChanged()
{
    const QTreeWidgetItem *row = selectedRow();
    enable(m_editButton, row);
    enable(m_removeButton, row);
    if (!row) {
        for (QLabel *l : std::initializer_list<QLabel *>{m_itemNameLabel, m_itemFileLabel, m_itemNameCaption,
                                                         m_itemFileCaption})
            l->clear();
        m_fileMissingLabel->hide();
        return;
    }
    m_itemNameLabel->setText(row->text(0));
    m_itemNameLabel->adjustSize();
    m_itemFileLabel->setText(row->text(1));
    m_itemNameCaption->setText(QStringLiteral("Nazwa pozycji:"));
    m_itemNameCaption->adjustSize();
    m_itemFileCaption->setText(QStringLiteral("Plik:"));
    m_itemFileCaption->adjustSize();
    m_fileMissingLabel->setVisible(!discFileExists(dataFolder(), commandProgram(row->text(1), dataFolder())));
}

// Deleting the selected row leaves no row selected, as the list always did.
void MainWindow::deleteSelectedRow()
{
    delete selectedRow();
    m_itemList->clearSelection();
    m_itemList->setCurrentItem(nullptr);
}

void MainWindow::removeSelectedItem()
{
    deleteSelectedRow();
    enable(m_editButton, false);
    enable(m_removeButton, false);
    markChanged();
    updateButtons();
}

void MainWindow::itemListKeyPressed(int key)
{
    if (key == Qt::Key_Delete && m_removeButton->isEnabled())
        removeSelectedItem();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_editButton->isEnabled())
        openEditItemPanel();
    folderEditKeyPressed(key);
}

void MainWindow::itemRenamed(QTreeWidgetItem *)
{
    markChanged();
    itemSelectionChanged();
}

void MainWindow::sortingToggled()
{
    if (!m_sortBox->isChecked())
        return;
    if (m_services.messages.show(this, QStringLiteral("Posortować listę teraz ???"), Texts::captionWarning,
                                 Messages::Buttons::YesNo, Messages::Icon::Question)
        != Messages::Answer::Yes)
        return;
    sortItems();
    mirrorModified();
}

void MainWindow::sortItems()
{
    const int count = m_itemList->topLevelItemCount();
    if (count < 2)
        return;
    // Sorting always counts as an edit, whether or not the menu has a file yet.
    m_modified = true;
    m_edited = true;
    QTreeWidgetItem *selected = selectedRow();
    const LabelOrder order;
    std::vector<std::pair<LabelOrder::Key, QTreeWidgetItem *>> rows;
    rows.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        rows.emplace_back(order.key(m_itemList->topLevelItem(i)->text(0)), m_itemList->topLevelItem(i));
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    const QSignalBlocker quiet(m_itemList);
    while (m_itemList->topLevelItemCount() > 0)
        m_itemList->takeTopLevelItem(m_itemList->topLevelItemCount() - 1);
    QList<QTreeWidgetItem *> sorted;
    sorted.reserve(count);
    for (const auto &row : rows)
        sorted << row.second;
    m_itemList->addTopLevelItems(sorted);
    if (selected)
        selected->setSelected(true);
}

// ---- The item panel ----

void MainWindow::setDriveMenuAttached(bool attached)
{
    m_driveMenuAttached = attached;
    for (QWidget *w : std::initializer_list<QWidget *>{m_drivePicture, m_driveLabel, m_driveFrame})
        w->setContextMenuPolicy(attached ? Qt::CustomContextMenu : Qt::NoContextMenu);
}

void MainWindow::lockForPanel(bool keepSave)
{
    // Taken before the lock, which moves the focus off the controls it disables.
    m_focusBeforePanel = QApplication::focusWidget();
    QList<QWidget *> locked{m_menuButton,     m_createButton,    m_autoStartButton, m_folderGroup,
                            m_folderTree,     m_itemList,        m_addButton,       m_removeButton,
                            m_editButton,     m_refreshButton,   m_previewButton,   m_deleteFileButton,
                            m_openFileButton, m_programsOnlyBox, m_sortBox};
    if (!keepSave)
        locked << m_saveButton;
    m_lock.lock(locked);
    m_driveMenuHint->hide();
    setDriveMenuAttached(false);
}

void MainWindow::unlockAfterPanel(bool accepted)
{
    m_lock.unlock();
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_menuButton, m_autoStartButton, m_folderGroup, m_folderTree,
                                          m_itemList, m_programsOnlyBox, m_sortBox})
        w->setEnabled(true);
    enable(m_addButton, isProgramSelected());
    updateButtons();
    if (accepted)
        markChanged();
    else
        mirrorModified();
    if (fileOnDisc())
        setFileButtons(true);
    m_driveMenuHint->show();
    setDriveMenuAttached(true);
}

// The panel stands centred over the window, halves rounded to even, taken in the client area.
void MainWindow::showPanel(QWidget *panel, QWidget *focus)
{
    const QSize outer = frameGeometry().size();
    panel->move(centredOffset(outer.width(), panel->width()), centredOffset(outer.height(), panel->height()));
    panel->show();
    panel->raise();
    focus->setFocus();
}

void MainWindow::closePanel(QWidget *panel)
{
    panel->hide();
    QWidget *back = m_focusBeforePanel;
    m_focusBeforePanel = nullptr;
    if (back && back->isVisibleTo(this) && back->isEnabled() && !m_itemPanel->isAncestorOf(back)
        && !m_autoStartPanel->isAncestorOf(back))
        back->setFocus();
    else
        m_folderTree->setFocus();
}

void MainWindow::openNewItemPanel()
{
    if (panelOpen())
        return;
    lockForPanel();
    m_itemCaptionBox->clear();
    m_itemCaptionBox->addItems(suggestionsFor(selectedPath()));
    const QString label = m_labelEdit->text();
    m_itemPanelPath->setText(label.isEmpty() ? relativeSelectedPath()
                                         : QLatin1Char('[') + label + QLatin1Char(']') + relativeSelectedPath());
    m_itemCaptionBox->setCurrentIndex(2);
    m_itemCaptionBox->setEditText(m_itemCaptionBox->itemText(2));
    itemCaptionEdited();
    m_itemPanelHeading->setText(headingAdd);
    m_itemPanelHeading->adjustSize();
    showPanel(m_itemPanel, m_itemCaptionBox);
}

void MainWindow::openEditItemPanel()
{
    const QTreeWidgetItem *row = selectedRow();
    if (!row || panelOpen())
        return;
    lockForPanel();
    m_itemCaptionBox->clear();
    const QString file = row->text(1);
    if (discFileExists(dataFolder(), commandProgram(file, dataFolder())))
        m_itemCaptionBox->addItems(suggestionsFor(nativePathOf(dataFolder(), commandProgram(file, dataFolder()))));
    else
        m_itemCaptionBox->addItem(row->text(0));
    const QString label = m_labelEdit->text();
    m_itemPanelPath->setText(label.isEmpty() ? file : QLatin1Char('[') + label + QLatin1Char(']') + file);
    m_itemPanelHeading->setText(headingEdit);
    m_itemPanelHeading->adjustSize();
    m_itemCaptionBox->setCurrentIndex(-1);
    m_itemCaptionBox->setEditText(row->text(0));
    itemCaptionEdited();
    showPanel(m_itemPanel, m_itemCaptionBox);
}

void MainWindow::itemCaptionEdited()
{
    m_itemOkButton->setEnabled(!m_itemCaptionBox->currentText().isEmpty());
}

void MainWindow::itemCaptionKeyPressed(int key)
{
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_itemOkButton->isEnabled())
        acceptItem();
    if (key == Qt::Key_Escape)
        cancelItem();
    folderEditKeyPressed(key);
}

void MainWindow::acceptItem()
{
    QString verb; // an entry edited stays the same entry
    if (m_itemPanelHeading->text() == headingEdit) {
        verb = selectedRow()->data(0, Qt::UserRole).toString();
        deleteSelectedRow();
    }
    const QString label = m_labelEdit->text();
    QString file = m_itemPanelPath->text();
    if (!label.isEmpty())
        file = file.mid(label.size() + 2);
    addItem({m_itemCaptionBox->currentText(), file, verb});
    fitColumns();
    if (m_sortBox->isChecked())
        sortItems();
    unlockAfterPanel(true);
    closePanel(m_itemPanel);
}

void MainWindow::cancelItem()
{
    unlockAfterPanel(false);
    closePanel(m_itemPanel);
}
