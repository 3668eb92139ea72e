#pragma once

#include <string>

namespace tc8sim {

// The simulator's end of the serial line: the master side of a pseudo-terminal whose slave
// the configurator opens, or a real serial device (a null-modem cable to another PC).
// Either way the descriptor is non-blocking and the line raw.
class LineEndpoint {
public:
    // A new pseudo-terminal. The simulator keeps its slave open as well, so that the master
    // neither reports a hang-up nor loses its settings while the configurator has the port
    // closed. Throws std::runtime_error.
    static LineEndpoint OpenPseudoTerminal();
    // A serial device, set to 4800 bit/s 8N1 without flow control. Throws std::runtime_error.
    static LineEndpoint OpenDevice(const std::string& path);

    LineEndpoint(LineEndpoint&& other) noexcept;
    LineEndpoint& operator=(LineEndpoint&& other) noexcept;
    LineEndpoint(const LineEndpoint&) = delete;
    LineEndpoint& operator=(const LineEndpoint&) = delete;
    ~LineEndpoint();

    int Fd() const { return fd_; }
    // The path the configurator opens: the pseudo-terminal's slave, or the device.
    const std::string& PeerPath() const { return peerPath_; }

private:
    LineEndpoint(int fd, int heldSlaveFd, std::string peerPath);
    void Close();

    int fd_ = -1;
    int heldSlaveFd_ = -1;
    std::string peerPath_;
};

} // namespace tc8sim
