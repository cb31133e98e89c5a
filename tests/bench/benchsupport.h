// Timing helpers for the benchmarks: each figure is the median of several runs, printed beside
// the bare baseline measured in the same run.
#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

// Median wall time of runs of work(), in milliseconds; setup() runs before each, untimed.
inline double medianMs(int runs, const std::function<void()>& setup, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        QElapsedTimer clock;
        clock.start();
        work();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Milliseconds one call of work() takes.
inline double elapsedMs(const std::function<void()>& work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return double(clock.nsecsElapsed()) / 1e6;
}

// Median of runs of a measurement that times only part of its work itself.
inline double medianOf(int runs, const std::function<double()>& measure)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(measure());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void row(const char* what, double ours, double bare, const char* unit, double target)
{
    const double ratio = ours / bare;
    std::printf("%-38s %10.3f %s   bare %10.3f %s   ratio %5.2f   target <= %.1f  %s\n", what, ours, unit, bare, unit,
                ratio, target, ratio <= target ? "ok" : "MISSED");
}

} // namespace bench
