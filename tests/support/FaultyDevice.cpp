#include "FaultyDevice.h"

#include <QDeadlineTimer>

FaultyDevice::FaultyDevice(std::shared_ptr<DeviceFaults> faults)
    : faults_(std::move(faults)), device_(CreatePlatformDevice()) {
}

TRsTransfer FaultyDevice::Write(const char* data, int count) {
    ++faults_->WriteAttempts;
    if (const int error = faults_->WriteError.load())
        return {0, error, false};
    if (faults_->Stalled)
        return {};
    return device_->Write(data, count);
}

TRsWaitResult FaultyDevice::Wait(TRsWaitFor what, TRsWakeup* wakeup, int timeoutMs) {
    if (what != TRsWaitFor::Writable)
        return device_->Wait(what, wakeup, timeoutMs);
    // A stalled line is watched in short slices for the stall to end; a hang-up or the
    // wake-up ends the wait as it would on the real device.
    const QDeadlineTimer deadline =
        timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs);
    constexpr int SliceMs = 5;
    while (faults_->Stalled) {
        if (deadline.hasExpired())
            return {TRsWaitResult::TimedOut, 0};
        const TRsWaitResult slice = device_->Wait(TRsWaitFor::Hangup, wakeup, SliceMs);
        if (slice.kind != TRsWaitResult::TimedOut)
            return slice;
    }
    return device_->Wait(what, wakeup, static_cast<int>(deadline.remainingTime()));
}
