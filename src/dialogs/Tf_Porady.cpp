#include "dialogs/Tf_Porady.h"

Tf_Porady::Tf_Porady(QWidget *parent)
    : SideWindow(parent)
{
    setObjectName(QStringLiteral("Tf_Porady"));
    setWindowTitle(QStringLiteral("Porady"));
    setFixedSize(538, 270);
}
