#pragma once

#include <QList>
#include <QString>
#include <array>
#include <optional>

// What the port list offers as COM1 ... COM8, and how it is worked out from the entries of
// the ports folder and the serial ports the system lists.

// A serial port as the system lists it.
struct TListedPort {
    QString Device; // "/dev/ttyUSB0"
    QString Description;
    QString Manufacturer;
    QString SerialNumber;
    std::optional<quint16> VendorId;
    std::optional<quint16> ProductId;
    QString StableName;     // its name in /dev/serial/by-id, for adapters that have one
    bool Accessible = true; // this user may open it
    bool Present = true;    // the device is there (a folder entry may lead nowhere)

    bool operator==(const TListedPort&) const = default;
};

// An entry "COMn" of the ports folder: the user's own choice for that number.
struct TFolderEntry {
    int Number = 0;
    QString EntryPath; // the entry itself, opened as it is
    QString Target;    // the device it leads to (it may not exist)
    bool Accessible = true;
    bool Present = true;
};

// What one number stands for.
struct TPortChoice {
    enum class TSource { Nothing, FolderEntry, Listed };
    TSource Source = TSource::Nothing;
    // What is opened for it: the folder entry or the listed device; empty for Nothing.
    QString Path;
    // The port behind it: the listed one, or for a folder entry the one its target is (or,
    // when the system does not list that, its target alone).
    std::optional<TListedPort> Port;

    bool operator==(const TPortChoice&) const = default;
};

constexpr int PortCount = 8;
using TPortTable = std::array<TPortChoice, PortCount>;

// Folder entries keep their numbers; the other numbers go, in order, to the listed ports
// not already behind an entry: on-board UARTs by their number, then USB adapters by their
// stable names, then the rest by device name. Numbers left over stand for nothing.
TPortTable BuildPortTable(const QList<TFolderEntry>& entries, QList<TListedPort> listed);

// The short name of a device ("ttyUSB0" for /dev/ttyUSB0, "pts/3" for /dev/pts/3); a path
// outside /dev stays whole.
QString DeviceShortName(const QString& device);
