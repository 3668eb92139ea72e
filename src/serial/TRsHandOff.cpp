#include "serial/TRsHandOff.h"

#include <utility>

void TRsHandOff::ReportGone(const TRsGone& gone, const std::function<void()>& post) {
    {
        std::lock_guard lock(mutex_);
        if (goneSeen_ || released_)
            return;
        goneSeen_ = true;
        gone_ = gone;
    }
    post();
}

void TRsHandOff::ReportLineError(int error, const std::function<void()>& post) {
    {
        std::lock_guard lock(mutex_);
        if (goneSeen_ || released_)
            return;
        const bool alreadyPending = lineError_ != 0;
        lineError_ = error;
        if (alreadyPending)
            return;
    }
    post();
}

TRsGone TRsHandOff::TakeGone() {
    std::lock_guard lock(mutex_);
    const TRsGone gone = gone_;
    gone_ = {};
    return gone;
}

int TRsHandOff::TakeLineError() {
    std::lock_guard lock(mutex_);
    return std::exchange(lineError_, 0);
}

void TRsHandOff::MarkGone() {
    std::lock_guard lock(mutex_);
    goneSeen_ = true;
}

void TRsHandOff::Release() {
    std::lock_guard lock(mutex_);
    released_ = true;
}
