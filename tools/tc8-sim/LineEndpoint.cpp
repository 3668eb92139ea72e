#include "LineEndpoint.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace tc8sim {

namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

void MakeRaw(int fd, bool setSpeed) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        Fail("tcgetattr");
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cflag &= ~(CRTSCTS | CSTOPB | PARENB);
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (setSpeed && (cfsetispeed(&settings, B4800) != 0 || cfsetospeed(&settings, B4800) != 0))
        Fail("cfsetspeed");
    if (tcsetattr(fd, TCSANOW, &settings) != 0)
        Fail("tcsetattr");
}

} // namespace

LineEndpoint LineEndpoint::OpenPseudoTerminal() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        Fail("posix_openpt");
    LineEndpoint endpoint(master, -1, {});
    char name[128];
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0)
        Fail("pseudo-terminal");
    endpoint.peerPath_ = name;
    endpoint.heldSlaveFd_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (endpoint.heldSlaveFd_ < 0)
        Fail("open " + endpoint.peerPath_);
    MakeRaw(endpoint.heldSlaveFd_, true);
    if (fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) != 0)
        Fail("fcntl");
    return endpoint;
}

LineEndpoint LineEndpoint::OpenDevice(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        Fail("open " + path);
    LineEndpoint endpoint(fd, -1, path);
    if (!isatty(fd))
        throw std::runtime_error(path + " is not a terminal");
    MakeRaw(fd, true);
    return endpoint;
}

LineEndpoint::LineEndpoint(int fd, int heldSlaveFd, std::string peerPath)
    : fd_(fd), heldSlaveFd_(heldSlaveFd), peerPath_(std::move(peerPath)) {
}

LineEndpoint::LineEndpoint(LineEndpoint&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), heldSlaveFd_(std::exchange(other.heldSlaveFd_, -1)),
      peerPath_(std::move(other.peerPath_)) {
}

LineEndpoint& LineEndpoint::operator=(LineEndpoint&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        heldSlaveFd_ = std::exchange(other.heldSlaveFd_, -1);
        peerPath_ = std::move(other.peerPath_);
    }
    return *this;
}

LineEndpoint::~LineEndpoint() {
    Close();
}

void LineEndpoint::Close() {
    if (heldSlaveFd_ >= 0)
        ::close(heldSlaveFd_);
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = heldSlaveFd_ = -1;
}

} // namespace tc8sim
