// The menu entries: the item list with its details, delete, rename and sort, and the panel
// that adds and edits an entry.

#include "app/TForm1.h"

#include "app/ItemDelegates.h"
#include "app/Texts.h"
#include "core/DiscCheck.h"
#include "core/DiscPath.h"
#include "core/LabelOrder.h"
#include "core/PanelCentring.h"
#include "core/Suggestions.h"
#include "platform/FileInfo.h"
#include "platform/Messages.h"
#include "widgets/TDirectoryEdit.h"
#include "widgets/TXPathLabel.h"
#include "widgets/TdfsSystemTreeView.h"

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
    const TFileInfo file(path);
    TFileVersionInfo info;
    file.ReadVersionInfo(info);
    return suggestionList(info.fileDescription, file.DisplayName());
}
} // namespace

QTreeWidgetItem *TForm1::selectedRow() const
{
    const QList<QTreeWidgetItem *> rows = lv_Lista->selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

// ---- The item list ----

void TForm1::lv_ListaChange()
{
    const QTreeWidgetItem *row = selectedRow();
    enable(sb_Edytuj, row);
    enable(sb_Usun, row);
    if (!row) {
        for (QLabel *l : std::initializer_list<QLabel *>{l_NazwaPoz, l_Plik, Label1, Label15})
            l->clear();
        l_NotExists->hide();
        return;
    }
    l_NazwaPoz->setText(row->text(0));
    l_NazwaPoz->adjustSize();
    l_Plik->setText(row->text(1));
    Label1->setText(QStringLiteral("Nazwa pozycji:"));
    Label1->adjustSize();
    Label15->setText(QStringLiteral("Plik:"));
    Label15->adjustSize();
    l_NotExists->setVisible(!discFileExists(dataFolder(), commandProgram(row->text(1), dataFolder())));
}

// Deleting the selected row leaves no row selected, as the list always did.
void TForm1::deleteSelectedRow()
{
    delete selectedRow();
    lv_Lista->clearSelection();
    lv_Lista->setCurrentItem(nullptr);
}

void TForm1::sb_UsunClick()
{
    deleteSelectedRow();
    enable(sb_Edytuj, false);
    enable(sb_Usun, false);
    markChanged();
    canCreate();
}

void TForm1::lv_ListaKeyDown(int key)
{
    if (key == Qt::Key_Delete && sb_Usun->isEnabled())
        sb_UsunClick();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && sb_Edytuj->isEnabled())
        lv_ListaDblClick();
    de_FolderKeyDown(key);
}

void TForm1::lv_ListaEdited(QTreeWidgetItem *)
{
    markChanged();
    lv_ListaChange();
}

void TForm1::cb_SortujClick()
{
    if (!cb_Sortuj->isChecked())
        return;
    if (m_services.messages.show(this, QStringLiteral("Posortować listę teraz ???"), Texts::captionWarning,
                                 Messages::Buttons::YesNo, Messages::Icon::Question)
        != Messages::Answer::Yes)
        return;
    sortItems();
    mirrorModified();
}

void TForm1::sortItems()
{
    const int count = lv_Lista->topLevelItemCount();
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
        rows.emplace_back(order.key(lv_Lista->topLevelItem(i)->text(0)), lv_Lista->topLevelItem(i));
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    const QSignalBlocker quiet(lv_Lista);
    while (lv_Lista->topLevelItemCount() > 0)
        lv_Lista->takeTopLevelItem(lv_Lista->topLevelItemCount() - 1);
    QList<QTreeWidgetItem *> sorted;
    sorted.reserve(count);
    for (const auto &row : rows)
        sorted << row.second;
    lv_Lista->addTopLevelItems(sorted);
    if (selected)
        selected->setSelected(true);
}

// ---- The item panel ----

void TForm1::setDriveMenuAttached(bool attached)
{
    m_driveMenuAttached = attached;
    for (QWidget *w : std::initializer_list<QWidget *>{Image2, Label3, Panel3})
        w->setContextMenuPolicy(attached ? Qt::CustomContextMenu : Qt::NoContextMenu);
}

void TForm1::lockForPanel(bool keepSave)
{
    // Taken before the lock, which moves the focus off the controls it disables.
    m_focusBeforePanel = QApplication::focusWidget();
    QList<QWidget *> locked{sb_Nowe, sb_Utworz, sb_AutoRun, GroupBox1, dfsSystemTreeView1, lv_Lista, sb_Dodaj,
                            sb_Usun, sb_Edytuj, sb_Odswiez, sb_Podglad, sb_UsunPlik, sb_UruchomPlik, CheckBox1,
                            cb_Sortuj};
    if (!keepSave)
        locked << sb_Zapisz;
    m_lock.lock(locked);
    Label8->hide();
    setDriveMenuAttached(false);
}

void TForm1::unlockAfterPanel(bool accepted)
{
    m_lock.unlock();
    for (QWidget *w : std::initializer_list<QWidget *>{sb_Nowe, sb_AutoRun, GroupBox1, dfsSystemTreeView1,
                                                        lv_Lista, CheckBox1, cb_Sortuj})
        w->setEnabled(true);
    enable(sb_Dodaj, isProgramSelected());
    canCreate();
    if (accepted)
        markChanged();
    else
        mirrorModified();
    if (fileOnDisc())
        setFileButtons(true);
    Label8->show();
    setDriveMenuAttached(true);
}

// The panel stands centred over the window, halves rounded to even, taken in the client area.
void TForm1::showPanel(QWidget *panel, QWidget *focus)
{
    const QSize outer = frameGeometry().size();
    panel->move(centredOffset(outer.width(), panel->width()), centredOffset(outer.height(), panel->height()));
    panel->show();
    panel->raise();
    focus->setFocus();
}

void TForm1::closePanel(QWidget *panel)
{
    panel->hide();
    QWidget *back = m_focusBeforePanel;
    m_focusBeforePanel = nullptr;
    if (back && back->isVisibleTo(this) && back->isEnabled() && !p_Dodaj->isAncestorOf(back)
        && !p_Autorun->isAncestorOf(back))
        back->setFocus();
    else
        dfsSystemTreeView1->setFocus();
}

void TForm1::sb_DodajClick()
{
    if (panelOpen())
        return;
    lockForPanel();
    cb_NazwaPozycji->clear();
    cb_NazwaPozycji->addItems(suggestionsFor(selectedPath()));
    const QString label = e_Etykieta->text();
    XPathLabel1->setText(label.isEmpty() ? relativeSelectedPath()
                                         : QLatin1Char('[') + label + QLatin1Char(']') + relativeSelectedPath());
    cb_NazwaPozycji->setCurrentIndex(2);
    cb_NazwaPozycji->setEditText(cb_NazwaPozycji->itemText(2));
    cb_NazwaPozycjiChange();
    Label9->setText(headingAdd);
    Label9->adjustSize();
    showPanel(p_Dodaj, cb_NazwaPozycji);
}

void TForm1::lv_ListaDblClick()
{
    const QTreeWidgetItem *row = selectedRow();
    if (!row || panelOpen())
        return;
    lockForPanel();
    cb_NazwaPozycji->clear();
    const QString file = row->text(1);
    if (discFileExists(dataFolder(), commandProgram(file, dataFolder())))
        cb_NazwaPozycji->addItems(suggestionsFor(nativePathOf(dataFolder(), commandProgram(file, dataFolder()))));
    else
        cb_NazwaPozycji->addItem(row->text(0));
    const QString label = e_Etykieta->text();
    XPathLabel1->setText(label.isEmpty() ? file : QLatin1Char('[') + label + QLatin1Char(']') + file);
    Label9->setText(headingEdit);
    Label9->adjustSize();
    cb_NazwaPozycji->setCurrentIndex(-1);
    cb_NazwaPozycji->setEditText(row->text(0));
    cb_NazwaPozycjiChange();
    showPanel(p_Dodaj, cb_NazwaPozycji);
}

void TForm1::cb_NazwaPozycjiChange()
{
    sb_Add_OK->setEnabled(!cb_NazwaPozycji->currentText().isEmpty());
}

void TForm1::cb_NazwaPozycjiKeyDown(int key)
{
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && sb_Add_OK->isEnabled())
        sb_Add_OKClick();
    if (key == Qt::Key_Escape)
        sb_Add_NOClick();
    de_FolderKeyDown(key);
}

void TForm1::sb_Add_OKClick()
{
    QString verb; // an entry edited stays the same entry
    if (Label9->text() == headingEdit) {
        verb = selectedRow()->data(0, Qt::UserRole).toString();
        deleteSelectedRow();
    }
    const QString label = e_Etykieta->text();
    QString file = XPathLabel1->text();
    if (!label.isEmpty())
        file = file.mid(label.size() + 2);
    addItem({cb_NazwaPozycji->currentText(), file, verb});
    fitColumns();
    if (cb_Sortuj->isChecked())
        sortItems();
    unlockAfterPanel(true);
    closePanel(p_Dodaj);
}

void TForm1::sb_Add_NOClick()
{
    unlockAfterPanel(false);
    closePanel(p_Dodaj);
}
