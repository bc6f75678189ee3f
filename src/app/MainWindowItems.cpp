// The menu entries: the item list with its details, delete, rename and sort, and the panel
// that adds and edits an entry.

#include "app/MainWindow.h"

#include "app/ItemDelegates.h"
#include "app/MenuItemModel.h"
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

int MainWindow::selectedRow() const
{
    const QModelIndexList rows = m_itemList->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// ---- The item list ----

// The lines under the list show the selected entry.
void MainWindow::showSelectedItem()
{
    const int row = selectedRow();
    if (row < 0) {
        for (QLabel *l : std::initializer_list<QLabel *>{m_itemNameLabel, m_itemFileLabel, m_itemNameCaption,
                                                         m_itemFileCaption})
            l->clear();
        m_fileMissingLabel->hide();
        return;
    }
    const MenuItem &item = m_document.items[row];
    m_itemNameLabel->setText(item.label);
    m_itemNameLabel->adjustSize();
    m_itemFileLabel->setText(item.file);
    m_itemNameCaption->setText(Texts::itemNameCaption());
    m_itemNameCaption->adjustSize();
    m_itemFileCaption->setText(Texts::itemFileCaption());
    m_itemFileCaption->adjustSize();
    const bool missing = !discFileExists(dataFolder(), commandProgram(item.file, dataFolder()));
    if (missing)
        m_fileMissingLabel->adjustSize();
    m_fileMissingLabel->setVisible(missing);
}

void MainWindow::itemSelectionChanged()
{
    showSelectedItem();
    updateControls();
}

// Deleting the selected entry leaves no row selected: the next Delete must not take another.
void MainWindow::deleteSelectedRow()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    m_items->remove(row);
    m_itemList->clearSelection();
    m_itemList->setCurrentIndex(QModelIndex());
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

// The entry changes places with its neighbour and stays selected.
void MainWindow::moveSelectedItem(int by)
{
    const int from = selectedRow();
    if (from >= 0)
        moveItem(from, by > 0 ? from + by + 1 : from + by);
}

void MainWindow::moveItem(int from, int to)
{
    if (!m_items->move(from, to))
        return;
    const QModelIndex moved = m_items->index(to > from ? to - 1 : to, 0);
    m_itemList->selectionModel()->setCurrentIndex(moved, QItemSelectionModel::ClearAndSelect
                                                             | QItemSelectionModel::Rows);
    m_itemList->scrollTo(moved);
    markChanged();
}

// A label renamed in the list is the entry's new label (the model took it already).
void MainWindow::itemRenamed(int row)
{
    Q_UNUSED(row);
    markChanged();
    showSelectedItem();
}

void MainWindow::sortingToggled()
{
    if (!m_sortBox->isChecked())
        return;
    if (m_services.messages.show(this, Texts::askSortNow(), Texts::captionWarning(),
                                 Messages::Buttons::YesNo, Messages::Icon::Question)
        != Messages::Answer::Yes)
        return;
    sortItems();
    updateControls();
}

// The entries are put in the order of their labels; the selected one stays selected.
void MainWindow::sortItems()
{
    const int count = int(m_document.items.size());
    if (count < 2)
        return;
    // Sorting always counts as an edit, whether or not the menu has a file yet.
    m_document.modified = true;
    m_edited = true;
    const LabelOrder order;
    std::vector<std::pair<LabelOrder::Key, int>> keys;
    keys.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        keys.emplace_back(order.key(m_document.items[i].label), i);
    std::stable_sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<int> rows;
    rows.reserve(count);
    for (const auto &key : keys)
        rows << key.second;
    m_items->reorder(rows);
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
    const int row = selectedRow();
    if (row < 0 || panelOpen())
        return;
    m_editedRow = row;
    const QString label = m_document.items[row].label;
    m_panelFile = m_document.items[row].file;
    const QString program = commandProgram(m_panelFile, dataFolder());
    const QStringList captions = discFileExists(dataFolder(), program)
        ? suggestionsFor(nativePathOf(dataFolder(), program))
        : QStringList{label};
    itemPanel()->loadEdit(shownOnDisc(m_labelEdit->text(), m_panelFile), captions, label);
    showPanel(OpenPanel::Item, m_itemPanel, m_itemPanel->firstControl());
}

// A new entry goes to the end of the menu; an entry edited keeps its place, and an edit that
// changes nothing changes nothing.
void MainWindow::acceptItem(const QString &caption)
{
    if (m_editedRow >= 0 && m_editedRow < m_document.items.size()) {
        if (m_document.items[m_editedRow].label == caption) {
            closePanel(m_itemPanel);
            return;
        }
        m_items->setLabel(m_editedRow, caption);
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
