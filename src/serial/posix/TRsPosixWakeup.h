#pragma once

#include "serial/TRsDevice.h"

// A wake-up for poll(): an eventfd that becomes readable when signalled.
class TRsPosixWakeup : public TRsWakeup {
public:
    TRsPosixWakeup();
    ~TRsPosixWakeup() override;
    TRsPosixWakeup(const TRsPosixWakeup&) = delete;
    TRsPosixWakeup& operator=(const TRsPosixWakeup&) = delete;

    void Signal() override;
    int Fd() const { return fd_; }
    // Consumes the signal.
    void Clear();

private:
    int fd_;
};
