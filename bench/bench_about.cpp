// Times how soon the about window is there when the update server never answers: a server on
// 127.0.0.1 that takes the connection and says nothing. Baseline: an empty window of the same
// size shown the same way, in the same run. The check goes on in the background; the bench
// counts the connections the server took, one per showing.
// Usage: bench_about   (run offscreen)

#include "Timing.h"
#include "NoMessages.h"

#include "dialogs/AboutWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// Notes the first paint of a window.
class FirstPaint : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

// From show() to the window's first paint, events processed as the program's loop would.
double shownMs(QWidget &window)
{
    FirstPaint paint;
    window.installEventFilter(&paint);
    QElapsedTimer timer;
    timer.start();
    window.show();
    while (!paint.painted && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = timer.nsecsElapsed() / 1e6;
    window.removeEventFilter(&paint);
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QTcpServer silent; // accepts, never answers
    if (!silent.listen(QHostAddress::LocalHost))
        return 1;
    QList<QTcpSocket *> held; // kept open: the check waits on them
    int connections = 0;
    QObject::connect(&silent, &QTcpServer::newConnection, [&] {
        while (QTcpSocket *socket = silent.nextPendingConnection()) {
            ++connections;
            held << socket;
        }
    });
    qputenv("PELMORA_UPDATE_URL", QStringLiteral("http://127.0.0.1:%1/").arg(silent.serverPort()).toLatin1());
    SilentWindows windows;
    AboutWindow &about = *windows.windows.about();
    QWidget plain;
    plain.resize(about.size());

    // Each showing of the about window starts its check: the server must have seen it before
    // the window is hidden (which abandons the check), or the figure is of no check at all.
    QList<double> empty, shown;
    for (int run = 0; run < 9; ++run) {
        empty << shownMs(plain);
        plain.hide();
        const int before = connections;
        shown << shownMs(about);
        QElapsedTimer wait;
        wait.start();
        while (connections == before && wait.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        about.hide();
    }
    std::printf("empty window %.2f ms, about window %.2f ms (first paint, medians of 9), ratio %.2f; "
                "connections the silent server took: %d of 9\n",
                median(empty), median(shown), median(shown) / median(empty), connections);
    return connections == 9 ? 0 : 1;
}
