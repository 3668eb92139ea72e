#include "operations/HistoryFigures.h"

#include "operations/TemperatureReading.h"

#include <algorithm>
#include <map>

namespace {

// Steps of zero or backwards (a clock set back) are no interval.
qint64 CommonStep(const std::vector<HistoryReading>& readings) {
    std::map<qint64, int> steps;
    std::optional<qint64> previous;
    for (const HistoryReading& reading : readings) {
        const std::optional<qint64> time = reading.Seconds();
        if (!time)
            continue;
        if (previous && *time > *previous)
            ++steps[*time - *previous];
        previous = time;
    }
    qint64 common = 0;
    int often = 0;
    for (const auto& [step, count] : steps)
        if (count > often)
            common = step, often = count;
    return common;
}

SensorFigures FiguresOfSensor(const std::vector<HistoryReading>& readings, Sensor sensor,
                              TemperatureLimits limits, qint64 interval) {
    SensorFigures figures;
    double sum = 0;
    for (size_t i = 0; i < readings.size(); ++i) {
        if (!readings[i].Seconds())
            continue;
        const int tenths = TenthsOf(readings[i], sensor);
        ++figures.Count;
        sum += tenths;
        if (!figures.First)
            figures.First = i;
        figures.Last = i;
        if (!figures.Lowest || tenths < TenthsOf(readings[*figures.Lowest], sensor))
            figures.Lowest = i;
        if (!figures.Highest || tenths > TenthsOf(readings[*figures.Highest], sensor))
            figures.Highest = i;
        if (tenths > limits.Max * 10)
            ++figures.ReadingsAbove;
        if (tenths < limits.Min * 10)
            ++figures.ReadingsBelow;
    }
    if (figures.Count > 0)
        figures.MeanTenths = sum / figures.Count;
    figures.SecondsAbove = figures.ReadingsAbove * interval;
    figures.SecondsBelow = figures.ReadingsBelow * interval;
    return figures;
}

} // namespace

TemperatureLimits LimitsOfBytes(quint8 minByte, quint8 maxByte) {
    return {minByte - 128, maxByte - 128};
}

int TenthsOf(const HistoryReading& reading, Sensor sensor) {
    return (sensor == Sensor::T1 ? reading.T1 : reading.T2).Tenths();
}

qint64 IntervalOf(const std::vector<HistoryReading>& readings) {
    return CommonStep(readings);
}

HistoryFigures FiguresOf(const std::vector<HistoryReading>& readings, TemperatureLimits limits) {
    HistoryFigures figures;
    figures.IntervalSeconds = CommonStep(readings);
    figures.UndatedReadings = static_cast<int>(std::count_if(
        readings.begin(), readings.end(), [](const auto& r) { return !r.Seconds(); }));
    figures.T1 = FiguresOfSensor(readings, Sensor::T1, limits, figures.IntervalSeconds);
    figures.T2 = FiguresOfSensor(readings, Sensor::T2, limits, figures.IntervalSeconds);
    return figures;
}

QString DegreesText(int tenths) {
    const QString sign = tenths < 0 ? QStringLiteral("-") : QString();
    const int magnitude = std::abs(tenths);
    return QStringLiteral("%1%2,%3 °C").arg(sign).arg(magnitude / 10).arg(magnitude % 10);
}

QString ReadingTimeText(const HistoryReading& reading) {
    return QStringLiteral("%1.%2.%3 %4:%5:%6")
        .arg(TwoDigits(reading.Day), TwoDigits(reading.Month), QString::number(reading.Year),
             TwoDigits(reading.Hour), TwoDigits(reading.Minute), TwoDigits(reading.Second));
}

QString DurationText(qint64 seconds) {
    const qint64 minutes = (seconds + 30) / 60;
    const qint64 days = minutes / (24 * 60);
    const qint64 hours = minutes / 60 % 24;
    const QString rest = QStringLiteral("%1 min").arg(minutes % 60, 2, 10, QLatin1Char('0'));
    if (days > 0)
        return QStringLiteral("%1 d %2 h %3").arg(days).arg(hours).arg(rest);
    if (hours > 0)
        return QStringLiteral("%1 h %2").arg(hours).arg(rest);
    return QStringLiteral("%1 min").arg(minutes);
}

QString ValueAtTimeText(int tenths, const HistoryReading& reading) {
    return QStringLiteral("%1 (%2)").arg(DegreesText(tenths), ReadingTimeText(reading));
}

QString TimeOutsideText(qint64 seconds, int readings, qint64 interval) {
    const QString time = interval > 0 ? DurationText(seconds) : QStringLiteral("nieznany");
    return QStringLiteral("%1 (%2 odcz.)").arg(time).arg(readings);
}
