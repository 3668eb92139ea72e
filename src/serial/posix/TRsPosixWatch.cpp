#include "serial/posix/TRsPosixWatch.h"

#include <cerrno>
#include <sys/epoll.h>
#include <system_error>
#include <unistd.h>

namespace {

int CreateEpoll() {
    const int fd = epoll_create1(EPOLL_CLOEXEC);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), "epoll_create1");
    return fd;
}

void Register(int epoll, int fd, unsigned events) {
    epoll_event event{};
    event.events = events;
    event.data.fd = fd;
    if (epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) < 0) {
        const int error = errno;
        close(epoll);
        throw std::system_error(error, std::generic_category(), "epoll_ctl");
    }
}

} // namespace

// A hang-up and an error are reported whatever the events asked for.
TRsPosixWatch::TRsPosixWatch(int deviceFd, TRsWaitFor what)
    : deviceFd_(deviceFd), events_((what == TRsWaitFor::Readable ? EPOLLIN : 0u) | EPOLLONESHOT),
      epoll_(CreateEpoll()) {
    Register(epoll_, wakeup_.Fd(), EPOLLIN);
    Register(epoll_, deviceFd_, events_);
}

TRsPosixWatch::~TRsPosixWatch() {
    close(epoll_);
}

TRsWaitResult TRsPosixWatch::Wait() {
    for (;;) {
        epoll_event events[2];
        const int ready = epoll_wait(epoll_, events, 2, -1);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return {TRsWaitResult::Gone, errno};
        }
        unsigned deviceEvents = 0;
        bool woken = false;
        for (int i = 0; i < ready; ++i) {
            if (events[i].data.fd == deviceFd_)
                deviceEvents = events[i].events;
            else
                woken = true;
        }
        // The device's report comes first: it has disarmed the device, so it must not be
        // dropped. A signal that came with it stays pending for the next wait.
        if (deviceEvents & (EPOLLHUP | EPOLLERR))
            return {TRsWaitResult::Gone, EIO};
        if (deviceEvents & EPOLLIN)
            return {TRsWaitResult::Ready, 0};
        if (woken) {
            wakeup_.Clear();
            if (const int error = armError_.exchange(0))
                return {TRsWaitResult::Gone, error};
            return {TRsWaitResult::Woken, 0};
        }
    }
}

void TRsPosixWatch::Arm() {
    epoll_event event{};
    event.events = events_;
    event.data.fd = deviceFd_;
    if (epoll_ctl(epoll_, EPOLL_CTL_MOD, deviceFd_, &event) < 0) {
        armError_ = errno;
        wakeup_.Signal();
    }
}
