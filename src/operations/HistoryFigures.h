#pragma once

#include "operations/HistoryReadings.h"

#include <QString>
#include <optional>
#include <vector>

// The allowed band of the configuration, in whole degrees.
struct TemperatureLimits {
    int Min = 0;
    int Max = 0;
};

// The band of the limit bytes as the editor holds them (byte - 128 degrees).
TemperatureLimits LimitsOfBytes(quint8 minByte, quint8 maxByte);

enum class Sensor { T1, T2 };

int TenthsOf(const HistoryReading& reading, Sensor sensor);

// The figures of one sensor over the readings that have a real time. Indexes point into the
// readings the figures were taken from.
struct SensorFigures {
    int Count = 0;
    std::optional<size_t> First;
    std::optional<size_t> Last;
    std::optional<size_t> Lowest;  // the first reading with the lowest value
    std::optional<size_t> Highest; // the first reading with the highest value
    double MeanTenths = 0;
    int ReadingsAbove = 0; // above the band's Max
    int ReadingsBelow = 0; // below the band's Min
    qint64 SecondsAbove = 0;
    qint64 SecondsBelow = 0;
};

struct HistoryFigures {
    // The recording interval: the most common step between consecutive readings, in seconds
    // (0 with fewer than two readings). Each reading outside the band counts for one.
    qint64 IntervalSeconds = 0;
    int UndatedReadings = 0; // readings whose recorded date or time does not exist
    SensorFigures T1;
    SensorFigures T2;
};

HistoryFigures FiguresOf(const std::vector<HistoryReading>& readings, TemperatureLimits limits);

// The recording interval of the readings: the most common step between consecutive dated
// readings, in seconds; the shorter on a tie; 0 with fewer than two.
qint64 IntervalOf(const std::vector<HistoryReading>& readings);

// Texts of the figures: "21,5 °C", "07.12.2026 01:30:05", "2 h 05 min".
QString DegreesText(int tenths);
QString ReadingTimeText(const HistoryReading& reading);
QString DurationText(qint64 seconds);
// A value with its reading's time: "12,5 °C (07.12.2026 01:20:00)".
QString ValueAtTimeText(int tenths, const HistoryReading& reading);
// Time outside the band with its readings: "20 min (2 odcz.)"; "nieznany" without an interval.
QString TimeOutsideText(qint64 seconds, int readings, qint64 interval);
