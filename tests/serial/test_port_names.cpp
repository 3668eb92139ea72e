#include "PortsFolder.h"
#include "serial/PortNames.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(SerialPortNames, FormatPlacesTheNumberOnceAndKeepsOtherText) {
    EXPECT_EQ(FormatDeviceName(QStringLiteral("COM%d"), 1), QStringLiteral("COM1"));
    EXPECT_EQ(FormatDeviceName(QStringLiteral("ttyUSB%d"), 0), QStringLiteral("ttyUSB0"));
    EXPECT_EQ(FormatDeviceName(QStringLiteral("a%%d%d%d"), 7), QStringLiteral("a%d7%d"));
    // No way to read stray arguments through a user's format.
    EXPECT_EQ(FormatDeviceName(QStringLiteral("%s%x%"), 3), QStringLiteral("%s%x%"));
}

TEST(SerialPortNames, ComPortsFallBackToTtyS) {
    const QString none = QDir::tempPath() + QStringLiteral("/no-such-ports-folder");
    EXPECT_EQ(ResolvePortPath(QStringLiteral("COM1"), none), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(ResolvePortPath(QStringLiteral("COM12"), none), QStringLiteral("/dev/ttyS11"));
    EXPECT_EQ(ResolvePortPath(QStringLiteral("COM0"), none), QStringLiteral("/dev/COM0"));
    EXPECT_EQ(ResolvePortPath(QStringLiteral("ttyUSB0"), none), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(ResolvePortPath(QStringLiteral("/dev/ttyACM1"), none),
              QStringLiteral("/dev/ttyACM1"));
}

TEST(SerialPortNames, PortsFolderEntryWinsEvenWhenItsTargetIsMissing) {
    TPortsFolder ports;
    ports.Link(1, QStringLiteral("/dev/null"));
    ports.Link(2, QStringLiteral("/nonexistent/ttyUSB9"));
    EXPECT_EQ(ResolvePortPath(QStringLiteral("COM1"), ports.Path()), ports.Path() + "/COM1");
    EXPECT_EQ(ResolvePortPath(QStringLiteral("COM2"), ports.Path()), ports.Path() + "/COM2");
    EXPECT_EQ(ResolvePortPath(QStringLiteral("COM3"), ports.Path()), QStringLiteral("/dev/ttyS2"));
}

TEST(SerialPortNames, PortsFolderFollowsXdgDataHome) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");

    qputenv("XDG_DATA_HOME", "/srv/data");
    EXPECT_EQ(PortsFolder(), QStringLiteral("/srv/data/tc8-configurator/ports"));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(PortsFolder(), QDir::homePath() + "/.local/share/tc8-configurator/ports");
    qputenv("XDG_DATA_HOME", "relative/path");
    EXPECT_EQ(PortsFolder(), QDir::homePath() + "/.local/share/tc8-configurator/ports");

    if (wasSet)
        qputenv("XDG_DATA_HOME", saved);
    else
        qunsetenv("XDG_DATA_HOME");
}
