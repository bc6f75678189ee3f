#pragma once

#include "platform/AppServices.h"
#include "widgets/SideWindow.h"

#include <QStringList>

class QLabel;
class QToolButton;
class TPlasmaForm;

// The tips window: one tip at a time from the tips file beside the program, on a shaped,
// draggable picture. Shown beside the main window without blocking it.
class Tf_Porady : public SideWindow
{
    Q_OBJECT

public:
    explicit Tf_Porady(const AppServices &services, QWidget *parent = nullptr);

    void FormShow();
    void LoadTips();
    void sb_NestPorClick();
    QString tipsFile() const;
    // The tips as read at the last showing, and the lines of the tip shown.
    QStringList tips() const { return m_tips; }
    QStringList shownLines() const;
    static int TipIndex;

    TPlasmaForm *PlasmaForm1;
    QLabel *l_1, *l_2, *l_3, *l_4, *l_5;
    QToolButton *sb_NestPor, *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton5;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showTip(int index);

    AppServices m_services;
    QStringList m_tips;
};
