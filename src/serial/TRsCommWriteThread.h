#pragma once

#include "serial/TRsCommBuffer.h"
#include "serial/TRsDevice.h"
#include "serial/TRsHandOff.h"
#include "serial/TRsPriorityControl.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// The write thread of an open port: sends what the owner thread queued, continuing partial
// writes and waiting for room on the device when it is busy. A device that has gone ends
// the writing; any other failed write is reported and tried again after a pause. Both go
// through the hand-off.
class TRsCommWriteThread {
public:
    enum class TOffer { Accepted, NoRoom, Ended };

    TRsCommWriteThread(TRsDevice& device, TRsHandOff& handOff, int capacity,
                       TRsThreadPriority priority, std::function<void()> post);
    // Stops the thread and waits for it to end; bytes still queued are dropped.
    ~TRsCommWriteThread();
    TRsCommWriteThread(const TRsCommWriteThread&) = delete;
    TRsCommWriteThread& operator=(const TRsCommWriteThread&) = delete;

    // Queues the bytes, waiting up to timeoutMs for room. Ended: the thread no longer
    // writes, nothing was queued.
    TOffer Offer(const char* data, int count, int timeoutMs);
    // Bytes queued that the device has not taken yet; 0 once writing has ended.
    int Queued();
    void SetPriority(TRsThreadPriority priority) { priority_.Set(priority); }

private:
    void Run();
    void EndWriting(const TRsGone& gone);

    TRsDevice& device_;
    TRsHandOff& handOff_;
    const std::function<void()> post_;
    const std::unique_ptr<TRsWakeup> wakeup_;
    TRsPriorityControl priority_;

    std::mutex writeLock_; // guards the fields below
    std::condition_variable dataReady_;
    std::condition_variable roomFreed_;
    TRsCommBuffer queue_;
    bool stop_ = false;
    bool ended_ = false;

    std::thread thread_;
};
