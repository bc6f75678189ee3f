#pragma once

#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTreeWidget>

// The label column of the item list is edited in place; only an accepted edit reports.
class LabelDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        QStyledItemDelegate::setModelData(editor, model, index);
        emit edited(index.row());
    }

signals:
    void edited(int row) const;
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

// The item list follows the current row up and down but never sideways: a click on an entry's
// file leaves the labels in view.
class ItemListView : public QTreeWidget
{
    Q_OBJECT

public:
    using QTreeWidget::QTreeWidget;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override
    {
        const int across = horizontalScrollBar()->value();
        QTreeWidget::scrollTo(index, hint);
        horizontalScrollBar()->setValue(across);
    }
};
