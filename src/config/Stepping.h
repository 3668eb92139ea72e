#pragma once

#include <QString>

// What one click of a spin button does to a configuration value. The window redisplays the
// result and sets the sync marks.

// Limits (TempMin, TempMax): one degree, stopping at the byte bounds 0 and 255.
quint8 LimitUp(quint8 byte);
quint8 LimitDown(quint8 byte);

// Corrections (TempKorekta, TempKorekta2): one tenth through -12,6 ... -0,1, +0,0, +0,1 ...
// +12,7. Byte 255 (-12,7, only ever read from the recorder or a file) steps to 254 either
// way; byte 128 (minus zero) steps as byte 0 does.
quint8 CorrectionUp(quint8 byte);
quint8 CorrectionDown(quint8 byte);

// Logging interval (TempZapisz): the low byte of the text's whole number, one minute up to
// 255 or down to 1. A 0 stays 0 on Down and becomes 1 on Up. Returns the new text; throws
// EConvertError when the text is not a whole number (the field only ever holds numbers
// the program put there).
QString IntervalUp(const QString& text);
QString IntervalDown(const QString& text);
