#pragma once

#include <functional>
#include <mutex>

// How the device went away, as a background thread or a read saw it.
struct TRsGone {
    int error = 0; // 0: not gone
    bool whileWriting = false;
};

// Where the background threads of one open port leave work for the owner (user-interface)
// thread. A thread leaves its work here and then calls `post`, which queues a call to the
// owner thread; that call looks here and takes whatever is waiting. So a call that comes
// late (after Close, or after another call took the work) finds nothing and does nothing.
class TRsHandOff {
public:
    // Event thread: received bytes are waiting. Does not wait for the owner thread; the
    // event thread's watch stays disarmed until the owner has handled them. False when the
    // thread must stop watching: the port is closing or the device has gone.
    bool DeliverRx(const std::function<void()>& post);
    // Any background thread: the device has gone away. Only the first report counts.
    void ReportGone(const TRsGone& gone, const std::function<void()>& post);
    // Write thread: a write failed although the device is there. Does not wait; a report not
    // yet taken is replaced by the newer one.
    void ReportLineError(int error, const std::function<void()>& post);

    // Owner thread: true when a received-bytes event waits and none is being handled now.
    bool BeginRx();
    // Owner thread: the event taken by BeginRx has been handled; the next one may come.
    void EndRx();
    // Owner thread: the report of a disappearance, once (error 0 when there is none).
    TRsGone TakeGone();
    // Owner thread: the error of the write failure reported last, once (0 when none).
    int TakeLineError();
    // Owner thread: the device has gone; later reports are dropped and watching stops.
    void MarkGone();
    // Owner thread (Close): nothing is delivered or reported any more.
    void Release();

private:
    std::mutex mutex_;
    bool rxWaiting_ = false;
    bool rxRunning_ = false;
    bool released_ = false;
    bool goneSeen_ = false;
    TRsGone gone_;
    int lineError_ = 0;
};
