#pragma once

#include "core/IconSource.h"

#include "widgets/ChoiceList.h"

class IconCells;

// Every icon of one file, one cell per icon number, so that one can be picked: row i is icon
// i. Cells fill a column top to bottom, then the next; the list scrolls sideways. Icons are
// read from the file when their cell is first drawn (cachingEnabled) or all at once.
class IconList : public ChoiceList
{
    Q_OBJECT

public:
    explicit IconList(QWidget *parent = nullptr);

    QString fileName() const { return m_fileName; }
    // A different text (letter case counts) loads the file and reports fileChanged; the
    // same text does nothing at all.
    void setFileName(const QString &fileName);
    void reload();
    // Icons of the file last loaded; -1 when none is loaded or it does not exist.
    int iconCount() const { return m_numberOfIcons; }
    // Removes the rows; fileName and iconCount stay.
    void clearIcons();

    bool autoDisable() const { return m_autoDisable; }
    void setAutoDisable(bool on);
    bool cachingEnabled() const { return m_caching; }
    void setCachingEnabled(bool on);
    int margin() const { return m_margin; }
    void setMargin(int pixels);
    QSize cellSize() const;

    // The picture of icon row, read from the file the first time; null when it cannot be read.
    QPixmap iconAt(int row);
    // An icon (as an .ico file's bytes) as the list draws it: the image the system would pick,
    // at the large size; null when there is none.
    static QPixmap largePicture(const QByteArray &ico);

signals:
    void fileChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    IconList(IconCells *cells, QWidget *parent);
    void load();
    void applyEnabledRule();
    void applyScrollBarRule();

    QString m_fileName;
    IconSource m_source;
    IconCells *m_cells;
    int m_numberOfIcons = -1;
    bool m_autoDisable = true;
    bool m_caching = true;
    int m_margin = 5;
};
