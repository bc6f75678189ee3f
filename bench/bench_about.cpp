// Times how soon the about window is there when the update server never answers: a server on
// 127.0.0.1 that takes the connection and says nothing. Baseline: an empty window of the same
// size shown the same way, in the same run. The check goes on in the background.
// Usage: bench_about   (run offscreen)

#include "NoMessages.h"

#include "dialogs/AboutWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

double shownMs(QWidget &window)
{
    QElapsedTimer timer;
    timer.start();
    window.show();
    QCoreApplication::processEvents(); // the first paint
    const double ms = timer.nsecsElapsed() / 1e6;
    window.hide();
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
    qputenv("PELMORA_UPDATE_URL", QStringLiteral("http://127.0.0.1:%1/").arg(silent.serverPort()).toLatin1());
    SilentWindows windows;
    AboutWindow &about = *windows.windows.about();
    QWidget plain;
    plain.resize(about.size());

    std::printf("%10s %12s %10s\n", "empty ms", "about ms", "ratio");
    for (int run = 0; run < 3; ++run) {
        const double baseline = shownMs(plain);
        const double ms = shownMs(about); // hiding abandons the check; the next showing starts it again
        std::printf("%10.2f %12.2f %10.1f\n", baseline, ms, ms / baseline);
    }
    return 0;
}
