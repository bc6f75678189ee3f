#pragma once

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <unistd.h>

// Milliseconds since this process started, from the kernel's start time of the process.
inline double millisSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Field 22 (start time, in clock ticks since boot) counts from after the command name.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// Quits the application once widget has been painted for the first time, and prints when.
inline void quitWhenPainted(QWidget *widget, const char *what)
{
    struct Watcher : QObject
    {
        const char *what;
        bool done = false;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && !done) {
                done = true;
                std::printf("%s painted %.1f ms after the process started\n", what,
                            millisSinceProcessStart());
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            }
            return false;
        }
    };
    auto *watcher = new Watcher;
    watcher->what = what;
    watcher->setParent(widget);
    widget->installEventFilter(watcher);
}
