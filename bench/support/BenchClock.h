#pragma once

#include <chrono>
#include <cstdint>

// The clock of every timestamp in the benchmarks. On Linux steady_clock is CLOCK_MONOTONIC,
// which all processes of the machine share, so a parent and its child compare their times.
using BenchClock = std::chrono::steady_clock;

inline std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               BenchClock::now().time_since_epoch())
        .count();
}

inline double MsSince(std::int64_t startNs) {
    return static_cast<double>(NowNs() - startNs) / 1e6;
}
