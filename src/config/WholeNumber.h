#pragma once

#include <QString>
#include <optional>

// The counts fields (TempZapisz, IleDruk) are texts that become one byte when they are sent
// or saved. A whole number is an optional "+" or "-" followed by at least one decimal digit,
// nothing else, within the 32-bit signed range; "+", "1+", "++" and "" are not.
std::optional<qint32> ParseWholeNumber(const QString& text);

// The low byte of the text's whole number (-1 gives 255, 256 gives 0), or nothing when the
// text is not a whole number.
std::optional<quint8> WholeNumberLowByte(const QString& text);

// The same, for texts that must hold a whole number: throws EConvertError otherwise.
quint8 RequireWholeNumberLowByte(const QString& text);
