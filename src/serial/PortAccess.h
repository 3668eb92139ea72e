#pragma once

#include <QString>

// What the system tells about a device that could not be opened, for the window's detail.

// The group whose members may read and write the device, when joining it would help;
// empty when none would.
QString GroupToJoin(const QString& device);

// Who holds a device that is in use.
struct TPortHolder {
    qint64 Pid = 0;    // the process that holds it, when its lock says so
    QString Name;      // that process's name
    QString StaleLock; // a lock left by a program that has ended, when none runs
};
TPortHolder FindPortHolder(const QString& device);
