#include "serial/TRsThreadedReceiveWatch.h"

TRsThreadedReceiveWatch::TRsThreadedReceiveWatch(TRsDevice& device, TRsWaitFor what,
                                                 TRsThreadPriority priority,
                                                 TRsReceiveReport report)
    : report_(std::move(report)), watch_(device.CreateWatch(what)),
      deliverCall_([this] { Deliver(); }, nullptr), priority_(priority),
      thread_([this] { Run(); }) {
}

TRsThreadedReceiveWatch::~TRsThreadedReceiveWatch() {
    stopping_ = true;
    watch_->Signal();
    thread_.join();
}

void TRsThreadedReceiveWatch::Run() {
    priority_.AttachCurrentThread();
    while (!stopping_) {
        const TRsWaitResult result = watch_->Wait();
        if (result.kind != TRsWaitResult::Ready && result.kind != TRsWaitResult::Gone)
            continue;
        {
            std::lock_guard lock(mutex_);
            seen_ = result;
        }
        deliverCall_.Post();
        if (result.kind == TRsWaitResult::Gone)
            return;
    }
}

void TRsThreadedReceiveWatch::Deliver() {
    std::optional<TRsWaitResult> seen;
    {
        std::lock_guard lock(mutex_);
        seen.swap(seen_);
    }
    if (!seen)
        return;
    // The report may destroy this watch (the handler closes the port): nothing of it is
    // touched after the call.
    const TRsReceiveReport report = report_;
    report(*seen);
}
