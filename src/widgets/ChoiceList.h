#pragma once

#include <QListView>
#include <QStringList>

class TextRows;

// A list box that reports each choice the user makes, as a Windows list box does: a click on
// a row (the current row too), a press dragged to another row, and a move of the selection by
// keys. Taking the focus and the program's own selections report nothing.
//
// Its rows are texts held in one list, not an object per row: the auto-start panel fills it
// with every program and icon file of a folder, tens of thousands at a time. A list with rows
// of its own kind (the icons) gives its model instead.
class ChoiceList : public QListView
{
    Q_OBJECT

public:
    explicit ChoiceList(QWidget *parent = nullptr);

    // Shows the texts, a row each, with no row current. Every row is as wide as the longest
    // text, so that the list scrolls sideways to it and no text is cut; rows share one size.
    void setTexts(const QStringList &texts);
    QString text(int row) const;
    int count() const;

    int currentRow() const;
    // Makes the row current and selects it alone; -1 leaves no row current. Reports no choice.
    void setCurrentRow(int row);
    // The row the user chose: the current row when it is selected, else -1. Qt makes the first
    // row current when the list takes the focus, without selecting it; that is no choice.
    int chosenRow() const;

signals:
    void chosen();

protected:
    ChoiceList(QAbstractItemModel *rows, QWidget *parent);

    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TextRows *m_texts = nullptr; // null when the rows are the subclass's
    QPersistentModelIndex m_pressed;
};
