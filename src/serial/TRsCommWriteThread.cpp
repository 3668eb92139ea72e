#include "serial/TRsCommWriteThread.h"

#include <algorithm>
#include <chrono>

namespace {
// Between two tries of a write that failed: long enough that a lasting failure costs no
// processor time worth speaking of, short enough to resume at once when it clears.
constexpr int RetryPauseMs = 100;
} // namespace

TRsCommWriteThread::TRsCommWriteThread(TRsDevice& device, TRsHandOff& handOff, int capacity,
                                       TRsThreadPriority priority, std::function<void()> post)
    : device_(device), handOff_(handOff), post_(std::move(post)), wakeup_(device.CreateWakeup()),
      priority_(priority), queue_(capacity), thread_([this] { Run(); }) {
}

TRsCommWriteThread::~TRsCommWriteThread() {
    {
        std::lock_guard lock(writeLock_);
        stop_ = true;
    }
    dataReady_.notify_all();
    roomFreed_.notify_all();
    wakeup_->Signal();
    thread_.join();
}

TRsCommWriteThread::TOffer TRsCommWriteThread::Offer(const char* data, int count, int timeoutMs) {
    std::unique_lock lock(writeLock_);
    if (count > queue_.Capacity())
        return TOffer::NoRoom;
    const bool settled =
        roomFreed_.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)), [&] {
            return ended_ || stop_ || queue_.Length() + count <= queue_.Capacity();
        });
    if (ended_ || stop_)
        return TOffer::Ended;
    if (!settled)
        return TOffer::NoRoom;
    queue_.Append(data, count);
    dataReady_.notify_one();
    return TOffer::Accepted;
}

int TRsCommWriteThread::Queued() {
    std::lock_guard lock(writeLock_);
    return ended_ ? 0 : queue_.Length();
}

void TRsCommWriteThread::Run() {
    priority_.AttachCurrentThread();
    std::vector<char> chunk;
    // The last try failed: a run of failures is reported once, and a new run starts only
    // when bytes have gone out again.
    bool failing = false;
    for (;;) {
        {
            std::unique_lock lock(writeLock_);
            dataReady_.wait(lock, [this] { return stop_ || queue_.Length() > 0; });
            if (stop_)
                return;
            chunk.assign(queue_.Data(), queue_.Data() + queue_.Length());
        }
        const TRsTransfer sent = device_.Write(chunk.data(), static_cast<int>(chunk.size()));
        if (sent.count > 0) {
            failing = false;
            {
                std::lock_guard lock(writeLock_);
                queue_.Remove(sent.count);
            }
            roomFreed_.notify_all();
            continue;
        }
        if (sent.gone) {
            EndWriting({sent.error, true});
            return;
        }
        if (sent.error != 0) {
            // A line error: the bytes stay queued and are tried again after a pause, unless
            // the device hangs up or the port closes meanwhile.
            if (!failing)
                handOff_.ReportLineError(sent.error, post_);
            failing = true;
            const TRsWaitResult pause =
                device_.Wait(TRsWaitFor::Hangup, wakeup_.get(), RetryPauseMs);
            if (pause.kind == TRsWaitResult::Gone) {
                EndWriting({pause.error, true});
                return;
            }
            continue;
        }
        // The device is busy: wait for room, or for Close.
        const TRsWaitResult room = device_.Wait(TRsWaitFor::Writable, wakeup_.get(), -1);
        if (room.kind == TRsWaitResult::Gone) {
            EndWriting({room.error, true});
            return;
        }
    }
}

void TRsCommWriteThread::EndWriting(const TRsGone& gone) {
    {
        std::lock_guard lock(writeLock_);
        ended_ = true;
    }
    roomFreed_.notify_all();
    handOff_.ReportGone(gone, post_);
}
