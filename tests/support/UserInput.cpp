#include "UserInput.h"

#include "widgets/FolderTree.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace UserInput {

void click(QAbstractItemView *view, const QModelIndex &index)
{
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

void doubleClick(QAbstractItemView *view, const QModelIndex &index)
{
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

void clickRow(QAbstractItemView *list, int row)
{
    click(list, list->model()->index(row, 0));
}

void clickItem(QTreeWidget *tree, QTreeWidgetItem *item)
{
    tree->scrollTo(tree->indexFromItem(item)); // as the view itself scrolls, not scrollToItem's shortcut
    // On the entry's own text, which a row wider than the view may not have at its middle.
    const QRect rect = tree->visualItemRect(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      QPoint(rect.left() + qMin(rect.width() / 2, 24), rect.center().y()));
}

int rowOf(const QAbstractItemView *list, const QString &text)
{
    for (int i = 0; i < list->model()->rowCount(); ++i)
        if (list->model()->index(i, 0).data().toString() == text)
            return i;
    return -1;
}

void clickTab(QTabWidget *tabs, int index)
{
    QTabBar *bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

int rowCount(const QAbstractItemView *view)
{
    return view->model()->rowCount();
}

QString rowText(const QAbstractItemView *view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}

void clickListRow(QAbstractItemView *view, int row)
{
    click(view, view->model()->index(row, 0));
}

QAction *openMenuEntry(QAbstractButton *button, QMenu *menu, const QString &name)
{
    QTest::mouseClick(button, Qt::LeftButton);
    if (!QTest::qWaitForWindowExposed(menu))
        return nullptr;
    for (QAction *entry : menu->actions()) {
        if (entry->objectName() == name)
            return entry;
    }
    return menu->findChild<QAction *>(name);
}

void clickEntry(QMenu *menu, QAction *entry)
{
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
}

void typeOver(QWidget *edit, const QString &text)
{
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() / 2, edit->height() / 2));
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    type(edit, text);
}

void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

void rightClick(QWidget *widget, const QPoint &pos)
{
    QTest::mouseClick(widget, Qt::RightButton, {}, pos);
    QContextMenuEvent request(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &request);
}

void press(int key, Qt::KeyboardModifiers modifiers)
{
    // As the system delivers keys: to the focus widget, else to the active window.
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        focus = QApplication::activeWindow();
    if (focus)
        QTest::keyClick(focus, Qt::Key(key), modifiers);
}

bool clickPath(FolderTree *tree, const QString &path)
{
    QTreeWidgetItem *item = tree->topLevelItem(0);
    while (item) {
        clickItem(tree, item);
        const QString at = FolderTree::pathOf(item);
        if (at == path)
            return true;
        if (!path.startsWith(at.endsWith(QLatin1Char('/')) ? at : at + QLatin1Char('/')))
            return false;
        if (!item->isExpanded())
            QTest::keyClick(tree, Qt::Key_Right);
        QTreeWidgetItem *next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i) {
            const QString child = FolderTree::pathOf(item->child(i));
            if (path == child || path.startsWith(child + QLatin1Char('/')))
                next = item->child(i);
        }
        item = next;
    }
    return false;
}

} // namespace UserInput
