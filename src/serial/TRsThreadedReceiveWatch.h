#pragma once

#include "serial/TRsDevice.h"
#include "serial/TRsOwnerThreadCall.h"
#include "serial/TRsPriorityControl.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// A receive watch for a platform that can only wait for the device on a thread of its own
// (and, on Linux, for a hang-up alone, which a read notifier cannot wait for): the thread
// sleeps in the device's one-shot TRsWatch, leaves what it saw here and posts a call to the
// owner thread, which reports it. The watch stays disarmed until the owner arms it, so the
// thread sleeps once per delivery. After the device has gone the thread ends.
class TRsThreadedReceiveWatch final : public TRsReceiveWatch {
public:
    // Owner thread, which the reports reach.
    TRsThreadedReceiveWatch(TRsDevice& device, TRsWaitFor what, TRsThreadPriority priority,
                            TRsReceiveReport report);
    // Stops the thread and waits for it to end.
    ~TRsThreadedReceiveWatch() override;
    TRsThreadedReceiveWatch(const TRsThreadedReceiveWatch&) = delete;
    TRsThreadedReceiveWatch& operator=(const TRsThreadedReceiveWatch&) = delete;

    void Arm() override { watch_->Arm(); }
    void SetPriority(TRsThreadPriority priority) override { priority_.Set(priority); }

private:
    void Run();
    void Deliver();

    const TRsReceiveReport report_;
    const std::unique_ptr<TRsWatch> watch_;
    TRsOwnerThreadCall deliverCall_;
    TRsPriorityControl priority_;
    std::mutex mutex_;
    std::optional<TRsWaitResult> seen_; // what the thread saw, until the owner takes it
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
