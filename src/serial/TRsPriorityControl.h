#pragma once

#include "serial/RsTypes.h"

#include <mutex>

// The scheduling priority of one background thread, changeable while it runs; each backend
// maps the priorities to its platform's (src/serial/posix: nice values, where raising one
// needs privilege, and without it the thread silently keeps the priority it started with).
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
    int thread_ = 0; // the system's id of the attached thread; 0 before it attaches
    int startNice_ = 0;
};
