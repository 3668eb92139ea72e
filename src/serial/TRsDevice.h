#pragma once

#include "serial/RsTypes.h"
#include "serial/TRsLineSettings.h"

#include <QString>
#include <functional>
#include <memory>

// What a wait or a watch is for on the device.
enum class TRsWaitFor {
    Readable, // received bytes (or the device going away)
    Writable, // room for output (or the device going away)
    Hangup    // only the device going away
};

struct TRsWaitResult {
    enum Kind { Ready, Woken, TimedOut, Gone } kind = Ready;
    int error = 0; // with Gone: the platform's error code that stands for it
};

// The outcome of one read or write. count 0 with error 0 means nothing could be moved now.
struct TRsTransfer {
    int count = 0;
    int error = 0;     // the platform's error code when the transfer failed
    bool gone = false; // the failure means the device has disappeared
};

// Interrupts a TRsDevice::Wait from another thread. A signal is kept until a wait sees it.
class TRsWakeup {
public:
    virtual ~TRsWakeup() = default;
    virtual void Signal() = 0;
};

// A watch on the device for a thread that waits (TRsThreadedReceiveWatch). It reports
// readiness once and then stays quiet until it is armed again, so the thread sleeps once per
// delivery and never sees the same bytes twice while the owner thread is still handling them.
class TRsWatch : public TRsWakeup {
public:
    // Blocks until the device is ready (the watch is then disarmed), goes away, or Signal
    // is called.
    virtual TRsWaitResult Wait() = 0;
    // Any thread: watch again; bytes already waiting are reported at once.
    virtual void Arm() = 0;
};

// Called on the owner thread with Ready (received bytes wait, or the device may have gone; the
// reader finds out which) or Gone (the device went away).
using TRsReceiveReport = std::function<void(const TRsWaitResult& result)>;

// How the component learns of received bytes: the watch reports once on the owner thread's
// event loop and then stays quiet until it is armed again, so one report is handled at a time
// and a nested event loop inside the handling gets no second one. After a Gone report it stays
// quiet for good. Destroying it ends the reports; one already on its way is dropped.
class TRsReceiveWatch {
public:
    virtual ~TRsReceiveWatch() = default;
    // Owner thread: report the next event; bytes already waiting are reported at once.
    virtual void Arm() = 0;
    // The priority of the thread that waits for the device, where the backend has one.
    virtual void SetPriority(TRsThreadPriority) {}
};

// The platform seam of the serial-port component: one open serial device. Wait, Read, Write
// and InQueue may run on different threads at once; Open and Close run while no other call
// is in progress.
class TRsDevice {
public:
    virtual ~TRsDevice() = default;

    // Opens the device at `path` for exclusive use. Returns 0 or the platform's error code;
    // on failure nothing stays open or locked.
    virtual int Open(const QString& path) = 0;
    virtual void Close() = 0;

    // Returns 0 or the platform's error code.
    virtual int ApplyLineSettings(const TRsLineSettings& settings) = 0;
    // Number of received bytes waiting (in `count`), or the failure.
    virtual TRsTransfer InQueue() = 0;
    virtual TRsTransfer Read(char* buffer, int count) = 0;
    virtual TRsTransfer Write(const char* data, int count) = 0;
    // Raises or lowers a modem line. Returns 0 or the platform's error code.
    virtual int SetDtr(bool on) = 0;
    virtual int SetRts(bool on) = 0;

    virtual std::unique_ptr<TRsWakeup> CreateWakeup() = 0;
    // Blocks until the device is ready for `what`, goes away, `wakeup` (if any) is
    // signalled, or timeoutMs passes (-1: no limit).
    virtual TRsWaitResult Wait(TRsWaitFor what, TRsWakeup* wakeup, int timeoutMs) = 0;
    // A watch for `what` (Readable or Hangup), armed, for a thread to wait in.
    virtual std::unique_ptr<TRsWatch> CreateWatch(TRsWaitFor what) = 0;
    // Owner thread, while open: the receive watch for `what` (Readable, or only Hangup),
    // armed. A backend whose platform can watch the device from the owner thread's event loop
    // does so; one that must wait on a thread returns a TRsThreadedReceiveWatch, which runs
    // at `priority`.
    virtual std::unique_ptr<TRsReceiveWatch>
    CreateReceiveWatch(TRsWaitFor what, TRsThreadPriority priority, TRsReceiveReport report) = 0;

    // The platform's text for one of its error codes.
    virtual QString SystemMessage(int error) const = 0;
};

// The device of the platform the program runs on.
std::unique_ptr<TRsDevice> CreatePlatformDevice();
