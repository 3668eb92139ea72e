#pragma once

#include "serial/PortTable.h"

#include <QList>
#include <memory>

// Where the serial ports of the machine come from; tests script the ports a machine has.
class TPortEnumeration {
public:
    virtual ~TPortEnumeration() = default;
    virtual QList<TListedPort> ListPorts() const = 0;
};

// The system's ports: Qt's listing (placeholder UARTs with nothing behind them left out),
// with the stable names of /dev/serial/by-id and whether this user may open each.
std::unique_ptr<TPortEnumeration> CreateSystemPortEnumeration();

// The "COMn" entries (n from 1 to PortCount) of a ports folder, with the devices they lead to.
QList<TFolderEntry> ReadPortsFolder(const QString& folder);

// The table as the machine has it now.
TPortTable CurrentPortTable(const TPortEnumeration& enumeration, const QString& portsFolder);
