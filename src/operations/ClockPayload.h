#pragma once

#include <QByteArray>
#include <QDateTime>

// The payload that sets the recorder's clock: year modulo 100, month, day, hour (0-23),
// minute, second, one plain byte each, from the given local date and time.
QByteArray ClockPayload(const QDateTime& localTime);
