// The icons of the tree's entries: one per kind, shared, links marked.

#include "widgets/FolderTree.h"

#include "widgets/FolderTreeParts.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QPainter>
#include <QStyle>

using namespace FolderTreeParts;

namespace {

const QString linkEmblem = QStringLiteral("emblem-symbolic-link");

// A small boxed arrow, for themes without a link emblem.
void drawLinkArrow(QPainter &painter, const QRect &box)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(frame);
    const qreal unit = frame.width() / 8;
    const QPointF tip(frame.right() - 1.5 * unit, frame.top() + 1.5 * unit);
    painter.setPen(QPen(Qt::black, unit * 1.2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(frame.left() + 2 * unit, frame.bottom() - 2 * unit), tip - QPointF(unit, -unit));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygonF{tip, tip - QPointF(3.5 * unit, 0), tip + QPointF(0, 3.5 * unit)});
    painter.restore();
}

} // namespace

QIcon FolderTreeParts::withLinkEmblem(const QIcon &icon)
{
    const QIcon emblem = QIcon::hasThemeIcon(linkEmblem) ? QIcon::fromTheme(linkEmblem) : QIcon();
    QIcon linked;
    for (const int side : {16, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        icon.paint(&painter, pixmap.rect());
        const int size = side * 5 / 8;
        const QRect corner(0, side - size, size, size);
        if (emblem.isNull())
            drawLinkArrow(painter, corner);
        else
            emblem.paint(&painter, corner);
        painter.end();
        linked.addPixmap(pixmap);
    }
    return linked;
}

// Only the selected folder looks open, as in the system's own tree; an opened branch alone
// does not.
void FolderTree::showOpenFolder()
{
    if (QTreeWidgetItem *before = itemFromIndex(m_openFolder))
        before->setIcon(0, entryIcon(pathOf(before), true, isLink(before), false));
    m_openFolder = QPersistentModelIndex();
    QTreeWidgetItem *item = currentItem();
    if (!isFolder(item))
        return;
    item->setIcon(0, entryIcon(pathOf(item), true, isLink(item), true));
    m_openFolder = indexFromItem(item);
}

// One icon per kind of entry, shared by all entries of that kind: folders (closed, open) and
// files by extension, each also as a link.
QIcon FolderTree::entryIcon(const QString &path, bool folder, bool link, bool open)
{
    static auto *provider = new QFileIconProvider;
    QString key;
    if (folder) {
        key = open ? QStringLiteral("/open") : QStringLiteral("/");
    } else {
        const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
        if (dot > path.lastIndexOf(QLatin1Char('/')))
            key = path.mid(dot + 1).toLower(); // the suffix
    }
    if (link)
        key += QStringLiteral("/link");
    auto it = m_icons.constFind(key);
    if (it != m_icons.cend())
        return *it;
    // A link looks like what it points to, with the emblem; the provider's own icon for a
    // link would hide the kind.
    const QFileInfo info(path);
    const QIcon icon = link     ? withLinkEmblem(entryIcon(path, folder, false, open))
                       : folder ? (open ? style()->standardIcon(QStyle::SP_DirOpenIcon)
                                        : provider->icon(QAbstractFileIconProvider::Folder))
                                : provider->icon(info.isSymLink() ? QFileInfo(info.symLinkTarget()) : info);
    return *m_icons.insert(key, icon);
}
