#include "serial/TRsCommEventThread.h"

TRsCommEventThread::TRsCommEventThread(TRsDevice& device, TRsHandOff& handOff, bool watchRx,
                                       TRsThreadPriority priority, std::function<void()> post)
    : device_(device), handOff_(handOff), watchRx_(watchRx), post_(std::move(post)),
      wakeup_(device.CreateWakeup()), priority_(priority), thread_([this] { Run(); }) {
}

TRsCommEventThread::~TRsCommEventThread() {
    RequestStop();
    handOff_.Release();
    thread_.join();
}

void TRsCommEventThread::RequestStop() {
    stopping_ = true;
    wakeup_->Signal();
}

void TRsCommEventThread::Run() {
    priority_.AttachCurrentThread();
    const TRsWaitFor what = watchRx_ ? TRsWaitFor::Readable : TRsWaitFor::Hangup;
    while (!stopping_) {
        const TRsWaitResult result = device_.Wait(what, wakeup_.get(), -1);
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
