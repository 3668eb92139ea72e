#include "serial/posix/TRsPosixReceiveWatch.h"

#include <cerrno>
#include <poll.h>

TRsPosixReceiveWatch::TRsPosixReceiveWatch(int deviceFd, TRsReceiveReport report)
    : deviceFd_(deviceFd), report_(std::move(report)),
      notifier_(static_cast<qintptr>(deviceFd), QSocketNotifier::Read) {
    QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_, [this] { Activated(); });
}

void TRsPosixReceiveWatch::Activated() {
    notifier_.setEnabled(false);
    // The notifier fires for a hang-up as for bytes. Only poll() tells them apart, and a
    // hang-up left unreported would wake this loop again and again.
    pollfd device{deviceFd_, POLLIN, 0};
    int ready;
    do {
        ready = poll(&device, 1, 0);
    } while (ready < 0 && errno == EINTR);
    TRsWaitResult result;
    if (ready < 0)
        result = {TRsWaitResult::Gone, errno};
    else if (device.revents & POLLNVAL)
        result = {TRsWaitResult::Gone, EBADF};
    else if (device.revents & (POLLHUP | POLLERR))
        result = {TRsWaitResult::Gone, EIO};
    else if (!(device.revents & POLLIN)) {
        notifier_.setEnabled(true); // nothing after all
        return;
    }
    // The report may destroy this watch (the handler closes the port): nothing of it is
    // touched after the call.
    const TRsReceiveReport report = report_;
    report(result);
}
