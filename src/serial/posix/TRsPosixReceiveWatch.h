#pragma once

#include "serial/TRsDevice.h"

#include <QSocketNotifier>

// The receive watch on Linux: a read notifier on the device in the owner thread's own event
// loop, so the thread that handles the bytes is the one the kernel wakes. It is disabled
// when it fires and enabled again by Arm.
class TRsPosixReceiveWatch final : public TRsReceiveWatch {
public:
    // Owner thread.
    TRsPosixReceiveWatch(int deviceFd, TRsReceiveReport report);

    void Arm() override { notifier_.setEnabled(true); }

private:
    void Activated();

    const int deviceFd_;
    const TRsReceiveReport report_;
    QSocketNotifier notifier_;
};
