#include "dialogs/TF_About.h"

#include <QKeyEvent>

TF_About::TF_About(QWidget *mainWindow, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("TF_About"));
    setWindowTitle(QStringLiteral("O programie ..."));
    setFixedSize(438, 300);
    setAttribute(Qt::WA_QuitOnClose, false);
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

void TF_About::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    QWidget::keyPressEvent(event);
}
