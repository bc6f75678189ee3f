#pragma once

#include "core/IconSource.h"

#include "widgets/ChoiceListBox.h"

// Every icon of one file, one cell per icon number, so that one can be picked: row i is icon
// i. Cells fill a column top to bottom, then the next; the list scrolls sideways. Icons are
// read from the file when their cell is first drawn (EnableCaching) or all at once.
class TdfsIconListBox : public ChoiceListBox
{
    Q_OBJECT

public:
    explicit TdfsIconListBox(QWidget *parent = nullptr);

    QString FileName() const { return m_fileName; }
    // A different text (letter case counts) loads the file and reports OnFileChange; the
    // same text does nothing at all.
    void setFileName(const QString &fileName);
    void Reload();
    // Icons of the file last loaded; -1 when none is loaded or it does not exist.
    int NumberOfIcons() const { return m_numberOfIcons; }
    // Removes the rows; FileName and NumberOfIcons stay.
    void Clear();

    bool AutoDisable() const { return m_autoDisable; }
    void setAutoDisable(bool on);
    bool EnableCaching() const { return m_caching; }
    void setEnableCaching(bool on);
    int Margin() const { return m_margin; }
    void setMargin(int pixels);
    QSize cellSize() const;

    // The picture of icon row, read from the file the first time; null when it cannot be read.
    QPixmap iconAt(int row);

signals:
    void OnFileChange();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void load();
    void applyEnabledRule();
    void applyScrollBarRule();

    QString m_fileName;
    IconSource m_source;
    int m_numberOfIcons = -1;
    bool m_autoDisable = true;
    bool m_caching = true;
    int m_margin = 5;
};
