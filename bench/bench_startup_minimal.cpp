// The yardsticks of bench_startup: a Qt program that shows one empty window, and with --text
// the same window with one line of text in it, which is what loading the fonts costs (an
// empty window draws no letter and never opens the font database).

#include "StartupClock.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool text = argc > 1 && qstrcmp(argv[1], "--text") == 0;
    QWidget window;
    window.resize(782, 464);
    if (text)
        (new QLabel(QStringLiteral("Etykieta płyty"), &window))->move(10, 10);
    quitWhenPainted(&window, text ? "window with a line of text" : "empty window");
    window.show();
    return QApplication::exec();
}
