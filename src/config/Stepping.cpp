#include "config/Stepping.h"

#include "config/WholeNumber.h"

namespace {

constexpr quint8 MinusZero = 128;
constexpr quint8 MinusOneTenth = 129;
constexpr quint8 MostPositive = 127; // +12,7
constexpr quint8 MostNegative = 254; // -12,6, the lowest value the editor produces

} // namespace

quint8 LimitUp(quint8 byte) {
    return byte < 255 ? byte + 1 : byte;
}

quint8 LimitDown(quint8 byte) {
    return byte > 0 ? byte - 1 : byte;
}

quint8 CorrectionUp(quint8 byte) {
    if (byte == MinusZero)
        byte = 0;
    if (byte < MostPositive)
        return byte + 1;
    if (byte == MostPositive)
        return byte;
    if (byte == MinusOneTenth)
        return 0;
    return byte - 1; // 130..255: the magnitude shrinks
}

quint8 CorrectionDown(quint8 byte) {
    if (byte == 0 || byte == MinusZero)
        return MinusOneTenth;
    if (byte < MinusZero)
        return byte - 1;
    if (byte < MostNegative)
        return byte + 1; // 129..253: the magnitude grows
    return MostNegative;
}

QString IntervalUp(const QString& text) {
    const quint8 value = RequireWholeNumberLowByte(text);
    return QString::number(value < 255 ? value + 1 : value);
}

QString IntervalDown(const QString& text) {
    const quint8 value = RequireWholeNumberLowByte(text);
    return QString::number(value > 1 ? value - 1 : value);
}
