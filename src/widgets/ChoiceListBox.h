#pragma once

#include <QListWidget>

// A list box that reports each choice the user makes, as a Windows list box does: a click on
// a row (the current row too) and a move of the selection by keys. Taking the focus and the
// program's own selections report nothing.
class ChoiceListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit ChoiceListBox(QWidget *parent = nullptr);

    // The row the user chose: the current row when it is selected. Qt makes the first row
    // current when the list takes the focus, without selecting it; that is no choice.
    QListWidgetItem *chosenItem() const;

signals:
    void Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
