#include "dialogs/TF_About.h"

#include <QHideEvent>

TF_About::TF_About(QWidget *mainWindow, QWidget *parent)
    : SideWindow(parent)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("TF_About"));
    setWindowTitle(QStringLiteral("O programie ..."));
    setFixedSize(438, 300);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
}

void TF_About::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (m_mainWindow && !event->spontaneous())
        m_mainWindow->setEnabled(true);
}
