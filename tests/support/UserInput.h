#pragma once

// What a user does with the mouse and the keys, for the window tests: clicks land in the
// middle of an item's visual rectangle, scrolled into view first, and keys go to the widget
// that has the focus.

#include <QString>
#include <Qt>

class QAbstractItemView;
class QAbstractButton;
class QAction;
class QMenu;
class QModelIndex;
class QPoint;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class FolderTree;

namespace UserInput {

void click(QAbstractItemView *view, const QModelIndex &index);
void doubleClick(QAbstractItemView *view, const QModelIndex &index);
void clickRow(QAbstractItemView *list, int row);
void clickItem(QTreeWidget *tree, QTreeWidgetItem *item);
// A list of rows (the menu's entries): how many there are, the text of a cell, a click on a row.
int rowCount(const QAbstractItemView *view);
QString rowText(const QAbstractItemView *view, int row, int column = 0);
void clickListRow(QAbstractItemView *view, int row);
// The row of list whose text is text; -1 when there is none.
int rowOf(const QAbstractItemView *list, const QString &text);
void clickTab(QTabWidget *tabs, int index);
// Clicks button, which pops up menu, and returns menu's entry of that object name; null when
// the menu does not show or has no such entry.
QAction *openMenuEntry(QAbstractButton *button, QMenu *menu, const QString &name);
// Clicks the entry of an open menu.
void clickEntry(QMenu *menu, QAction *entry);
// Clicks the widget to give it the focus, selects its text and types text over it.
void typeOver(QWidget *edit, const QString &text);
// Types text into widget, one key at a time, letters outside ASCII included.
void type(QWidget *widget, const QString &text);
// A right click at pos of widget: the button, then the context-menu request that the
// platform makes of it.
void rightClick(QWidget *widget, const QPoint &pos);
// Presses key (with modifiers) on whichever widget has the focus, else on the active window;
// shortcuts and access keys take it first, as from the keyboard.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Opens the folder tree down to path with clicks and the Right key, and clicks its entry;
// false when the tree has no such entry.
bool clickPath(FolderTree *tree, const QString &path);

} // namespace UserInput
