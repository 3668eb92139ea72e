#include "serial/posix/TRsPosixDevice.h"

#include "serial/TRsThreadedReceiveWatch.h"
#include "serial/posix/PosixCustomBaud.h"
#include "serial/posix/PosixTermios.h"
#include "serial/posix/TRsPosixReceiveWatch.h"
#include "serial/posix/TRsPosixWakeup.h"
#include "serial/posix/TRsPosixWatch.h"

#include <QDeadlineTimer>
#include <QFile>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

std::unique_ptr<TRsDevice> CreatePlatformDevice() {
    return std::make_unique<TRsPosixDevice>();
}

namespace {

// Errors of a transfer that mean the device itself is gone (hung up, unplugged, the other
// end of a pseudo-terminal closed). Any other error leaves the device where it is.
bool DeviceGone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

} // namespace

TRsPosixDevice::~TRsPosixDevice() {
    Close();
}

int TRsPosixDevice::Open(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (stat(name.constData(), &status) < 0)
        return errno;
    if (!S_ISCHR(status.st_mode))
        return ENOTTY;
    char resolved[PATH_MAX];
    if (realpath(name.constData(), resolved) == nullptr)
        return errno;
    if (const int error = lockFile_.Acquire(QFile::decodeName(resolved)))
        return error;

    const int fd = open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    if (error == 0 && !isatty(fd))
        error = ENOTTY;
    // The flock comes first: a failed attempt must not leave TIOCEXCL set on a device
    // that someone else holds.
    if (error == 0 && flock(fd, LOCK_EX | LOCK_NB) < 0)
        error = errno == EWOULDBLOCK ? EBUSY : errno;
    if (error == 0 && ioctl(fd, TIOCEXCL) < 0)
        error = errno;
    if (error != 0) {
        if (fd >= 0)
            close(fd);
        lockFile_.Release();
        return error;
    }
    fd_ = fd;
    return 0;
}

void TRsPosixDevice::Close() {
    if (fd_ < 0)
        return;
    ioctl(fd_, TIOCNXCL);
    close(fd_);
    fd_ = -1;
    lockFile_.Release();
}

int TRsPosixDevice::ApplyLineSettings(const TRsLineSettings& settings) {
    termios attributes{};
    if (tcgetattr(fd_, &attributes) < 0)
        return errno;
    bool customSpeed = false;
    if (const int error = MakeTermios(settings, attributes, customSpeed))
        return error;
    if (tcsetattr(fd_, TCSANOW, &attributes) < 0)
        return errno;
    if (customSpeed) {
        if (const int error = SetCustomBaudrate(fd_, settings.BitsPerSecond))
            return error;
    }
    // The DTR and RTS control fields set the lines as a Windows driver does when it takes
    // the settings; in handshake mode the line belongs to the driver.
    if (settings.ControlDtr != dtrHandshake) {
        if (const int error = SetDtr(settings.ControlDtr == dtrEnabled))
            return error;
    }
    if (settings.ControlRts != rtsHandshake)
        return SetRts(settings.ControlRts == rtsEnabled);
    return 0;
}

TRsTransfer TRsPosixDevice::InQueue() {
    int count = 0;
    if (ioctl(fd_, FIONREAD, &count) < 0)
        return {0, errno, DeviceGone(errno)};
    return {count, 0, false};
}

TRsTransfer TRsPosixDevice::Read(char* buffer, int count) {
    for (;;) {
        const ssize_t n = read(fd_, buffer, static_cast<size_t>(count));
        if (n > 0)
            return {static_cast<int>(n), 0, false};
        if (n == 0)
            return {0, EIO, true};
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return {};
        return {0, errno, DeviceGone(errno)};
    }
}

TRsTransfer TRsPosixDevice::Write(const char* data, int count) {
    for (;;) {
        const ssize_t n = write(fd_, data, static_cast<size_t>(count));
        if (n >= 0)
            return {static_cast<int>(n), 0, false};
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return {};
        return {0, errno, DeviceGone(errno)};
    }
}

int TRsPosixDevice::SetModemLine(int line, bool on) {
    if (ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) == 0)
        return 0;
    // A pseudo-terminal has no modem lines; for it there is nothing to do.
    return errno == ENOTTY || errno == EINVAL ? 0 : errno;
}

int TRsPosixDevice::SetDtr(bool on) {
    return SetModemLine(TIOCM_DTR, on);
}

int TRsPosixDevice::SetRts(bool on) {
    return SetModemLine(TIOCM_RTS, on);
}

std::unique_ptr<TRsWakeup> TRsPosixDevice::CreateWakeup() {
    return std::make_unique<TRsPosixWakeup>();
}

TRsWaitResult TRsPosixDevice::Wait(TRsWaitFor what, TRsWakeup* wakeup, int timeoutMs) {
    auto* posixWakeup = static_cast<TRsPosixWakeup*>(wakeup);
    pollfd fds[2] = {{fd_, 0, 0}, {posixWakeup ? posixWakeup->Fd() : -1, POLLIN, 0}};
    if (what == TRsWaitFor::Readable)
        fds[0].events = POLLIN;
    else if (what == TRsWaitFor::Writable)
        fds[0].events = POLLOUT;
    const QDeadlineTimer deadline =
        timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs);
    for (;;) {
        const int ready = poll(fds, posixWakeup ? 2 : 1, deadline.remainingTime());
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return {TRsWaitResult::Gone, errno};
        }
        if (ready == 0)
            return {TRsWaitResult::TimedOut, 0};
        if (fds[1].revents & POLLIN) {
            posixWakeup->Clear();
            return {TRsWaitResult::Woken, 0};
        }
        if (fds[0].revents & POLLNVAL)
            return {TRsWaitResult::Gone, EBADF};
        if (fds[0].revents & (POLLHUP | POLLERR))
            return {TRsWaitResult::Gone, EIO};
        return {TRsWaitResult::Ready, 0};
    }
}

std::unique_ptr<TRsWatch> TRsPosixDevice::CreateWatch(TRsWaitFor what) {
    return std::make_unique<TRsPosixWatch>(fd_, what);
}

std::unique_ptr<TRsReceiveWatch> TRsPosixDevice::CreateReceiveWatch(TRsWaitFor what,
                                                                    TRsThreadPriority priority,
                                                                    TRsReceiveReport report) {
    // A read notifier fires for every unread byte, so only a thread's one-shot watch waits
    // for a hang-up alone.
    if (what == TRsWaitFor::Hangup)
        return std::make_unique<TRsThreadedReceiveWatch>(*this, what, priority, std::move(report));
    return std::make_unique<TRsPosixReceiveWatch>(fd_, std::move(report));
}

QString TRsPosixDevice::SystemMessage(int error) const {
    return QString::fromStdString(std::generic_category().message(error));
}
