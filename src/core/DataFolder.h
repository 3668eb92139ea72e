#pragma once

#include <QString>

// The program's own data folder: $XDG_DATA_HOME/tc8-configurator, or
// ~/.local/share/tc8-configurator when XDG_DATA_HOME is unset or not absolute. It holds the
// ports folder and the archive of downloads.
QString ProgramDataFolder();
