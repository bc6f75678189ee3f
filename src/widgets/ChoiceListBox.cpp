#include "widgets/ChoiceListBox.h"

ChoiceListBox::ChoiceListBox(QWidget *parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemClicked, this, &ChoiceListBox::Click);
}

void ChoiceListBox::keyPressEvent(QKeyEvent *event)
{
    const QPersistentModelIndex before = currentIndex();
    const bool wasSelected = before.isValid() && selectionModel()->isSelected(before);
    QListWidget::keyPressEvent(event);
    const QModelIndex now = currentIndex();
    if (now.isValid() && selectionModel()->isSelected(now) && (now != before || !wasSelected))
        emit Click();
}

QListWidgetItem *ChoiceListBox::chosenItem() const
{
    QListWidgetItem *row = currentItem();
    return row && row->isSelected() ? row : nullptr;
}
