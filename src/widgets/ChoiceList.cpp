#include "widgets/ChoiceList.h"

#include "widgets/TextWidth.h"

#include <QAbstractListModel>
#include <QMouseEvent>

// The rows of a list of texts, all of one size given with them: the list's rows are uniform,
// and it takes their size from a row of its choosing (the last), which is then not measured.
class TextRows : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    void setTexts(const QStringList &texts, const QSize &rowSize)
    {
        beginResetModel();
        m_texts = texts;
        m_rowSize = rowSize;
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_texts.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
            return {};
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return m_texts.at(index.row());
        if (role == Qt::SizeHintRole && m_rowSize.isValid())
            return m_rowSize;
        return {};
    }

private:
    QStringList m_texts;
    QSize m_rowSize;
};

ChoiceList::ChoiceList(QWidget *parent)
    : ChoiceList(nullptr, parent)
{
}

ChoiceList::ChoiceList(QAbstractItemModel *rows, QWidget *parent)
    : QListView(parent)
{
    if (!rows) {
        m_texts = new TextRows(this);
        rows = m_texts;
    }
    setModel(rows);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QAbstractItemView::clicked, this, &ChoiceList::chosen);
}

void ChoiceList::setTexts(const QStringList &texts)
{
    Q_ASSERT(m_texts);
    m_texts->setTexts(texts, QSize());
    if (texts.isEmpty())
        return;
    // The first row's own size, less its text, plus the widest text; the rows are laid out
    // afresh with it.
    const QFontMetrics metrics(font());
    const int widest = widestTextWidth(metrics, int(texts.size()), [&texts](int row) { return texts.at(row); });
    const QSize natural = sizeHintForIndex(model()->index(0, 0));
    m_texts->setTexts(texts, QSize(natural.width() - metrics.horizontalAdvance(texts.first()) + widest, natural.height()));
}

QString ChoiceList::text(int row) const
{
    return model()->index(row, 0).data().toString();
}

int ChoiceList::count() const
{
    return model()->rowCount();
}

int ChoiceList::currentRow() const
{
    return currentIndex().row();
}

void ChoiceList::setCurrentRow(int row)
{
    setCurrentIndex(model()->index(row, 0));
}

int ChoiceList::chosenRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

void ChoiceList::keyPressEvent(QKeyEvent *event)
{
    const QPersistentModelIndex before = currentIndex();
    const bool wasSelected = before.isValid() && selectionModel()->isSelected(before);
    QListView::keyPressEvent(event);
    const QModelIndex now = currentIndex();
    if (now.isValid() && selectionModel()->isSelected(now) && (now != before || !wasSelected))
        emit chosen();
}

void ChoiceList::mousePressEvent(QMouseEvent *event)
{
    m_pressed = indexAt(event->position().toPoint());
    QListView::mousePressEvent(event);
}

// A release on the row pressed is a click, which clicked reports; a release after the
// selection was dragged to another row chooses that row.
void ChoiceList::mouseReleaseEvent(QMouseEvent *event)
{
    QListView::mouseReleaseEvent(event);
    const QModelIndex released = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && released.isValid() && released != m_pressed
        && selectionModel()->isSelected(released) && released == currentIndex())
        emit chosen();
}
