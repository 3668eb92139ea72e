#include "CpuTime.h"

#include <ctime>
#include <sys/resource.h>

namespace {
long Switches(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

std::chrono::nanoseconds ClockTime(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}
} // namespace

std::chrono::nanoseconds ProcessCpuTime() {
    return ClockTime(CLOCK_PROCESS_CPUTIME_ID);
}

std::chrono::nanoseconds ThreadCpuTime() {
    return ClockTime(CLOCK_THREAD_CPUTIME_ID);
}

long ProcessContextSwitches() {
    return Switches(RUSAGE_SELF);
}

long ThreadContextSwitches() {
    return Switches(RUSAGE_THREAD);
}
