#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QProcess>
#include <QStringList>

#include <algorithm>

// How the benchmarks take their times.

inline double millis(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// The time work takes, in milliseconds.
template <typename Work>
double millisOf(Work &&work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return millis(timer);
}

// The middle of a list of times: one slow run (a page-cache miss, another process) moves it
// no more than one fast run does.
template <typename Times>
double median(Times times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The median of runs of work, in milliseconds.
template <typename Work>
double medianMillis(int runs, Work &&work)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i)
        times << millisOf(work);
    return median(times);
}

// Runs a whole process to its end, its output thrown away.
inline void runToEnd(const QString &program, const QStringList &arguments = {})
{
    QProcess child;
    child.setStandardOutputFile(QProcess::nullDevice());
    child.setStandardErrorFile(QProcess::nullDevice());
    child.start(program, arguments);
    child.waitForFinished(-1);
}
