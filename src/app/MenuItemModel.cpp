#include "app/MenuItemModel.h"

#include "app/Texts.h"

#include <QMimeData>

namespace {
const QString entryType = QStringLiteral("application/x-pelmora-menu-entry");
} // namespace

MenuItemModel::MenuItemModel(QList<MenuItem> &items, QObject *parent)
    : QAbstractTableModel(parent)
    , m_items(items)
{
}

int MenuItemModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

int MenuItemModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant MenuItemModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    const MenuItem &item = m_items[index.row()];
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return index.column() == 0 ? item.label : item.file;
    return {};
}

bool MenuItemModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || index.column() != 0 || index.row() >= m_items.size())
        return false;
    setLabel(index.row(), value.toString());
    return true;
}

Qt::ItemFlags MenuItemModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled; // between the rows
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (index.column() == 0)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant MenuItemModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? Texts::entryLabelColumn() : Texts::entryFileColumn();
}

QStringList MenuItemModel::mimeTypes() const
{
    return {entryType};
}

QMimeData *MenuItemModel::mimeData(const QModelIndexList &indexes) const
{
    if (indexes.isEmpty())
        return nullptr;
    auto *data = new QMimeData;
    data->setData(entryType, QByteArray::number(indexes.first().row()));
    return data;
}

int MenuItemModel::draggedRow(const QMimeData *data)
{
    bool ok = false;
    const int row = data && data->hasFormat(entryType) ? data->data(entryType).toInt(&ok) : -1;
    return ok ? row : -1;
}

void MenuItemModel::append(const QList<MenuItem> &items)
{
    if (items.isEmpty())
        return;
    beginInsertRows({}, int(m_items.size()), int(m_items.size() + items.size() - 1));
    m_items.append(items);
    endInsertRows();
}

void MenuItemModel::clear()
{
    beginResetModel();
    m_items.clear();
    endResetModel();
}

void MenuItemModel::remove(int row)
{
    if (row < 0 || row >= m_items.size())
        return;
    beginRemoveRows({}, row, row);
    m_items.removeAt(row);
    endRemoveRows();
}

void MenuItemModel::setLabel(int row, const QString &label)
{
    if (row < 0 || row >= m_items.size() || m_items[row].label == label)
        return;
    m_items[row].label = label;
    emit dataChanged(index(row, 0), index(row, 0));
}

bool MenuItemModel::move(int from, int to)
{
    if (from < 0 || from >= m_items.size() || to < 0 || to > m_items.size() || to == from || to == from + 1)
        return false;
    beginMoveRows({}, from, from, {}, to);
    m_items.move(from, to > from ? to - 1 : to);
    endMoveRows();
    return true;
}

void MenuItemModel::reorder(const QList<int> &order)
{
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QList<MenuItem> reordered;
    reordered.reserve(order.size());
    QList<int> newRowOf(order.size());
    for (int i = 0; i < order.size(); ++i) {
        reordered << m_items[order[i]];
        newRowOf[order[i]] = i;
    }
    m_items = reordered;
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after << index(newRowOf.value(old.row(), old.row()), old.column());
    changePersistentIndexList(before, after);
    emit layoutChanged();
}
