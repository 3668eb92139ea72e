#pragma once

#include "serial/TRsDevice.h"
#include "serial/posix/TRsPosixWakeup.h"

#include <atomic>

// The one-shot watch a receive thread waits in on Linux (TRsThreadedReceiveWatch, used for a
// hang-up alone): the device in an epoll set with EPOLLONESHOT, so the kernel disarms it
// after each report, beside the wake-up's eventfd. Arming it again is one epoll_ctl call
// from the owner thread; when the device is already ready, the sleeping thread wakes at once.
class TRsPosixWatch : public TRsWatch {
public:
    TRsPosixWatch(int deviceFd, TRsWaitFor what);
    ~TRsPosixWatch() override;
    TRsPosixWatch(const TRsPosixWatch&) = delete;
    TRsPosixWatch& operator=(const TRsPosixWatch&) = delete;

    TRsWaitResult Wait() override;
    void Arm() override;
    void Signal() override { wakeup_.Signal(); }

private:
    const int deviceFd_;
    const unsigned events_;
    TRsPosixWakeup wakeup_;
    const int epoll_;
    // An Arm that failed leaves the device unwatched; the thread learns of it as a failure
    // of its wait.
    std::atomic<int> armError_{0};
};
