#include "serial/posix/PosixTermios.h"

#include <cerrno>

namespace {

speed_t StandardSpeed(int bitsPerSecond) {
    switch (bitsPerSecond) {
    case 50:
        return B50;
    case 75:
        return B75;
    case 110:
        return B110;
    case 134:
        return B134;
    case 150:
        return B150;
    case 200:
        return B200;
    case 300:
        return B300;
    case 600:
        return B600;
    case 1200:
        return B1200;
    case 1800:
        return B1800;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    case 460800:
        return B460800;
    case 921600:
        return B921600;
    default:
        return B0;
    }
}

tcflag_t CharacterSize(int dataBits) {
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

// What a Linux terminal has no counterpart for: DSR flow control and sensitivity, DTR
// handshake, RTS toggling, null stripping, a replacement character other than NUL (bad
// bytes read as NUL), holding transmission after sending XOFF, 1.5 stop bits with more
// than 5 data bits and 2 stop bits with 5.
bool Unsupported(const TRsLineSettings& s) {
    const bool replacing = s.ParityCheck && s.ReplaceErrors;
    return s.DataBits < 5 || s.DataBits > 8 || s.OutDsrFlow || s.DsrSensitivity ||
           s.ControlDtr == dtrHandshake || s.ControlRts == rtsToggle || s.NullStrip ||
           (replacing && s.ErrorChar != 0) || (s.XonXoffIn && !s.TxContinueOnXoff) ||
           (s.StopBits == sb15 && s.DataBits != 5) || (s.StopBits == sb2 && s.DataBits == 5) ||
           s.BitsPerSecond <= 0;
}

} // namespace

int MakeTermios(const TRsLineSettings& s, termios& t, bool& customSpeed) {
    if (Unsupported(s))
        return EINVAL;

    cfmakeraw(&t);
    t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR);
    t.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD | CharacterSize(s.DataBits);

    switch (s.Parity) {
    case paNone:
        break;
    case paOdd:
        t.c_cflag |= PARENB | PARODD;
        break;
    case paEven:
        t.c_cflag |= PARENB;
        break;
    case paMark:
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case paSpace:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    }
    if (s.StopBits != sb1)
        t.c_cflag |= CSTOPB;
    // Without INPCK a byte with a parity error passes unchanged, as when errors are only
    // noted; with it the terminal replaces the byte by NUL.
    if (s.ParityCheck && s.ReplaceErrors)
        t.c_iflag |= INPCK;
    if (s.OutCtsFlow || s.ControlRts == rtsHandshake)
        t.c_cflag |= CRTSCTS;
    if (s.XonXoffOut)
        t.c_iflag |= IXON;
    if (s.XonXoffIn)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(s.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(s.XoffChar);
    // A read returns at once with what is waiting; on the non-blocking descriptor "nothing"
    // is EAGAIN, so a read of 0 bytes can only mean the device went away.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;

    const speed_t speed = StandardSpeed(s.BitsPerSecond);
    customSpeed = speed == B0;
    cfsetispeed(&t, customSpeed ? B38400 : speed);
    cfsetospeed(&t, customSpeed ? B38400 : speed);
    return 0;
}
