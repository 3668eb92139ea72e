#include "serial/TRsHandOff.h"

#include <utility>

bool TRsHandOff::DeliverRx(const std::function<void()>& post) {
    {
        std::lock_guard lock(mutex_);
        if (released_ || goneSeen_)
            return false;
        rxWaiting_ = true;
    }
    post();
    return true;
}

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

bool TRsHandOff::BeginRx() {
    std::lock_guard lock(mutex_);
    if (!rxWaiting_ || rxRunning_ || released_)
        return false;
    rxRunning_ = true;
    return true;
}

void TRsHandOff::EndRx() {
    std::lock_guard lock(mutex_);
    rxWaiting_ = false;
    rxRunning_ = false;
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
