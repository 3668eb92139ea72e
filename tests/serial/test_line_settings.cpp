#include "serial/posix/PosixTermios.h"

#include <cerrno>
#include <functional>
#include <gtest/gtest.h>

namespace {

termios Made(const TRsLineSettings& settings, bool* customSpeed = nullptr) {
    termios t{};
    // Start from cooked attributes with everything the line must not keep switched on.
    t.c_iflag = ICRNL | IXON | IXOFF | INPCK | IGNPAR;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ICANON | ECHO | ISIG;
    t.c_cflag = CS7 | PARENB | CSTOPB | CRTSCTS;
    bool custom = false;
    EXPECT_EQ(MakeTermios(settings, t, custom), 0);
    if (customSpeed)
        *customSpeed = custom;
    return t;
}

TRsLineSettings The4800Line() {
    TRsLineSettings s;
    s.BitsPerSecond = 4800;
    return s;
}

} // namespace

TEST(SerialLineSettings, RecorderLineIsRaw4800_8N1WithoutFlowControl) {
    const termios t = Made(The4800Line());
    EXPECT_EQ(cfgetospeed(&t), B4800);
    EXPECT_EQ(cfgetispeed(&t), B4800);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | INPCK | ICRNL), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_cc[VMIN], 1);
    EXPECT_EQ(t.c_cc[VTIME], 0);
    EXPECT_EQ(t.c_cc[VSTART], 0x11);
    EXPECT_EQ(t.c_cc[VSTOP], 0x13);
}

TEST(SerialLineSettings, FramingParityAndFlowControlMap) {
    TRsLineSettings s = The4800Line();
    s.DataBits = 7;
    s.Parity = paOdd;
    s.StopBits = sb2;
    s.XonXoffOut = true;
    s.XonXoffIn = true;
    s.TxContinueOnXoff = true;
    s.ControlRts = rtsHandshake;
    termios t = Made(s);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS),
              static_cast<tcflag_t>(PARENB | PARODD | CSTOPB | CRTSCTS));
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));

    s = The4800Line();
    s.Parity = paSpace;
    s.DataBits = 5;
    s.StopBits = sb15;
    s.ParityCheck = true;
    s.ReplaceErrors = true;
    t = Made(s);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB),
              static_cast<tcflag_t>(CS5 | PARENB | CMSPAR | CSTOPB));
    EXPECT_TRUE(t.c_iflag & INPCK);

    s.Parity = paMark;
    EXPECT_EQ(Made(s).c_cflag & (PARENB | PARODD | CMSPAR),
              static_cast<tcflag_t>(PARENB | PARODD | CMSPAR));
    s.Parity = paEven;
    s.ReplaceErrors = false; // a bad byte then passes unchanged
    t = Made(s);
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(PARENB));
    EXPECT_FALSE(t.c_iflag & INPCK);
}

TEST(SerialLineSettings, SpeedsWithoutTermiosConstantAreMarkedCustom) {
    bool custom = false;
    TRsLineSettings s = The4800Line();
    Made(s, &custom);
    EXPECT_FALSE(custom);
    s.BitsPerSecond = 14400;
    Made(s, &custom);
    EXPECT_TRUE(custom);
}

TEST(SerialLineSettings, WhatATerminalCannotDoIsRefused) {
    const std::function<void(TRsLineSettings&)> unsupported[] = {
        [](TRsLineSettings& s) { s.DataBits = 4; },
        [](TRsLineSettings& s) { s.BitsPerSecond = 0; },
        [](TRsLineSettings& s) { s.OutDsrFlow = true; },
        [](TRsLineSettings& s) { s.DsrSensitivity = true; },
        [](TRsLineSettings& s) { s.ControlDtr = dtrHandshake; },
        [](TRsLineSettings& s) { s.ControlRts = rtsToggle; },
        [](TRsLineSettings& s) { s.NullStrip = true; },
        [](TRsLineSettings& s) { s.XonXoffIn = true; },
        [](TRsLineSettings& s) { s.StopBits = sb15; },
        [](TRsLineSettings& s) {
            s.DataBits = 5;
            s.StopBits = sb2;
        },
        [](TRsLineSettings& s) {
            s.ParityCheck = true;
            s.ReplaceErrors = true;
            s.ErrorChar = '?';
        },
    };
    int index = 0;
    for (const auto& change : unsupported) {
        TRsLineSettings s = The4800Line();
        change(s);
        termios t{};
        bool custom = false;
        EXPECT_EQ(MakeTermios(s, t, custom), EINVAL) << "case " << index;
        ++index;
    }
}
