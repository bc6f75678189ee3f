#pragma once

#include "widgets/SideWindow.h"

#include <QPointer>

// The about window. While it is shown the main window is disabled; hiding it enables the
// main window again.
class TF_About : public SideWindow
{
    Q_OBJECT

public:
    explicit TF_About(QWidget *mainWindow, QWidget *parent = nullptr);

protected:
    void hideEvent(QHideEvent *event) override;

private:
    QPointer<QWidget> m_mainWindow;
};
