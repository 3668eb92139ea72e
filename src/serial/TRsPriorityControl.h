#pragma once

#include "serial/RsTypes.h"

#include <mutex>
#include <sys/types.h>

// The scheduling priority of one background thread, changeable while it runs. On Linux a
// thread's priority is its nice value; raising it needs privilege, and without it the
// thread silently keeps the priority it was started with.
class TRsPriorityControl {
public:
    explicit TRsPriorityControl(TRsThreadPriority priority) : priority_(priority) {}

    // Called by the thread itself when it starts.
    void AttachCurrentThread();
    void Set(TRsThreadPriority priority);

private:
    void ApplyLocked();

    std::mutex mutex_;
    TRsThreadPriority priority_;
    pid_t thread_ = 0;
    int startNice_ = 0;
};
