#pragma once

#include <QByteArray>
#include <cstdio>
#include <ctime>

// The system-wide monotonic clock in milliseconds, so that a parent and its child
// process measure on the same scale.
inline double monotonicMs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// A child prints the time since the parent's mark and ends at once, so that the
// measure holds neither the event loop's end nor the tear-down.
[[noreturn]] inline void reportAndExit(const char *mark)
{
    std::printf("%.2f\n", monotonicMs() - QByteArray(mark).toDouble());
    std::fflush(stdout);
    std::_Exit(0);
}
