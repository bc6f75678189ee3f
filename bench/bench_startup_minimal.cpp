// The yardstick of bench_startup: a Qt program that shows one empty window.

#include "StartupClock.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(782, 464);
    quitWhenPainted(&window, "empty window");
    window.show();
    return QApplication::exec();
}
