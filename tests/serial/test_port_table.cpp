#include "PortsFolder.h"
#include "PtyPair.h"
#include "serial/PortEnumeration.h"
#include "serial/PortTable.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

TListedPort Port(const char* device, const char* stableName = "") {
    TListedPort port;
    port.Device = QString::fromUtf8(device);
    port.StableName = QString::fromUtf8(stableName);
    return port;
}

// The devices the eight numbers stand for ("" for nothing).
QStringList Devices(const TPortTable& table) {
    QStringList devices;
    for (const TPortChoice& choice : table)
        devices << (choice.Port ? choice.Port->Device : QString());
    return devices;
}

TEST(PortTable, UartsByNumberThenAdaptersByStableNameThenTheRest) {
    const TPortTable table = BuildPortTable(
        {}, {Port("/dev/ttyACM0"), Port("/dev/ttyUSB0", "usb-Prolific_PL2303-if00-port0"),
             Port("/dev/ttyS10"), Port("/dev/ttyUSB1", "usb-FTDI_FT232R_A10K-if00-port0"),
             Port("/dev/ttyUSB10"), Port("/dev/ttyS1"), Port("/dev/ttyUSB2"), Port("/dev/ttyS0")});
    // Adapters without a stable name after the named ones, by number.
    EXPECT_EQ(Devices(table),
              (QStringList{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS10", "/dev/ttyUSB1",
                           "/dev/ttyUSB0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0"}));
    EXPECT_EQ(table[3].Source, TPortChoice::TSource::Listed);
    EXPECT_EQ(table[3].Path, "/dev/ttyUSB1");
    EXPECT_EQ(BuildPortTable({}, {})[0].Source, TPortChoice::TSource::Nothing);
    EXPECT_TRUE(BuildPortTable({}, {})[0].Path.isEmpty());
}

TEST(PortTable, FolderEntriesKeepTheirNumbersAndTheirDevicesAreNotOfferedTwice) {
    TListedPort adapter = Port("/dev/ttyUSB0");
    adapter.Description = "FT232R USB UART";
    const TPortTable table = BuildPortTable({{2, "/home/u/ports/COM2", "/dev/ttyUSB0", false},
                                             {8, "/home/u/ports/COM8", "/dev/ttyUSB7", true},
                                             {9, "/home/u/ports/COM9", "/dev/ttyUSB9", true}},
                                            {adapter, Port("/dev/ttyS0"), Port("/dev/ttyACM0")});
    EXPECT_EQ(Devices(table), (QStringList{"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyACM0", "", "", "",
                                           "", "/dev/ttyUSB7"}));
    EXPECT_EQ(table[1].Source, TPortChoice::TSource::FolderEntry);
    EXPECT_EQ(table[1].Path, "/home/u/ports/COM2"); // the entry is opened, not its target
    EXPECT_EQ(table[1].Port->Description, "FT232R USB UART");
    EXPECT_FALSE(table[1].Port->Accessible);
    // An entry whose device is missing still stands for it.
    EXPECT_EQ(table[7].Source, TPortChoice::TSource::FolderEntry);
    EXPECT_TRUE(table[7].Port->Description.isEmpty());
}

TEST(PortTable, ATableBuiltAgainFollowsThePortsThatCameOrWent) {
    const QList<TListedPort> before{Port("/dev/ttyS0"), Port("/dev/ttyUSB0", "usb-B")};
    QList<TListedPort> after = before;
    after << Port("/dev/ttyUSB1", "usb-A");
    EXPECT_EQ(Devices(BuildPortTable({}, before)).mid(0, 3),
              (QStringList{"/dev/ttyS0", "/dev/ttyUSB0", ""}));
    EXPECT_EQ(Devices(BuildPortTable({}, after)).mid(0, 3),
              (QStringList{"/dev/ttyS0", "/dev/ttyUSB1", "/dev/ttyUSB0"}));
    EXPECT_EQ(Devices(BuildPortTable({}, {})), QStringList(PortCount, QString()));
}

TEST(PortTable, ShortNamesOfDevices) {
    EXPECT_EQ(DeviceShortName("/dev/ttyUSB0"), "ttyUSB0");
    EXPECT_EQ(DeviceShortName("/dev/pts/3"), "pts/3");
    EXPECT_EQ(DeviceShortName("/home/u/ports/COM1"), "/home/u/ports/COM1");
}

TEST(PortTable, TheFolderNamesTheDeviceEachEntryLeadsTo) {
    TPortsFolder ports;
    TPtyPair pty;
    ports.Link(1, pty.SlavePath());
    ports.Link(3, QStringLiteral("../unplugged/ttyUSB5")); // relative, leads nowhere
    ports.Link(9, pty.SlavePath());                        // beyond COM8: not a port number
    const QList<TFolderEntry> entries = ReadPortsFolder(ports.Path());
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].Number, 1);
    EXPECT_EQ(entries[0].EntryPath, ports.Path() + "/COM1");
    EXPECT_EQ(entries[0].Target, QFileInfo(pty.SlavePath()).canonicalFilePath());
    EXPECT_TRUE(entries[0].Present);
    EXPECT_EQ(entries[1].Number, 3);
    EXPECT_EQ(entries[1].Target, QDir::cleanPath(ports.Path() + "/../unplugged/ttyUSB5"));
    EXPECT_FALSE(entries[1].Present);
}

} // namespace
