#include "SerialFixture.h"
#include "serial/posix/TRsLockFile.h"

#include <QFile>
#include <QFileInfo>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// The lock file the port takes for its device, when the system lock folder is usable.
QString SystemLockFile(const QString& device) {
    if (access("/run/lock", W_OK) != 0)
        return {};
    return QStringLiteral("/run/lock/") +
           TRsLockFile::LockName(QFileInfo(device).canonicalFilePath());
}

} // namespace

using SerialPort = SerialFixture;

TEST_F(SerialPort, OpenSetsTheRecorderLineAndLocksTheDevice) {
    comm.Open();
    ASSERT_TRUE(comm.IsOpen());
    termios t = pty.SlaveAttributes();
    EXPECT_EQ(cfgetospeed(&t), B4800);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(t.c_cc[VMIN], 1);
    EXPECT_EQ(t.c_cc[VTIME], 0);
    int exclusive = 0;
    ASSERT_EQ(ioctl(pty.Slave(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    const QString lock = SystemLockFile(pty.SlavePath());
    if (!lock.isEmpty()) {
        EXPECT_TRUE(QFile::exists(lock));
    }

    // What the connect operation does next: a pseudo-terminal has no modem lines.
    EXPECT_NO_THROW(comm.SetDTR(true));
    EXPECT_NO_THROW(comm.SetRTS(false));

    comm.Close();
    EXPECT_FALSE(comm.IsOpen());
    ASSERT_EQ(ioctl(pty.Slave(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    if (!lock.isEmpty()) {
        EXPECT_FALSE(QFile::exists(lock));
    }
}

TEST_F(SerialPort, MissingOrNonTerminalDeviceIsAConversionErrorAndLeavesNothingOpen) {
    const int descriptors = OpenDescriptors();
    ports.Link(2, QStringLiteral("/nonexistent/ttyUSB7"));
    ports.Link(3, ports.PlainFile());
    ports.Link(4, QStringLiteral("/dev/null")); // a character device, but no terminal
    for (int port : {2, 3, 4}) {
        comm.SetPortNum(port);
        EXPECT_THROW(comm.Open(), EConvertError) << "COM" << port;
        EXPECT_FALSE(comm.IsOpen());
    }
    EXPECT_EQ(OpenDescriptors(), descriptors);
    comm.SetPortNum(1);
    EXPECT_NO_THROW(comm.Open());
}

TEST_F(SerialPort, FailureAfterOpeningClosesTheDeviceAgain) {
    const int descriptors = OpenDescriptors();
    comm.SetDatabits(db4); // no terminal takes 4 data bits
    EXPECT_THROW_TEXT(comm.Open(), ERsCommError, "Error writing dcb (22), Invalid argument");
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_EQ(OpenDescriptors(), descriptors);
    const QString lock = SystemLockFile(pty.SlavePath());
    if (!lock.isEmpty()) {
        EXPECT_FALSE(QFile::exists(lock));
    }
    comm.SetDatabits(db8);
    EXPECT_NO_THROW(comm.Open());
}

TEST_F(SerialPort, OpenTwiceIsRefused) {
    comm.Open();
    EXPECT_THROW_TEXT(comm.Open(), ERsCommError, "Can't perform this operation while port is open");
    EXPECT_TRUE(comm.IsOpen());
}

TEST_F(SerialPort, DeviceHeldElsewhereIsRefused) {
    comm.Open();
    TRsComm other;
    other.SetPortNum(1);
    EXPECT_THROW(other.Open(), EConvertError);
    EXPECT_FALSE(other.IsOpen());
    comm.Close();
    EXPECT_NO_THROW(other.Open());
    other.Close();

    // Another program holding an advisory lock on the device.
    ASSERT_EQ(flock(pty.Slave(), LOCK_EX | LOCK_NB), 0);
    EXPECT_THROW(comm.Open(), EConvertError);
    flock(pty.Slave(), LOCK_UN);
    EXPECT_NO_THROW(comm.Open());
}

TEST_F(SerialPort, ClosedPortSendsAndReadsNothing) {
    EXPECT_FALSE(comm.WriteText("N\x01\x05"));
    EXPECT_TRUE(comm.ReadText().isEmpty());
    EXPECT_EQ(comm.InQueue(), 0);
    EXPECT_NO_THROW(comm.SetDTR(true));
    EXPECT_NO_THROW(comm.Close());
    EXPECT_TRUE(pty.ReadAvailable().isEmpty());

    comm.FlowControl().SetControlDtr(dtrHandshake);
    EXPECT_THROW_TEXT(comm.SetDTR(true), ERsCommError,
                      "DTR line updates not allowed when flowcontrol is set to Handshake.");
    comm.FlowControl().SetControlRts(rtsToggle);
    EXPECT_THROW_TEXT(
        comm.SetRTS(true), ERsCommError,
        "RTS line updates not allowed when flowcontrol is set to Handshake or Toggle.");
}

TEST_F(SerialPort, LineSettingsApplyAtOnceWhileOpen) {
    comm.Open();
    comm.SetBaudrate(br9600);
    termios t = pty.SlaveAttributes();
    EXPECT_EQ(cfgetospeed(&t), B9600);

    // (A pseudo-terminal keeps 8 bits without parity whatever it is told.)
    comm.SetStopbits(sb2);
    comm.FlowControl().SetXonXoffOut(true);
    comm.EventChars().SetXoffChar(0x19);
    t = pty.SlaveAttributes();
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_TRUE(t.c_iflag & IXON);
    EXPECT_EQ(t.c_cc[VSTOP], 0x19);

    // A speed without a termios constant goes through the kernel's other interface.
    comm.SetUserBaudrate(14400);
    EXPECT_EQ(comm.Baudrate(), brUser);
    t = pty.SlaveAttributes();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(0010000)); // BOTHER
    comm.SetBaudrate(br4800);
    EXPECT_EQ(comm.UserBaudrate(), 0);
    t = pty.SlaveAttributes();
    EXPECT_EQ(cfgetospeed(&t), B4800);
}

TEST_F(SerialPort, RejectedLineSettingKeepsTheOldValue) {
    comm.Open();
    EXPECT_THROW_TEXT(comm.FlowControl().SetOutDsrFlow(true), ERsCommError,
                      "Error writing dcb (22), Invalid argument");
    EXPECT_FALSE(comm.FlowControl().OutDsrFlow());
    EXPECT_THROW(comm.SetStopbits(sb15), ERsCommError);
    EXPECT_EQ(comm.Stopbits(), sb1);
    EXPECT_THROW(comm.SetUserBaudrate(-5), ERsCommError);
    EXPECT_EQ(comm.Baudrate(), br4800);
    EXPECT_EQ(comm.UserBaudrate(), 0);
}

TEST_F(SerialPort, DeviceChoiceIsRefusedWhileOpen) {
    comm.Open();
    const char* refused = "Can't perform this operation while port is open";
    EXPECT_THROW_TEXT(comm.SetPortNum(2), ERsCommError, refused);
    EXPECT_THROW_TEXT(comm.SetDeviceName("tty%d"), ERsCommError, refused);
    EXPECT_THROW_TEXT(comm.SetDirectWrite(true), ERsCommError, refused);
    EXPECT_THROW_TEXT(comm.SetUpdateDCB(false), ERsCommError, refused);
    EXPECT_THROW_TEXT(comm.SetMonitorEvents({ceRxChar}), ERsCommError, refused);
    EXPECT_THROW_TEXT(comm.Buffers().SetWriteSize(100), ERsCommError, refused);
    EXPECT_EQ(comm.PortNum(), 1);
    EXPECT_EQ(comm.DeviceName(), QStringLiteral("COM%d"));
    EXPECT_EQ(comm.Buffers().WriteSize(), 2048);
    EXPECT_NO_THROW(comm.Buffers().SetWriteTimeout(50));
    EXPECT_EQ(comm.Buffers().WriteTimeout(), 50);

    comm.Close();
    comm.SetPortNum(2);
    EXPECT_EQ(comm.PortNum(), 2);
}

TEST_F(SerialPort, DefaultsAreThePublishedOnes) {
    TRsComm fresh;
    EXPECT_EQ(fresh.PortNum(), 0);
    EXPECT_EQ(fresh.DeviceName(), QStringLiteral("COM%d"));
    EXPECT_EQ(fresh.Baudrate(), br1200);
    EXPECT_EQ(fresh.Databits(), db8);
    EXPECT_EQ(fresh.Parity(), paNone);
    EXPECT_EQ(fresh.Stopbits(), sb1);
    EXPECT_EQ(fresh.MonitorEvents(), TRsCommEvents({ceError, ceRxChar, ceTxEmpty}));
    EXPECT_EQ(fresh.WritePriority(), tpHighest);
    EXPECT_EQ(fresh.EventPriority(), tpNormal);
    EXPECT_EQ(fresh.Buffers().ReadSize(), 4096);
    EXPECT_EQ(fresh.EventChars().XonChar(), 0x11);
    EXPECT_TRUE(fresh.UpdateDCB());
    EXPECT_FALSE(fresh.DirectWrite());
}
