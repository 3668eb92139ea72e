#pragma once

#include <QString>
#include <QStringList>

// Why a port could not be opened, as far as the system tells it.
struct TPortOpenFailure {
    QString PortName;         // "COM3", or the device path asked for
    bool ByPath = false;      // the device was asked for by its path, not by a number
    QString Device;           // the device behind it; empty when the number stands for nothing
    int Error = 0;            // the system's error code
    QString SystemMessage;    // the system's text for it
    bool FolderEntry = false; // the number is pinned by an entry of the ports folder
    QString Group;            // the device's group, for a refused permission; empty if none helps
    qint64 OwnerPid = 0;      // the process that holds the device, when its lock file says so
    QString OwnerName;        // that process's name
    QString StaleLock;        // a lock file left by a program that has ended, when none runs
    QStringList PortsThere;   // the numbers that stand for a port: "COM1 (ttyUSB0)"
};

// The line of detail below "Port COM niedostępny": what went wrong and what to do.
QString PortOpenDetail(const TPortOpenFailure& failure);
