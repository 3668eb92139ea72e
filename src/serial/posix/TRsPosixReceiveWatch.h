#pragma once

#include "serial/TRsDevice.h"

#include <QSocketNotifier>

// The receive watch on Linux: a read notifier on the device in the owner thread's own event
// loop, so the thread that handles the bytes is the one the kernel wakes. It fires for a
// hang-up as for bytes: the reader tells them apart. The notifier stays enabled while the
// owner handles a report and is disabled only when it fires meanwhile (in a nested event
// loop, or for a device that has gone), until Arm: enabling and disabling it costs the event
// loop a wake-up of its own each time.
class TRsPosixReceiveWatch final : public TRsReceiveWatch {
public:
    // Owner thread.
    TRsPosixReceiveWatch(int deviceFd, TRsReceiveReport report);

    void Arm() override;

private:
    void Activated();

    const TRsReceiveReport report_;
    QSocketNotifier notifier_;
    bool armed_ = true;
};
