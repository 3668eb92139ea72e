#include "operations/HistoryRendering.h"

#include "operations/TemperatureReading.h"

#include <algorithm>

std::optional<QString> HistoryLine(const QByteArray& record) {
    if (record.size() < HistoryRecordSize)
        return std::nullopt;
    const auto byte = [&record](int offset) { return static_cast<quint8>(record[offset]); };
    return QStringLiteral("data: %1:%2:%3   czas: %4:%5:%6   T1: %7  T2: %8")
        .arg(TwoDigits(byte(2)), TwoDigits(byte(1)), QString::number(2000 + byte(0)),
             TwoDigits(byte(3)), TwoDigits(byte(4)), TwoDigits(byte(5)),
             TemperatureText(byte(6), byte(7)), TemperatureText(byte(8), byte(9)));
}

std::optional<int> HistoryGaugeMaximum(const QByteArray& payload) {
    if (payload.size() < 2)
        return std::nullopt;
    const int length = (static_cast<quint8>(payload[0]) | static_cast<quint8>(payload[1]) << 8);
    return std::min(length & 0x7FFF, HistoryGaugeLimit);
}
