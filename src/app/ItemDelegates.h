#pragma once

#include "core/MenuDocument.h"

#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTreeWidget>

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

// The item list follows the current row up and down but never sideways: a click on an entry's
// file leaves the labels in view.
class ItemListView : public QTreeWidget
{
    Q_OBJECT

public:
    using QTreeWidget::QTreeWidget;
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
        QTreeWidget::scrollTo(index, hint);
        horizontalScrollBar()->setValue(across);
    }
};

// A row of the item list: the entry's label and file in its two columns, and the verb it was
// read under as the first column's Qt::UserRole (a default verb of the file follows the entry
// by it). They are the entry's own strings, not values in the item's lists, so that a menu of
// many thousands of rows fills, empties and is read back quickly. A label edited in the list
// goes through QTreeWidgetItem::setData as well, which tells the list of the change; the verb
// is shown nowhere and tells nobody.
class ItemRow : public QTreeWidgetItem
{
public:
    explicit ItemRow(const MenuItem &item) : QTreeWidgetItem(UserType), m_item(item)
    {
        setFlags(flags() | Qt::ItemIsEditable);
    }

    QVariant data(int column, int role) const override
    {
        if (const auto member = field(column, role))
            return m_item.*member;
        return QTreeWidgetItem::data(column, role);
    }

    void setData(int column, int role, const QVariant &value) override
    {
        const auto member = field(column, role);
        if (!member)
            return QTreeWidgetItem::setData(column, role, value);
        QString &text = m_item.*member;
        if (text == value.toString())
            return;
        text = value.toString();
        if (role != Qt::UserRole)
            QTreeWidgetItem::setData(column, role, value);
    }

private:
    // The string that a role of a column stands for; none for what the item keeps itself.
    static QString MenuItem::*field(int column, int role)
    {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return column == 0 ? &MenuItem::label : column == 1 ? &MenuItem::file : nullptr;
        return column == 0 && role == Qt::UserRole ? &MenuItem::verb : nullptr;
    }

    MenuItem m_item;
};
