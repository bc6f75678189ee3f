#pragma once

#include "core/DiscCheck.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// The findings of the disc check, one row each with the icon of its severity. Double-clicking
// a row hands its finding on, so that the main window can lead the user to where it is mended;
// the window stays open for the next one.
class TF_Sprawdz : public QDialog
{
    Q_OBJECT

public:
    explicit TF_Sprawdz(QWidget *parent = nullptr);

    void setFindings(const QList<DiscFinding> &findings);

    QListWidget *lb_Wyniki;
    QPushButton *sb_Zamknij;

signals:
    void findingChosen(const DiscFinding &finding);

private:
    QList<DiscFinding> m_findings;
};
