#pragma once

#include <QByteArray>
#include <QString>

// Writes the bytes to the file whole or not at all: they go to a file beside it that is
// renamed over it only once written completely, so an existing file stays as it was when
// anything fails. True when the file now holds exactly these bytes.
bool WriteWholeFile(const QString& path, const QByteArray& bytes);
