#include "serial/TRsPriorityControl.h"

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Steps relative to the nice value the thread started with.
int NiceOffset(TRsThreadPriority priority) {
    switch (priority) {
    case tpIdle:
        return 19;
    case tpLowest:
        return 10;
    case tpLower:
        return 5;
    case tpNormal:
        return 0;
    case tpHigher:
        return -5;
    case tpHighest:
        return -10;
    case tpTimeCritical:
        return -20;
    }
    return 0;
}

} // namespace

void TRsPriorityControl::AttachCurrentThread() {
    std::lock_guard lock(mutex_);
    thread_ = gettid();
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(thread_));
    startNice_ = errno == 0 ? nice : 0;
    ApplyLocked();
}

void TRsPriorityControl::Set(TRsThreadPriority priority) {
    std::lock_guard lock(mutex_);
    priority_ = priority;
    ApplyLocked();
}

void TRsPriorityControl::ApplyLocked() {
    if (thread_ == 0)
        return;
    const int nice = std::clamp(startNice_ + NiceOffset(priority_), -20, 19);
    // Refused without privilege: the thread keeps its priority.
    setpriority(PRIO_PROCESS, static_cast<id_t>(thread_), nice);
}
