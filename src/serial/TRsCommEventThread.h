#pragma once

#include "serial/TRsDevice.h"
#include "serial/TRsHandOff.h"
#include "serial/TRsPriorityControl.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// The event thread of an open port: sleeps until bytes arrive (without a busy loop), hands
// each such event to the owner thread and sleeps again at once. Its watch stays disarmed
// until the owner thread has handled the event and calls WatchAgain, so one event is handled
// at a time. When the device goes away it reports that and stops watching.
class TRsCommEventThread {
public:
    // watchRx false: watch only for the device going away. `post` queues a call to the
    // owner thread that services `handOff`.
    TRsCommEventThread(TRsDevice& device, TRsHandOff& handOff, bool watchRx,
                       TRsThreadPriority priority, std::function<void()> post);
    // Stops the thread and waits for it to end.
    ~TRsCommEventThread();
    TRsCommEventThread(const TRsCommEventThread&) = delete;
    TRsCommEventThread& operator=(const TRsCommEventThread&) = delete;

    // Owner thread: the event handed over has been handled; report the next one.
    void WatchAgain() { watch_->Arm(); }
    // Tells the thread to stop; it ends at once.
    void RequestStop();
    void SetPriority(TRsThreadPriority priority) { priority_.Set(priority); }

private:
    void Run();

    TRsHandOff& handOff_;
    const std::function<void()> post_;
    const std::unique_ptr<TRsWatch> watch_;
    TRsPriorityControl priority_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
