#include "operations/HistoryCsv.h"

#include <array>
#include <cstdlib>
#include <utility>

namespace {

void AppendNumber(QByteArray& out, int number, int width) {
    const QByteArray digits = QByteArray::number(number);
    for (qsizetype i = digits.size(); i < width; ++i)
        out.append('0');
    out.append(digits);
}

// Three numbers of a date or time, each at least as wide as its width, between separators.
void AppendParts(QByteArray& out, const std::array<std::pair<int, int>, 3>& parts, char separator) {
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out.append(separator);
        AppendNumber(out, parts[i].first, parts[i].second);
    }
}

void AppendTemperature(QByteArray& out, int tenths) {
    if (tenths < 0)
        out.append('-');
    out.append(QByteArray::number(std::abs(tenths) / 10));
    out.append(',');
    out.append(static_cast<char>('0' + std::abs(tenths) % 10));
}

} // namespace

QByteArray HistoryCsvBytes(const std::vector<HistoryReading>& readings) {
    QByteArray out("\xEF\xBB\xBF");
    out.append(QStringLiteral("Data;Godzina;T1 [°C];T2 [°C]\r\n").toUtf8());
    out.reserve(out.size() + static_cast<qsizetype>(readings.size()) * 32);
    for (const HistoryReading& reading : readings) {
        AppendParts(out, {{{reading.Year, 4}, {reading.Month, 2}, {reading.Day, 2}}}, '-');
        out.append(';');
        AppendParts(out, {{{reading.Hour, 2}, {reading.Minute, 2}, {reading.Second, 2}}}, ':');
        out.append(';');
        AppendTemperature(out, reading.T1.Tenths());
        out.append(';');
        AppendTemperature(out, reading.T2.Tenths());
        out.append("\r\n");
    }
    return out;
}
