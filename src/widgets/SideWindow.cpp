#include "widgets/SideWindow.h"

#include "widgets/Placement.h"

#include <QKeyEvent>

SideWindow::SideWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_QuitOnClose, false);
}

void SideWindow::setLightColours(const QColor &background)
{
    // From a light button face and the background, QPalette works out dark text, a white base,
    // the buttons' edges and the disabled greys.
    setPalette(QPalette(QColor(240, 240, 240), background));
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
