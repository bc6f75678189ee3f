#pragma once

#include "core/MenuDocument.h"

#include <QAbstractTableModel>

class QMimeData;

// The menu's entries as the item list shows them: the document's own list, held there and
// nowhere else. Every change to the entries goes through here, so that the list hears of it:
// the label and the file in two columns, the label edited in place, a row dragged to another
// place.
class MenuItemModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    MenuItemModel(QList<MenuItem> &items, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    // A drag moves the entry, but the list does the moving: the drop answers "copy", so that
    // the view removes nothing where the drag began.
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction | Qt::CopyAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }

    const QList<MenuItem> &items() const { return m_items; }
    // The entries changed as a whole (the document replaced, or filled from a file).
    void beginReplace() { beginResetModel(); }
    void endReplace() { endResetModel(); }
    void append(const QList<MenuItem> &items);
    void clear();
    void remove(int row);
    void setLabel(int row, const QString &label);
    // The entry at from goes to stand before the one now at to (to may be the count).
    bool move(int from, int to);
    // The entries in a new order: order[i] is the row that becomes row i.
    void reorder(const QList<int> &order);

    // The row a drag of this list carries; -1 for anything else.
    static int draggedRow(const QMimeData *data);

private:
    QList<MenuItem> &m_items;
};
