#pragma once

#include "platform/AppServices.h"
#include "widgets/SideWindow.h"

#include <QStringList>

class QLabel;
class QToolButton;
class ShapedPicture;

// The tips window: one tip at a time from the tips file beside the program, on a shaped,
// draggable picture. Shown beside the main window without blocking it.
class TipsWindow : public SideWindow
{
    Q_OBJECT

public:
    explicit TipsWindow(const AppServices &services, QWidget *parent = nullptr);

    void refreshOnShow();
    void loadTips();
    void showNextTip();
    QString tipsFile() const;
    // The tips as read at the last showing, and the lines of the tip shown.
    QStringList tips() const { return m_tips; }
    QStringList shownLines() const;
    static int tipIndex;

protected:
    void showEvent(QShowEvent *event) override;

private:
    ShapedPicture *m_picture;
    QLabel *m_tipLine1, *m_tipLine2, *m_tipLine3, *m_tipLine4, *m_tipLine5;
    QToolButton *m_nextTipButton, *m_closeButton, *m_webSiteButton, *m_helpButton, *m_closeCornerButton;

    void showTip(int index);
    void placeButtons();

    AppServices m_services;
    QStringList m_tips;
};
