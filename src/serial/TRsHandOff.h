#pragma once

#include <functional>
#include <mutex>

// How the device went away, as the write thread, the receive watch or a read saw it.
struct TRsGone {
    int error = 0; // 0: not gone
    bool whileWriting = false;
};

// Where the write thread of one open port leaves work for the owner (user-interface) thread:
// the device gone, a write that failed. The thread leaves its work here and then calls
// `post`, which queues a call to the owner thread; that call takes whatever is waiting. So a
// call that comes late (after Close, or after another call took the work) does nothing.
class TRsHandOff {
public:
    // The device has gone away. Only the first report counts.
    void ReportGone(const TRsGone& gone, const std::function<void()>& post);
    // A write failed although the device is there. Does not wait; a report not
    // yet taken is replaced by the newer one.
    void ReportLineError(int error, const std::function<void()>& post);

    // Owner thread: the report of a disappearance, once (error 0 when there is none).
    TRsGone TakeGone();
    // Owner thread: the error of the write failure reported last, once (0 when none).
    int TakeLineError();
    // Owner thread: the device has gone; later reports are dropped.
    void MarkGone();
    // Owner thread (Close): nothing is delivered or reported any more.
    void Release();

private:
    std::mutex mutex_;
    bool released_ = false;
    bool goneSeen_ = false;
    TRsGone gone_;
    int lineError_ = 0;
};
