#include "WireFormat.h"

#include <algorithm>
#include <cstdlib>

namespace tc8sim::WireFormat {

QByteArray Temperature(int tenths) {
    const int magnitude = std::min(std::abs(tenths), 1279);
    QByteArray bytes;
    bytes.append(static_cast<char>((magnitude / 10) | (tenths < 0 ? 0x80 : 0x00)));
    bytes.append(static_cast<char>(magnitude % 10));
    return bytes;
}

QByteArray LittleEndian16(int value) {
    QByteArray bytes;
    bytes.append(static_cast<char>(value & 0xFF));
    bytes.append(static_cast<char>((value >> 8) & 0xFF));
    return bytes;
}

QByteArray DateTime(const QDateTime& value) {
    const QDate date = value.date();
    const QTime time = value.time();
    QByteArray bytes;
    for (int part : {std::clamp(date.year() - 2000, 0, 255), date.month(), date.day(), time.hour(),
                     time.minute(), time.second()})
        bytes.append(static_cast<char>(part));
    return bytes;
}

std::optional<QDateTime> ParseDateTime(const QByteArray& bytes) {
    if (bytes.size() != 6)
        return std::nullopt;
    auto at = [&bytes](int i) { return static_cast<int>(static_cast<std::uint8_t>(bytes.at(i))); };
    const QDate date(2000 + at(0), at(1), at(2));
    const QTime time(at(3), at(4), at(5));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

} // namespace tc8sim::WireFormat
