#include "app/TForm1.h"

#include "Version.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmora"));
    QApplication::setApplicationVersion(QStringLiteral(PELMORA_VERSION));

    TForm1 form;
    form.show();
    return QApplication::exec();
}
