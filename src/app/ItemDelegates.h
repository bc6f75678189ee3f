#pragma once

#include "app/MenuItemModel.h"
#include "core/MenuDocument.h"

#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeView>

// The label column of the item list is edited in place; only an accepted edit reports.
class LabelDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        m_editor = editor;
        return editor;
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        QStyledItemDelegate::setModelData(editor, model, index);
        emit edited(index.row());
    }
    // The editor of the rename in progress, if any (it may already be closing).
    QWidget *openEditor() const { return m_editor; }

signals:
    void edited(int row) const;

private:
    mutable QPointer<QWidget> m_editor;
};

// The file column cannot be edited.
class ReadOnlyDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return nullptr;
    }
};

// The item list: the menu's entries (MenuItemModel) in two columns. It follows the current row
// up and down but never sideways, so that a click on an entry's file leaves the labels in view;
// an entry dragged to another place asks the window to move it there.
class ItemListView : public QTreeView
{
    Q_OBJECT

public:
    explicit ItemListView(QWidget *parent = nullptr)
        : QTreeView(parent)
    {
        setDragEnabled(true);
        setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::InternalMove);
        setDropIndicatorShown(true);
    }
    // A rename still open is taken as Enter would take it, before a command acts on the list.
    void commitOpenEdit()
    {
        if (state() != EditingState)
            return;
        const auto *labels = qobject_cast<LabelDelegate *>(itemDelegateForColumn(0));
        if (QWidget *editor = labels ? labels->openEditor() : nullptr) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override
    {
        const int across = horizontalScrollBar()->value();
        QTreeView::scrollTo(index, hint);
        horizontalScrollBar()->setValue(across);
    }

signals:
    // The entry at row from is dropped to stand before the one at row to (to: the count, at the end).
    void moveRequested(int from, int to);

protected:
    // An entry of this list (by its own type of drag data) may be dropped anywhere in it.
    void dragEnterEvent(QDragEnterEvent *event) override
    {
        if (MenuItemModel::draggedRow(event->mimeData()) < 0)
            return QTreeView::dragEnterEvent(event);
        setState(DraggingState);
        event->setDropAction(Qt::MoveAction);
        event->accept();
    }
    void dragMoveEvent(QDragMoveEvent *event) override
    {
        QTreeView::dragMoveEvent(event);
        if (MenuItemModel::draggedRow(event->mimeData()) >= 0) {
            event->setDropAction(Qt::MoveAction);
            event->accept();
        }
    }
    void dropEvent(QDropEvent *event) override
    {
        const int from = MenuItemModel::draggedRow(event->mimeData());
        if (from < 0) {
            event->ignore();
            return;
        }
        // Above the middle of a row: before it; below: after it; under the rows: at the end.
        const QPoint at = event->position().toPoint();
        const QModelIndex over = indexAt(at);
        int to = model()->rowCount();
        if (over.isValid())
            to = over.row() + (at.y() > visualRect(over).center().y() ? 1 : 0);
        // The drag has done its work here: nothing is removed where it began.
        event->setDropAction(Qt::CopyAction);
        event->accept();
        setState(NoState);
        viewport()->update();
        emit moveRequested(from, to);
    }
};
