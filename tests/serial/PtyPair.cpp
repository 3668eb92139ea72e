#include "PtyPair.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <unistd.h>

TPtyPair::TPtyPair() {
    termios raw{};
    cfmakeraw(&raw);
    char name[PATH_MAX] = {};
    if (openpty(&master_, &slave_, name, &raw, nullptr) < 0)
        throw std::runtime_error("openpty failed");
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
    slavePath_ = QString::fromLocal8Bit(name);
}

TPtyPair::~TPtyPair() {
    CloseMaster();
    CloseSlave();
}

void TPtyPair::Send(const QByteArray& bytes) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = write(master_, bytes.constData() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd fd{master_, POLLOUT, 0};
            poll(&fd, 1, 100);
        } else {
            throw std::runtime_error("write to the master failed");
        }
    }
}

QByteArray TPtyPair::ReadAvailable() {
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n <= 0)
            return bytes;
        bytes.append(buffer, n);
    }
}

int TPtyPair::SlaveInQueue() const {
    int count = 0;
    ioctl(slave_, FIONREAD, &count);
    return count;
}

bool TPtyPair::WaitSlaveReadable(int timeoutMs) const {
    pollfd fd{slave_, POLLIN, 0};
    return poll(&fd, 1, timeoutMs) == 1;
}

termios TPtyPair::SlaveAttributes() const {
    termios attributes{};
    tcgetattr(slave_, &attributes);
    return attributes;
}

void TPtyPair::CloseMaster() {
    if (master_ >= 0)
        close(master_);
    master_ = -1;
}

void TPtyPair::CloseSlave() {
    if (slave_ >= 0)
        close(slave_);
    slave_ = -1;
}
