#include "protocol/PortOpenDetail.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

TPortOpenFailure Failure(int error, const char* device = "/dev/ttyUSB0") {
    TPortOpenFailure failure;
    failure.PortName = QStringLiteral("COM3");
    failure.Device = QString::fromUtf8(device);
    failure.Error = error;
    failure.SystemMessage = QStringLiteral("Inappropriate ioctl for device");
    return failure;
}

TEST(PortOpenDetail, SaysWhyAndWhatToDo) {
    TPortOpenFailure nothing = Failure(ENOENT, "");
    EXPECT_EQ(PortOpenDetail(nothing),
              "Pod numerem COM3 nie ma portu, a w komputerze nie ma teraz żadnego portu "
              "szeregowego: podłącz adapter i spróbuj ponownie.");
    nothing.PortsThere = {"COM1 (ttyS0)", "COM2 (ttyUSB0)"};
    EXPECT_EQ(PortOpenDetail(nothing), "Pod numerem COM3 nie ma portu. Porty są pod numerami: "
                                       "COM1 (ttyS0), COM2 (ttyUSB0).");
    TPortOpenFailure byPath = Failure(ENOENT, "/dev/ttyUSB9");
    byPath.PortName = byPath.Device;
    byPath.ByPath = true;
    byPath.PortsThere = {"COM1 (ttyS0)"};
    EXPECT_EQ(PortOpenDetail(byPath),
              "Nie ma urządzenia /dev/ttyUSB9. Porty są pod numerami: COM1 (ttyS0).");
    TPortOpenFailure unplugged = Failure(ENOENT);
    unplugged.FolderEntry = true;
    EXPECT_EQ(PortOpenDetail(unplugged), "Wpis COM3 w folderze portów prowadzi do /dev/ttyUSB0, "
                                         "którego nie ma: włóż adapter albo usuń wpis.");

    TPortOpenFailure refused = Failure(EACCES);
    EXPECT_EQ(PortOpenDetail(refused),
              "Brak dostępu do /dev/ttyUSB0: poproś administratora o prawo odczytu i zapisu (na "
              "Debianie porty szeregowe należą do grupy dialout).");
    refused.Group = QStringLiteral("dialout");
    EXPECT_EQ(PortOpenDetail(refused),
              "Brak dostępu do /dev/ttyUSB0 (grupa dialout): dodaj użytkownika do grupy dialout "
              "(sudo adduser $USER dialout), wyloguj się z systemu i zaloguj ponownie.");

    TPortOpenFailure busy = Failure(EBUSY);
    EXPECT_EQ(PortOpenDetail(busy), "Port /dev/ttyUSB0 jest zajęty przez inny program: zamknij "
                                    "go i spróbuj ponownie.");
    busy.StaleLock = QStringLiteral("/run/lock/LCK..ttyUSB0");
    EXPECT_EQ(PortOpenDetail(busy), "Port /dev/ttyUSB0 blokuje plik /run/lock/LCK..ttyUSB0, "
                                    "który zostawił program już niedziałający: usuń ten plik "
                                    "(sudo rm /run/lock/LCK..ttyUSB0) i spróbuj ponownie.");
    busy.StaleLock.clear();
    busy.OwnerPid = 4242;
    EXPECT_EQ(PortOpenDetail(busy), "Port /dev/ttyUSB0 jest zajęty przez proces o numerze PID "
                                    "4242: zamknij go i spróbuj ponownie.");
    busy.OwnerName = QStringLiteral("minicom");
    EXPECT_EQ(PortOpenDetail(busy), "Port /dev/ttyUSB0 jest zajęty przez program minicom (PID "
                                    "4242): zamknij go i spróbuj ponownie.");

    EXPECT_EQ(PortOpenDetail(Failure(ENOTTY, "/dev/null")),
              "/dev/null nie jest portem szeregowym: wybierz port adaptera albo komputera.");
    // What has no words of the program's own is said in the system's.
    TPortOpenFailure other = Failure(EIO, "/dev/ttyS0");
    other.SystemMessage = QStringLiteral("Input/output error");
    EXPECT_EQ(PortOpenDetail(other), "/dev/ttyS0: Input/output error");
}

} // namespace
