#pragma once

#include "serial/PortTable.h"

#include <QString>
#include <memory>

class ERsOpenError;
class TPortEnumeration;

// What COM1 ... COM8 stand for on this machine now, for every front end alike: the table
// the window's port list shows and tc8-cli prints, the device each number opens, and why
// one could not be opened.
class TPortDirectory {
public:
    // The system's serial ports.
    TPortDirectory();
    ~TPortDirectory();
    // Tests script the ports a machine has.
    void SetEnumeration(std::unique_ptr<TPortEnumeration> enumeration);

    // Works the table out again: an adapter plugged in since is found.
    void Refresh();
    const TPortTable& Table() const { return table_; }

    // The device a port name opens: COMn as the table has it, any other name (a device
    // path, a name in the ports folder) as the serial component resolves it.
    QString PortPath(const QString& portName) const;

    // The line of detail below "Port COM niedostępny". The error's port name is COMn or,
    // when a device was asked for by its path, that path.
    QString OpenFailureDetail(const ERsOpenError& error) const;

private:
    std::unique_ptr<TPortEnumeration> enumeration_;
    TPortTable table_;
};

// What one number stands for, as the port list shows it beside the number and reads it out:
// "ttyUSB0 · FT232R USB UART", "brak urządzenia"; "brak dostępu" marks a port this user may
// not open.
QString PortListDetail(const TPortChoice& choice);
