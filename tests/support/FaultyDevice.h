#pragma once

#include "serial/TRsDevice.h"

#include <atomic>
#include <memory>

// Faults the real device cannot be made to show on demand, switched by the test: an open
// refused for a reason root never meets (no permission), a write that fails with an error
// that is not a hang-up, and a line that takes no output at all.
struct DeviceFaults {
    std::atomic<int> OpenError{0};    // opening fails with this error while it is not 0
    std::atomic<int> WriteError{0};   // writes fail with this error while it is not 0
    std::atomic<bool> Stalled{false}; // writes move nothing; the device never becomes writable
    std::atomic<int> WriteAttempts{0};
};

// The platform's device with the faults put in between.
class FaultyDevice : public TRsDevice {
public:
    explicit FaultyDevice(std::shared_ptr<DeviceFaults> faults);

    int Open(const QString& path) override {
        return faults_->OpenError ? faults_->OpenError.load() : device_->Open(path);
    }
    void Close() override { device_->Close(); }
    int ApplyLineSettings(const TRsLineSettings& settings) override {
        return device_->ApplyLineSettings(settings);
    }
    TRsTransfer InQueue() override { return device_->InQueue(); }
    TRsTransfer Read(char* buffer, int count) override { return device_->Read(buffer, count); }
    TRsTransfer Write(const char* data, int count) override;
    int SetDtr(bool on) override { return device_->SetDtr(on); }
    int SetRts(bool on) override { return device_->SetRts(on); }
    std::unique_ptr<TRsWakeup> CreateWakeup() override { return device_->CreateWakeup(); }
    TRsWaitResult Wait(TRsWaitFor what, TRsWakeup* wakeup, int timeoutMs) override;
    std::unique_ptr<TRsWatch> CreateWatch(TRsWaitFor what) override {
        return device_->CreateWatch(what);
    }
    std::unique_ptr<TRsReceiveWatch> CreateReceiveWatch(TRsWaitFor what, TRsThreadPriority priority,
                                                        TRsReceiveReport report) override {
        return device_->CreateReceiveWatch(what, priority, std::move(report));
    }
    QString SystemMessage(int error) const override { return device_->SystemMessage(error); }

private:
    const std::shared_ptr<DeviceFaults> faults_;
    const std::unique_ptr<TRsDevice> device_;
};
