#pragma once

#include "serial/TRsDevice.h"
#include "serial/posix/TRsLockFile.h"

// A serial device on Linux: a terminal opened non-blocking, set by termios, watched with
// poll(), a read notifier on the owner thread's event loop, and epoll for a thread that waits
// for a hang-up. Exclusive use rests on three locks, since TIOCEXCL alone
// does not stop root: an advisory flock on the device, TIOCEXCL, and the LCK.. lock file other
// programs honour.
class TRsPosixDevice : public TRsDevice {
public:
    TRsPosixDevice() = default;
    ~TRsPosixDevice() override;
    TRsPosixDevice(const TRsPosixDevice&) = delete;
    TRsPosixDevice& operator=(const TRsPosixDevice&) = delete;

    int Open(const QString& path) override;
    void Close() override;
    int ApplyLineSettings(const TRsLineSettings& settings) override;
    TRsTransfer InQueue() override;
    TRsTransfer Read(char* buffer, int count) override;
    TRsTransfer Write(const char* data, int count) override;
    int SetDtr(bool on) override;
    int SetRts(bool on) override;
    std::unique_ptr<TRsWakeup> CreateWakeup() override;
    TRsWaitResult Wait(TRsWaitFor what, TRsWakeup* wakeup, int timeoutMs) override;
    std::unique_ptr<TRsWatch> CreateWatch(TRsWaitFor what) override;
    std::unique_ptr<TRsReceiveWatch> CreateReceiveWatch(TRsWaitFor what, TRsThreadPriority priority,
                                                        TRsReceiveReport report) override;
    QString SystemMessage(int error) const override;

private:
    int SetModemLine(int line, bool on);

    int fd_ = -1;
    TRsLockFile lockFile_;
};
