#include "protocol/PortOpenDetail.h"

#include <cerrno>

QString PortOpenDetail(const TPortOpenFailure& failure) {
    const bool missing = failure.Device.isEmpty() || failure.Error == ENOENT ||
                         failure.Error == ENXIO || failure.Error == ENODEV;
    if (missing && failure.FolderEntry && !failure.Device.isEmpty())
        return QStringLiteral("Wpis %1 w folderze portów prowadzi do %2, którego nie ma: włóż "
                              "adapter albo usuń wpis.")
            .arg(failure.PortName, failure.Device);
    if (missing && failure.ByPath) {
        if (failure.PortsThere.isEmpty())
            return QStringLiteral("Nie ma urządzenia %1, a w komputerze nie ma teraz żadnego "
                                  "portu szeregowego: podłącz adapter i spróbuj ponownie.")
                .arg(failure.PortName);
        return QStringLiteral("Nie ma urządzenia %1. Porty są pod numerami: %2.")
            .arg(failure.PortName, failure.PortsThere.join(QStringLiteral(", ")));
    }
    if (missing) {
        if (failure.PortsThere.isEmpty())
            return QStringLiteral("Pod numerem %1 nie ma portu, a w komputerze nie ma teraz "
                                  "żadnego portu szeregowego: podłącz adapter i spróbuj "
                                  "ponownie.")
                .arg(failure.PortName);
        return QStringLiteral("Pod numerem %1 nie ma portu. Porty są pod numerami: %2.")
            .arg(failure.PortName, failure.PortsThere.join(QStringLiteral(", ")));
    }
    if (failure.Error == EACCES || failure.Error == EPERM) {
        if (failure.Group.isEmpty())
            return QStringLiteral("Brak dostępu do %1: poproś administratora o prawo odczytu i "
                                  "zapisu (na Debianie porty szeregowe należą do grupy "
                                  "dialout).")
                .arg(failure.Device);
        return QStringLiteral("Brak dostępu do %1 (grupa %2): dodaj użytkownika do grupy %2 "
                              "(sudo adduser $USER %2), wyloguj się z systemu i zaloguj "
                              "ponownie.")
            .arg(failure.Device, failure.Group);
    }
    if (failure.Error == EBUSY) {
        if (failure.OwnerPid > 0 && !failure.OwnerName.isEmpty())
            return QStringLiteral("Port %1 jest zajęty przez program %2 (PID %3): zamknij go "
                                  "i spróbuj ponownie.")
                .arg(failure.Device, failure.OwnerName)
                .arg(failure.OwnerPid);
        if (failure.OwnerPid > 0)
            return QStringLiteral("Port %1 jest zajęty przez proces o numerze PID %2: zamknij "
                                  "go i spróbuj ponownie.")
                .arg(failure.Device)
                .arg(failure.OwnerPid);
        if (!failure.StaleLock.isEmpty())
            return QStringLiteral("Port %1 blokuje plik %2, który zostawił program już "
                                  "niedziałający: usuń ten plik (sudo rm %2) i spróbuj "
                                  "ponownie.")
                .arg(failure.Device, failure.StaleLock);
        return QStringLiteral("Port %1 jest zajęty przez inny program: zamknij go i spróbuj "
                              "ponownie.")
            .arg(failure.Device);
    }
    // A plain file, a folder, a pipe or /dev/null named as the port.
    if (failure.Error == ENOTTY || failure.Error == EISDIR)
        return QStringLiteral("%1 nie jest portem szeregowym: wybierz port adaptera albo "
                              "komputera.")
            .arg(failure.Device);
    return QStringLiteral("%1: %2").arg(failure.Device, failure.SystemMessage);
}
