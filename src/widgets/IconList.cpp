#include "widgets/IconList.h"
#include "widgets/FocusMark.h"

#include "core/IconDirectory.h"

#include <QAbstractListModel>
#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int largeIconSize = 32; // the system's large icons

// The icon's image chosen from its directory (Qt decodes every depth to 32 bits, so decoded
// images cannot be compared for colours), at the large size.
QPixmap largeIcon(const QByteArray &ico)
{
    const std::optional<IconImageInfo> chosen = drawnImageOf(ico);
    if (!chosen)
        return {};
    QBuffer buffer;
    buffer.setData(ico);
    QImageReader reader(&buffer, "ico");
    if (!reader.jumpToImage(chosen->index))
        return {};
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (image.size() != QSize(largeIconSize, largeIconSize))
        image = image.scaled(largeIconSize, largeIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(image);
}

// Draws a cell: the background (highlighted when selected) and the icon centred, no text.
class IconCellDelegate : public QStyledItemDelegate
{
public:
    explicit IconCellDelegate(IconList *box)
        : QStyledItemDelegate(box)
        , m_box(box)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        const QPixmap icon = m_box->iconAt(index.row());
        if (icon.isNull())
            return;
        const QRect r = option.rect;
        const int w = icon.width();
        // The icon's width serves for both axes, as icons are square.
        painter->drawPixmap(r.left() + (r.width() - w) / 2, r.top() + (r.height() - w) / 2, icon);
        // The current cell shows where the keys act while the list has the focus.
        if (m_box->hasFocus() && index == m_box->currentIndex())
            drawFocusFrame(painter, r.adjusted(1, 1, -2, -2), option.palette, selected);
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return m_box->cellSize();
    }

private:
    IconList *m_box;
};

} // namespace

// A cell per icon of the file, its picture kept from when it is first drawn.
class IconCells : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    void reset(int count)
    {
        beginResetModel();
        m_pictures.assign(size_t(qMax(0, count)), std::nullopt);
        endResetModel();
    }

    bool isLoaded(int row) const { return m_pictures.at(size_t(row)).has_value(); }
    QPixmap picture(int row) const { return m_pictures.at(size_t(row)).value_or(QPixmap()); }
    void setPicture(int row, const QPixmap &picture) { m_pictures.at(size_t(row)) = picture; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_pictures.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return QString::number(index.row());
        case Qt::AccessibleTextRole: // a screen reader reads the cell, not its number, which counts from 0
            return QStringLiteral("Ikona %1 z %2").arg(index.row() + 1).arg(m_pictures.size());
        case Qt::DecorationRole: // nothing until it is first drawn
            return isLoaded(index.row()) ? QVariant(picture(index.row())) : QVariant();
        default:
            return {};
        }
    }

private:
    std::vector<std::optional<QPixmap>> m_pictures;
};

IconList::IconList(QWidget *parent)
    : IconList(new IconCells, parent)
{
}

IconList::IconList(IconCells *cells, QWidget *parent)
    : ChoiceList(cells, parent)
    , m_cells(cells)
{
    cells->setParent(this);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setGridSize(cellSize());
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setItemDelegate(new IconCellDelegate(this));
    // A flat one-pixel line: the 77 pixels of the layout then hold two rows of cells.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    applyEnabledRule();
}

QSize IconList::cellSize() const
{
    return {largeIconSize + m_margin, largeIconSize + m_margin};
}

void IconList::setFileName(const QString &fileName)
{
    if (fileName == m_fileName)
        return;
    m_fileName = fileName;
    load();
    emit fileChanged();
}

void IconList::reload()
{
    load();
}

void IconList::clearIcons()
{
    m_cells->reset(0);
    m_source = IconSource(); // and the file its icons were read from is closed
}

void IconList::load()
{
    m_cells->reset(0);
    m_numberOfIcons = -1;
    m_source = IconSource();
    applyEnabledRule();
    if (!QFileInfo(m_fileName).isFile())
        return;
    if (!m_caching)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_source = IconSource(m_fileName);
    m_numberOfIcons = m_source.count();
    m_cells->reset(m_numberOfIcons);
    if (!m_caching) {
        for (int i = 0; i < m_numberOfIcons; ++i)
            iconAt(i);
    }
    applyScrollBarRule();
    if (m_numberOfIcons > 0)
        setCurrentRow(0);
    if (!m_caching)
        QGuiApplication::restoreOverrideCursor();
}

QPixmap IconList::iconAt(int row)
{
    if (row < 0 || row >= m_cells->rowCount())
        return {};
    if (!m_cells->isLoaded(row))
        m_cells->setPicture(row, largeIcon(m_source.icoFile(row, largeIconSize)));
    return m_cells->picture(row);
}

void IconList::applyEnabledRule()
{
    setEnabled(!m_autoDisable || QFileInfo(m_fileName).isFile());
}

// Qt keeps room for the sideways scroll bar in the layout even while no bar shows, which
// leaves a box of two cells' height one row; the bar is allowed only when the cells need it.
void IconList::applyScrollBarRule()
{
    const QSize room = maximumViewportSize();
    const int rows = qMax(1, room.height() / cellSize().height());
    const int columns = qMax(1, room.width() / cellSize().width());
    setHorizontalScrollBarPolicy(count() <= rows * columns ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

void IconList::resizeEvent(QResizeEvent *event)
{
    applyScrollBarRule();
    ChoiceList::resizeEvent(event);
}

void IconList::setAutoDisable(bool on)
{
    m_autoDisable = on;
    applyEnabledRule();
}

void IconList::setCachingEnabled(bool on)
{
    if (on == m_caching)
        return;
    m_caching = on;
    if (!on)
        load();
}

void IconList::setMargin(int pixels)
{
    if (pixels == m_margin)
        return;
    m_margin = pixels;
    setGridSize(cellSize());
    applyScrollBarRule();
}

QPixmap IconList::largePicture(const QByteArray &ico)
{
    return largeIcon(ico);
}
