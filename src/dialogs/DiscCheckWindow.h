#pragma once

#include "core/DiscCheck.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// The findings of the disc check, one row each with the icon of its severity. Double-clicking
// a row hands its finding on, so that the main window can lead the user to where it is mended;
// the window stays open for the next one.
class DiscCheckWindow : public QDialog
{
    Q_OBJECT

public:
    explicit DiscCheckWindow(QWidget *parent = nullptr);

    void setFindings(const QList<DiscFinding> &findings);

signals:
    void findingChosen(const DiscFinding &finding);

private:
    QListWidget *m_findingList;
    QPushButton *m_closeButton;

    QList<DiscFinding> m_findings;
};
