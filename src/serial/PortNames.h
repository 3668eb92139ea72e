#pragma once

#include <QString>

// How a port name such as "COM1" becomes a device path on Linux.

// The device name: `format` with its "%d" replaced by `number` and "%%" by "%"
// ("COM%d" and 1 give "COM1"). Other text is taken literally.
QString FormatDeviceName(const QString& format, int number);

// The per-user ports folder: $XDG_DATA_HOME/tc8-configurator/ports, or
// ~/.local/share/tc8-configurator/ports when XDG_DATA_HOME is unset or not absolute.
QString PortsFolder();

// The device path for a port name: an absolute name as it is; else the entry of that name in
// the ports folder (a link to the device, or the device) when there is one; else "COMn" is
// /dev/ttyS<n-1> and any other name is looked up in /dev.
QString ResolvePortPath(const QString& name, const QString& portsFolder);
