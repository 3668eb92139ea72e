#pragma once

#include <QString>

// A temperature of the status answer or of a history record: the first byte carries the
// sign in bit 7 and the whole degrees in bits 0-6, the second the tenths. Shown as sign,
// degrees, ".", tenths ("+21.5", "-0.5"); the tenths byte is printed as received.
QString TemperatureText(quint8 degreesAndSign, quint8 tenths);

// A number of a date or time, with a "0" in front of it when it is below 10.
QString TwoDigits(int number);
