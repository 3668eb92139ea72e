#pragma once

#include <QByteArray>
#include <QString>

// Writes the bytes to the file whole or not at all: they go to a file beside it that is
// renamed over it only once written completely, so an existing file stays as it was when
// anything fails. A device or a pipe at the path is written into as it is. True when the
// file now holds exactly these bytes (the device took them all).
bool WriteWholeFile(const QString& path, const QByteArray& bytes);

class QFile;
// Why `file` could not be opened or read: in the person's words where the program has them
// (not there, a folder, no right to read), else in the system's.
QString FileReadProblem(const QFile& file);
