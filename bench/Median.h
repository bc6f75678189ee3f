#pragma once

#include <QElapsedTimer>
#include <QList>

#include <algorithm>

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
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times << double(timer.nsecsElapsed()) / 1e6;
    }
    return median(times);
}
