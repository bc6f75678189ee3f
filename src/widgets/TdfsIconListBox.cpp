#include "widgets/TdfsIconListBox.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int largeIconSize = 32; // the system's large icons
constexpr int loadedRole = Qt::UserRole;

// The image of an icon at the large size: the 32-pixel image with the most colours, else the
// largest one scaled.
QPixmap largeIcon(const QByteArray &ico)
{
    QBuffer buffer;
    buffer.setData(ico);
    QImageReader reader(&buffer, "ico");
    QImage best;
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (image.isNull())
            continue;
        const bool exact = image.width() == largeIconSize && image.height() == largeIconSize;
        const bool bestExact = best.width() == largeIconSize && best.height() == largeIconSize;
        if (best.isNull() || (exact && (!bestExact || image.depth() > best.depth()))
            || (!exact && !bestExact && image.width() > best.width()))
            best = image;
    }
    if (best.isNull())
        return {};
    if (best.width() != largeIconSize || best.height() != largeIconSize)
        best = best.scaled(largeIconSize, largeIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(best);
}

// Draws a cell: the background (highlighted when selected) and the icon centred, no text.
class IconCellDelegate : public QStyledItemDelegate
{
public:
    explicit IconCellDelegate(TdfsIconListBox *box)
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
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return m_box->cellSize();
    }

private:
    TdfsIconListBox *m_box;
};

} // namespace

TdfsIconListBox::TdfsIconListBox(QWidget *parent)
    : ChoiceListBox(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setGridSize(cellSize());
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setItemDelegate(new IconCellDelegate(this));
    setFrameShape(QFrame::Box);
    applyEnabledRule();
}

QSize TdfsIconListBox::cellSize() const
{
    return {largeIconSize + m_margin, largeIconSize + m_margin};
}

void TdfsIconListBox::setFileName(const QString &fileName)
{
    if (fileName == m_fileName)
        return;
    m_fileName = fileName;
    load();
    emit OnFileChange();
}

void TdfsIconListBox::Reload()
{
    load();
}

void TdfsIconListBox::Clear()
{
    clear();
}

void TdfsIconListBox::load()
{
    clear();
    m_numberOfIcons = -1;
    m_source = IconSource();
    applyEnabledRule();
    if (!QFileInfo(m_fileName).isFile())
        return;
    if (!m_caching)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_source = IconSource(m_fileName);
    m_numberOfIcons = m_source.count();
    for (int i = 0; i < m_numberOfIcons; ++i) {
        addItem(QString::number(i));
        if (!m_caching)
            iconAt(i);
    }
    if (m_numberOfIcons > 0)
        setCurrentRow(0);
    if (!m_caching)
        QGuiApplication::restoreOverrideCursor();
}

QPixmap TdfsIconListBox::iconAt(int row)
{
    QListWidgetItem *cell = item(row);
    if (!cell)
        return {};
    if (!cell->data(loadedRole).toBool()) {
        cell->setData(loadedRole, true);
        cell->setData(Qt::DecorationRole, largeIcon(m_source.icoFile(row)));
    }
    return cell->data(Qt::DecorationRole).value<QPixmap>();
}

void TdfsIconListBox::applyEnabledRule()
{
    setEnabled(!m_autoDisable || QFileInfo(m_fileName).isFile());
}

void TdfsIconListBox::setAutoDisable(bool on)
{
    m_autoDisable = on;
    applyEnabledRule();
}

void TdfsIconListBox::setEnableCaching(bool on)
{
    if (on == m_caching)
        return;
    m_caching = on;
    if (!on)
        load();
}

void TdfsIconListBox::setMargin(int pixels)
{
    if (pixels == m_margin)
        return;
    m_margin = pixels;
    setGridSize(cellSize());
}
