// Times the item list of the main window with many entries: appending them, fitting the
// columns and sorting by label, at several sizes to show how each cost grows.
// Usage: bench_items [LARGEST]   (default 10,000; run offscreen)

#include "Controls.h"
#include "NoMessages.h"

#include "app/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cmath>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    SilentWindows silent;
    MainWindow &form = *silent.windows.main;

    const int largest = argc > 1 ? std::atoi(argv[1]) : 10000;
    std::printf("%8s %12s %12s %12s %14s\n", "entries", "add ms", "fit ms", "sort ms", "sort/(n log n)");
    for (int n : {largest / 8, largest / 4, largest / 2, largest}) {
        form.clearItems();
        QRandomGenerator random(42);
        QList<MenuItem> items;
        for (int i = 0; i < n; ++i)
            items.append({QStringLiteral("Zainstaluj program %1").arg(random.bounded(1000000)),
                          QStringLiteral("narzedzia\\program%1.exe").arg(i)});
        QElapsedTimer timer;
        timer.start();
        for (const MenuItem &item : items)
            form.addItem(item);
        const double add = timer.nsecsElapsed() / 1e6;
        timer.restart();
        form.fitColumns();
        const double fit = timer.nsecsElapsed() / 1e6;
        timer.restart();
        form.sortItems();
        const double sort = timer.nsecsElapsed() / 1e6;
        std::printf("%8d %12.1f %12.1f %12.1f %14.6f\n", n, add, fit, sort, sort / (n * std::log2(double(n))));
    }
    return 0;
}
