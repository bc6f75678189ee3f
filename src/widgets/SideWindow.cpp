#include "widgets/SideWindow.h"

#include "widgets/Placement.h"

#include <QKeyEvent>

SideWindow::SideWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_QuitOnClose, false);
}

void SideWindow::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        centreOnScreen(this);
    }
    QWidget::showEvent(event);
}

void SideWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    QWidget::keyPressEvent(event);
}
