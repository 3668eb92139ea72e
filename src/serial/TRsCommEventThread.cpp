#include "serial/TRsCommEventThread.h"

TRsCommEventThread::TRsCommEventThread(TRsDevice& device, TRsHandOff& handOff, bool watchRx,
                                       TRsThreadPriority priority, std::function<void()> post)
    : handOff_(handOff), post_(std::move(post)),
      watch_(device.CreateWatch(watchRx ? TRsWaitFor::Readable : TRsWaitFor::Hangup)),
      priority_(priority), thread_([this] { Run(); }) {
}

TRsCommEventThread::~TRsCommEventThread() {
    RequestStop();
    thread_.join();
}

void TRsCommEventThread::RequestStop() {
    stopping_ = true;
    watch_->Signal();
}

void TRsCommEventThread::Run() {
    priority_.AttachCurrentThread();
    while (!stopping_) {
        const TRsWaitResult result = watch_->Wait();
        switch (result.kind) {
        case TRsWaitResult::Woken:
        case TRsWaitResult::TimedOut:
            break;
        case TRsWaitResult::Gone:
            handOff_.ReportGone({result.error, false}, post_);
            return;
        case TRsWaitResult::Ready:
            if (!handOff_.DeliverRx(post_))
                return;
            break;
        }
    }
}
