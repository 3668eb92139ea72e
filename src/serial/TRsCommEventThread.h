#pragma once

#include "serial/TRsDevice.h"
#include "serial/TRsHandOff.h"
#include "serial/TRsPriorityControl.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// The event thread of an open port: waits until bytes arrive (without a busy loop) and hands
// each such event to the owner thread, blocking until it has been handled. When the device
// goes away it reports that and stops watching.
class TRsCommEventThread {
public:
    // watchRx false: watch only for the device going away. `post` queues a call to the
    // owner thread that services `handOff`.
    TRsCommEventThread(TRsDevice& device, TRsHandOff& handOff, bool watchRx,
                       TRsThreadPriority priority, std::function<void()> post);
    // Stops the thread (releasing a blocked hand-off) and waits for it to end.
    ~TRsCommEventThread();
    TRsCommEventThread(const TRsCommEventThread&) = delete;
    TRsCommEventThread& operator=(const TRsCommEventThread&) = delete;

    // Tells the thread to stop; it ends at its next wake-up.
    void RequestStop();
    void SetPriority(TRsThreadPriority priority) { priority_.Set(priority); }

private:
    void Run();

    TRsDevice& device_;
    TRsHandOff& handOff_;
    const bool watchRx_;
    const std::function<void()> post_;
    const std::unique_ptr<TRsWakeup> wakeup_;
    TRsPriorityControl priority_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
