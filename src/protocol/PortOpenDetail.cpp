#include "protocol/PortOpenDetail.h"

#include <cerrno>

QString PortOpenDetail(const TPortOpenFailure& failure) {
    if (failure.Device.isEmpty() || failure.Error == ENOENT) {
        if (failure.PortsThere.isEmpty())
            return QStringLiteral("Pod %1 nie ma portu, a komputer nie ma teraz żadnego portu "
                                  "szeregowego: podłącz adapter i spróbuj ponownie.")
                .arg(failure.PortName);
        return QStringLiteral("Pod %1 nie ma portu. Porty są pod: %2.")
            .arg(failure.PortName, failure.PortsThere.join(QStringLiteral(", ")));
    }
    if (failure.Error == EACCES || failure.Error == EPERM) {
        const QString group = failure.Group.isEmpty() ? QStringLiteral("dialout") : failure.Group;
        return QStringLiteral("Brak dostępu do %1 (grupa %2): dodaj użytkownika do grupy %2 "
                              "(sudo adduser $USER %2), wyloguj się z systemu i zaloguj "
                              "ponownie.")
            .arg(failure.Device, group);
    }
    if (failure.Error == EBUSY) {
        if (failure.OwnerPid > 0)
            return QStringLiteral("Port %1 jest zajęty przez program %2 (PID %3): zamknij go "
                                  "i spróbuj ponownie.")
                .arg(failure.Device,
                     failure.OwnerName.isEmpty() ? QStringLiteral("?") : failure.OwnerName)
                .arg(failure.OwnerPid);
        return QStringLiteral("Port %1 jest zajęty przez inny program: zamknij go i spróbuj "
                              "ponownie.")
            .arg(failure.Device);
    }
    return QStringLiteral("%1: %2").arg(failure.Device, failure.SystemMessage);
}
