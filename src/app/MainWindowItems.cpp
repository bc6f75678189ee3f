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
#include "panels/ItemPanel.h"
#include "platform/FileInfo.h"
#include "platform/Messages.h"
#include "widgets/FolderEdit.h"
#include "widgets/PathLabel.h"
#include "widgets/FolderTree.h"

#include <QApplication>
#include <QCheckBox>
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
// The suggestions for a file given by its native path.
QStringList suggestionsFor(const QString &path)
{
    const FileInfo file(path);
    FileVersionInfo info;
    file.readVersionInfo(info);
    return suggestionList(info.fileDescription, file.displayName());
}

// The path the item panel shows: the file on the disc named by its label.
QString shownOnDisc(const QString &label, const QString &file)
{
    return label.isEmpty() ? file : QLatin1Char('[') + label + QLatin1Char(']') + file;
}
} // namespace

QTreeWidgetItem *MainWindow::selectedRow() const
{
    const QList<QTreeWidgetItem *> rows = m_itemList->selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

// ---- The item list ----

// The lines under the list show the selected entry.
void MainWindow::showSelectedItem()
{
    const QTreeWidgetItem *row = selectedRow();
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
    const bool missing = !discFileExists(dataFolder(), commandProgram(row->text(1), dataFolder()));
    if (missing)
        m_fileMissingLabel->adjustSize();
    m_fileMissingLabel->setVisible(missing);
}

void MainWindow::itemSelectionChanged()
{
    showSelectedItem();
    updateControls();
}

// Deleting the selected row leaves no row selected, as the list always did.
void MainWindow::deleteSelectedRow()
{
    QTreeWidgetItem *row = selectedRow();
    if (!row)
        return;
    m_document.items.removeAt(m_itemList->indexOfTopLevelItem(row));
    delete row;
    m_itemList->clearSelection();
    m_itemList->setCurrentItem(nullptr);
}

void MainWindow::removeSelectedItem()
{
    deleteSelectedRow();
    markChanged();
}

void MainWindow::itemListKeyPressed(int key)
{
    if (key == Qt::Key_Delete)
        m_actions.remove->trigger();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        m_actions.edit->trigger();
    folderEditKeyPressed(key);
}

void MainWindow::moveSelectedItemUp()
{
    moveSelectedItem(-1);
}

void MainWindow::moveSelectedItemDown()
{
    moveSelectedItem(1);
}

// The entry and its row change places with their neighbour; the entry stays selected.
void MainWindow::moveSelectedItem(int by)
{
    QTreeWidgetItem *row = selectedRow();
    const int from = row ? m_itemList->indexOfTopLevelItem(row) : -1;
    const int to = from + by;
    if (from < 0 || to < 0 || to >= m_itemList->topLevelItemCount())
        return;
    {
        const QSignalBlocker quiet(m_itemList);
        m_document.items.move(from, to);
        m_itemList->takeTopLevelItem(from);
        m_itemList->insertTopLevelItem(to, row);
        m_itemList->setCurrentItem(row);
        row->setSelected(true);
    }
    m_itemList->scrollToItem(row);
    markChanged();
}

// A label renamed in the list is the entry's new label.
void MainWindow::itemRenamed(QTreeWidgetItem *row)
{
    const int index = m_itemList->indexOfTopLevelItem(row);
    if (index >= 0 && index < m_document.items.size())
        m_document.items[index].label = row->text(0);
    markChanged();
    showSelectedItem();
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
    updateControls();
}

// The entries and their rows are put in the order of their labels, the same for both.
void MainWindow::sortItems()
{
    const int count = m_itemList->topLevelItemCount();
    if (count < 2)
        return;
    // Sorting always counts as an edit, whether or not the menu has a file yet.
    m_document.modified = true;
    m_edited = true;
    QTreeWidgetItem *selected = selectedRow();
    const LabelOrder order;
    std::vector<std::pair<LabelOrder::Key, int>> keys;
    keys.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        keys.emplace_back(order.key(m_document.items[i].label), i);
    std::stable_sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    const QSignalBlocker quiet(m_itemList);
    QList<QTreeWidgetItem *> rows;
    rows.reserve(count);
    while (m_itemList->topLevelItemCount() > 0)
        rows.prepend(m_itemList->takeTopLevelItem(m_itemList->topLevelItemCount() - 1));
    QList<QTreeWidgetItem *> sortedRows;
    QList<MenuItem> sortedItems;
    sortedRows.reserve(count);
    sortedItems.reserve(count);
    for (const auto &key : keys) {
        sortedRows << rows[key.second];
        sortedItems << m_document.items[key.second];
    }
    m_document.items = sortedItems;
    m_itemList->addTopLevelItems(sortedRows);
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

// The panel stands centred over the window, halves rounded to even, taken in the client area.
// It grows as much as the window has grown past its least size, so that its lists take the
// room the user gave the window.
void MainWindow::placePanel(QWidget *panel)
{
    if (panel->minimumSize().isEmpty() && !panel->layout())
        panel->setMinimumSize(panel->size()); // drawn at one size: that size is its least
    const QSize least = panel->minimumSize().expandedTo(panel->minimumSizeHint());
    const QSize growth = (size() - minimumSize()).expandedTo(QSize(0, 0));
    panel->resize(least + growth);
    const QSize outer = frameGeometry().size();
    panel->move(centredOffset(outer.width(), panel->width()), centredOffset(outer.height(), panel->height()));
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    for (QWidget *panel : std::initializer_list<QWidget *>{m_itemPanel, m_autoStartPanel}) {
        if (panel && panel->isVisible())
            placePanel(panel);
    }
}

void MainWindow::showPanel(OpenPanel which, QWidget *panel, QWidget *focus)
{
    // Taken before the lock, which moves the focus off the controls it disables.
    m_focusBeforePanel = QApplication::focusWidget();
    m_openPanel = which;
    updateControls();
    placePanel(panel);
    panel->show();
    panel->raise();
    focus->setFocus();
}

void MainWindow::closePanel(QWidget *panel)
{
    m_openPanel = OpenPanel::None;
    updateControls();
    panel->hide();
    QWidget *back = m_focusBeforePanel;
    m_focusBeforePanel = nullptr;
    if (back && back->isVisibleTo(this) && back->isEnabled() && !panel->isAncestorOf(back))
        back->setFocus();
    else
        m_folderTree->setFocus();
}

// The panels are made when first opened: the window shows sooner without them.
ItemPanel *MainWindow::itemPanel()
{
    if (!m_itemPanel) {
        m_itemPanel = new ItemPanel(this);
        m_itemPanel->hide();
        connect(m_itemPanel, &ItemPanel::accepted, this, &MainWindow::acceptItem);
        connect(m_itemPanel, &ItemPanel::cancelled, this, &MainWindow::cancelItem);
        connect(m_itemPanel, &ItemPanel::keyPressed, this, &MainWindow::folderEditKeyPressed);
    }
    return m_itemPanel;
}

void MainWindow::openNewItemPanel()
{
    if (panelOpen())
        return;
    if (refuseLineBreak(relativeSelectedPath()))
        return;
    m_editedRow = -1;
    m_panelFile = relativeSelectedPath();
    itemPanel()->loadNew(shownOnDisc(m_labelEdit->text(), m_panelFile), suggestionsFor(selectedPath()));
    showPanel(OpenPanel::Item, m_itemPanel, m_itemPanel->firstControl());
}

void MainWindow::openEditItemPanel()
{
    QTreeWidgetItem *row = selectedRow();
    if (!row || panelOpen())
        return;
    m_editedRow = m_itemList->indexOfTopLevelItem(row);
    m_panelFile = row->text(1);
    const QString program = commandProgram(m_panelFile, dataFolder());
    const QStringList captions = discFileExists(dataFolder(), program)
        ? suggestionsFor(nativePathOf(dataFolder(), program))
        : QStringList{row->text(0)};
    itemPanel()->loadEdit(shownOnDisc(m_labelEdit->text(), m_panelFile), captions, row->text(0));
    showPanel(OpenPanel::Item, m_itemPanel, m_itemPanel->firstControl());
}

// A new entry goes to the end of the menu; an entry edited keeps its place, and an edit that
// changes nothing changes nothing.
void MainWindow::acceptItem(const QString &caption)
{
    if (m_editedRow >= 0 && m_editedRow < m_document.items.size()) {
        QTreeWidgetItem *row = m_itemList->topLevelItem(m_editedRow);
        if (m_document.items[m_editedRow].label == caption) {
            closePanel(m_itemPanel);
            return;
        }
        m_document.items[m_editedRow].label = caption;
        row->setText(0, caption);
    } else {
        addItem({caption, m_panelFile, QString()});
    }
    fitColumns();
    if (m_sortBox->isChecked())
        sortItems();
    closePanel(m_itemPanel);
    markChanged();
    showSelectedItem();
}

void MainWindow::cancelItem()
{
    closePanel(m_itemPanel);
}
