#include "serial/posix/TRsPosixWakeup.h"

#include <cerrno>
#include <cstdint>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

TRsPosixWakeup::TRsPosixWakeup() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (fd_ < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
}

TRsPosixWakeup::~TRsPosixWakeup() {
    close(fd_);
}

void TRsPosixWakeup::Signal() {
    const std::uint64_t one = 1;
    // Cannot fail short of a counter overflow, which a pending signal makes harmless.
    [[maybe_unused]] const ssize_t written = write(fd_, &one, sizeof one);
}

void TRsPosixWakeup::Clear() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t consumed = read(fd_, &count, sizeof count);
}
