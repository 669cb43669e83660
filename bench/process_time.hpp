// SPDX-License-Identifier: MIT
#pragma once

#include <sys/resource.h>

#include <QEventLoop>
#include <QTimer>

// What the steady-running benchmarks measure with: the whole process's CPU time, and the
// event loop run for a wall-clock while.
namespace tickwell::bench {

// User and system CPU seconds of the whole process so far.
inline double cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for `milliseconds` of wall-clock time.
inline void spin_event_loop(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace tickwell::bench
