#pragma once

#include <QListWidget>

#include <functional>

// A list box that reports each choice the user makes, as a Windows list box does: a click on
// a row (the current row too), a press dragged to another row, and a move of the selection by
// keys. Taking the focus and the program's own selections report nothing.
class ChoiceList : public QListWidget
{
    Q_OBJECT

public:
    explicit ChoiceList(QWidget *parent = nullptr);

    // The row the user chose: the current row when it is selected. Qt makes the first row
    // current when the list takes the focus, without selecting it; that is no choice.
    QListWidgetItem *chosenItem() const;

    // Makes every row as wide as the longest text, so that the list scrolls sideways to it and
    // no text is cut; rows share one size, which keeps tens of thousands of them quick.
    void fitRowsToLongestText();
    // The same for a list just filled with texts, which the caller still holds: no row's text
    // is asked of the list again.
    void fitRowsToLongestText(const QStringList &texts);

signals:
    void chosen();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void fitRows(const std::function<QString(int)> &textAt);

    QPersistentModelIndex m_pressed;
};
