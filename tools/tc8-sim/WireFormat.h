#pragma once

#include <QByteArray>
#include <QDateTime>
#include <optional>

namespace tc8sim {

// Encodings of the values the recorder puts into its answers.
namespace WireFormat {

// A temperature in tenths of a degree as two bytes: the sign in bit 7 and the whole
// degrees (at most 127) in bits 0-6 of the first byte, the tenths (0-9) in the second.
QByteArray Temperature(int tenths);

// An unsigned 16-bit number, low byte first.
QByteArray LittleEndian16(int value);

// Six plain bytes: year after 2000, month, day, hour, minute, second.
QByteArray DateTime(const QDateTime& value);

// The date and time of six such bytes; nothing when they name no valid date and time.
std::optional<QDateTime> ParseDateTime(const QByteArray& bytes);

} // namespace WireFormat
} // namespace tc8sim
