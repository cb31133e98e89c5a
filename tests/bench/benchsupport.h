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

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Ours against the bare, each pair measured in the same round: the medians of both, and the
// median and range of the rounds' ratios, which a busy neighbour disturbs far less than the
// medians apart.
inline void pairedRow(const char* what, const std::vector<double>& ours, const std::vector<double>& bare,
                      const char* unit, double target)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < ours.size(); ++i)
        ratios.push_back(ours[i] / bare[i]);
    const double ratio = median(ratios);
    std::printf("%-38s %10.3f %s   bare %10.3f %s   ratio %5.2f (%.2f to %.2f)   target <= %.1f  %s\n", what,
                median(ours), unit, median(bare), unit, ratio, *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()), target, ratio <= target ? "ok" : "MISSED");
}

inline void row(const char* what, double ours, double bare, const char* unit, double target)
{
    const double ratio = ours / bare;
    std::printf("%-38s %10.3f %s   bare %10.3f %s   ratio %5.2f   target <= %.1f  %s\n", what, ours, unit, bare, unit,
                ratio, target, ratio <= target ? "ok" : "MISSED");
}

} // namespace bench
