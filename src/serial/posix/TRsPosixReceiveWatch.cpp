#include "serial/posix/TRsPosixReceiveWatch.h"

TRsPosixReceiveWatch::TRsPosixReceiveWatch(int deviceFd, TRsReceiveReport report)
    : report_(std::move(report)), notifier_(static_cast<qintptr>(deviceFd), QSocketNotifier::Read) {
    QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_, [this] { Activated(); });
}

void TRsPosixReceiveWatch::Arm() {
    armed_ = true;
    if (!notifier_.isEnabled())
        notifier_.setEnabled(true);
}

void TRsPosixReceiveWatch::Activated() {
    if (!armed_) {
        notifier_.setEnabled(false); // quiet until the report being handled is done
        return;
    }
    armed_ = false;
    // The report may destroy this watch (the handler closes the port): nothing of it is
    // touched after the call.
    const TRsReceiveReport report = report_;
    report({TRsWaitResult::Ready, 0});
}
