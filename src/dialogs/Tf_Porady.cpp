#include "dialogs/Tf_Porady.h"

#include <QKeyEvent>

Tf_Porady::Tf_Porady(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Tf_Porady"));
    setWindowTitle(QStringLiteral("Porady"));
    setFixedSize(538, 270);
    setAttribute(Qt::WA_QuitOnClose, false);
}

void Tf_Porady::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        hide();
    QWidget::keyPressEvent(event);
}
