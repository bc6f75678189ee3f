#include "widgets/ChoiceList.h"

#include "widgets/TextWidth.h"

#include <QMouseEvent>

ChoiceList::ChoiceList(QWidget *parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemClicked, this, &ChoiceList::chosen);
}

void ChoiceList::keyPressEvent(QKeyEvent *event)
{
    const QPersistentModelIndex before = currentIndex();
    const bool wasSelected = before.isValid() && selectionModel()->isSelected(before);
    QListWidget::keyPressEvent(event);
    const QModelIndex now = currentIndex();
    if (now.isValid() && selectionModel()->isSelected(now) && (now != before || !wasSelected))
        emit chosen();
}

void ChoiceList::mousePressEvent(QMouseEvent *event)
{
    m_pressed = indexAt(event->position().toPoint());
    QListWidget::mousePressEvent(event);
}

// A release on the row pressed is a click, which itemClicked reports; a release after the
// selection was dragged to another row chooses that row.
void ChoiceList::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    const QModelIndex released = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && released.isValid() && released != m_pressed
        && selectionModel()->isSelected(released) && released == currentIndex())
        emit chosen();
}

void ChoiceList::fitRowsToLongestText()
{
    fitRows([this](int row) { return item(row)->text(); });
}

void ChoiceList::fitRowsToLongestText(const QStringList &texts)
{
    fitRows([&texts](int row) { return texts.value(row); });
}

void ChoiceList::fitRows(const std::function<QString(int)> &textAt)
{
    QListWidgetItem *first = item(0);
    if (!first)
        return;
    const QFontMetrics metrics(font());
    const int widest = widestTextWidth(metrics, count(), textAt);
    first->setSizeHint(QSize());
    const QSize natural = sizeHintForIndex(indexFromItem(first));
    first->setSizeHint(
        QSize(natural.width() - metrics.horizontalAdvance(first->text()) + widest, natural.height()));
}

QListWidgetItem *ChoiceList::chosenItem() const
{
    QListWidgetItem *row = currentItem();
    return row && row->isSelected() ? row : nullptr;
}
