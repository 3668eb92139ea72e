#pragma once

#include "operations/HistoryFigures.h"

#include <optional>
#include <vector>

// Episodes outside the band: when a sensor left it, for how long, how far.

enum class ExcursionSide { Above, Below };

// One run of consecutive readings of one sensor on one side of the band. Indexes point into
// the readings the episodes were taken from.
struct Excursion {
    Sensor Of = Sensor::T1;
    ExcursionSide Side = ExcursionSide::Above;
    size_t First = 0;   // the first reading outside
    size_t Last = 0;    // the last reading outside
    size_t Extreme = 0; // the farthest reading: the highest above, the lowest below (the first)
    int Readings = 0;
    qint64 StartSeconds = 0; // the first reading's time (HistoryReading::Seconds)
    qint64 EndSeconds = 0;   // the last reading's time plus the recording interval
    // The readings outside times the recording interval, as the figures count time outside.
    qint64 DurationSeconds = 0;
};

// A stretch without readings longer than three recording intervals. It ends any episode.
struct ReadingGap {
    size_t Before = 0; // the reading before the gap
    size_t After = 0;  // the reading after it
    qint64 Seconds = 0;
};

struct SensorExcursions {
    std::vector<Excursion> Episodes; // those that count, in time order
    qint64 TotalSeconds = 0;
    std::optional<size_t> Longest; // index into Episodes; the first of equal ones
};

struct HistoryExcursions {
    qint64 IntervalSeconds = 0; // as HistoryFigures finds it
    std::vector<ReadingGap> Gaps;
    SensorExcursions T1;
    SensorExcursions T2;
};

// The episodes of both sensors over the dated readings, in their order. An episode shorter
// than `delayMinutes` does not count (the default 0 counts every reading outside). A reading
// on a limit is inside; a minus zero is zero.
HistoryExcursions ExcursionsOf(const std::vector<HistoryReading>& readings,
                               TemperatureLimits limits, int delayMinutes = 0);

// ΔH/R of the mean kinetic temperature: 83.144 kJ/mol over 8.3144 J/(mol·K).
inline constexpr double MktActivationKelvin = 10000.0;

// The mean kinetic temperature of the sensor over the dated readings, in °C:
// (ΔH/R) / (−ln(Σ exp(−ΔH/(R·Tᵢ)) / n)) with Tᵢ in kelvin. Nothing without readings.
std::optional<double> MeanKineticTemperature(const std::vector<HistoryReading>& readings,
                                             Sensor sensor);
