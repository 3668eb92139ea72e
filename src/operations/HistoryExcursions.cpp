#include "operations/HistoryExcursions.h"

#include <cmath>

namespace {

constexpr int GapIntervals = 3;
constexpr double ZeroCelsiusKelvin = 273.15;

std::optional<ExcursionSide> SideOf(int tenths, TemperatureLimits limits) {
    if (tenths > limits.Max * 10)
        return ExcursionSide::Above;
    if (tenths < limits.Min * 10)
        return ExcursionSide::Below;
    return std::nullopt;
}

// Follows one sensor along the readings, closing an episode at a reading inside, at the
// other side and at a gap.
class EpisodeFinder {
public:
    EpisodeFinder(const std::vector<HistoryReading>& readings, Sensor sensor, qint64 interval,
                  qint64 delaySeconds)
        : readings_(readings), sensor_(sensor), interval_(interval), delay_(delaySeconds) {}

    void Reading(size_t index, qint64 seconds, TemperatureLimits limits) {
        const int tenths = TenthsOf(readings_[index], sensor_);
        const std::optional<ExcursionSide> side = SideOf(tenths, limits);
        if (open_ && (!side || *side != open_->Side))
            Close();
        if (!side)
            return;
        if (!open_) {
            open_ = Excursion{};
            open_->Of = sensor_;
            open_->Side = *side;
            open_->First = index;
            open_->Extreme = index;
            open_->StartSeconds = seconds;
        }
        const int extreme = TenthsOf(readings_[open_->Extreme], sensor_);
        if (*side == ExcursionSide::Above ? tenths > extreme : tenths < extreme)
            open_->Extreme = index;
        open_->Last = index;
        open_->EndSeconds = seconds + interval_;
        ++open_->Readings;
    }

    void Close() {
        if (!open_)
            return;
        open_->DurationSeconds = open_->Readings * interval_;
        if (open_->DurationSeconds >= delay_) {
            result_.TotalSeconds += open_->DurationSeconds;
            if (!result_.Longest ||
                open_->DurationSeconds > result_.Episodes[*result_.Longest].DurationSeconds)
                result_.Longest = result_.Episodes.size();
            result_.Episodes.push_back(*open_);
        }
        open_.reset();
    }

    SensorExcursions Result() {
        Close();
        return result_;
    }

private:
    const std::vector<HistoryReading>& readings_;
    const Sensor sensor_;
    const qint64 interval_;
    const qint64 delay_;
    std::optional<Excursion> open_;
    SensorExcursions result_;
};

} // namespace

HistoryExcursions ExcursionsOf(const std::vector<HistoryReading>& readings,
                               TemperatureLimits limits, int delayMinutes) {
    HistoryExcursions excursions;
    excursions.IntervalSeconds = IntervalOf(readings);
    const qint64 interval = excursions.IntervalSeconds;
    const qint64 delay = static_cast<qint64>(delayMinutes) * 60;
    EpisodeFinder t1(readings, Sensor::T1, interval, delay);
    EpisodeFinder t2(readings, Sensor::T2, interval, delay);
    std::optional<std::pair<size_t, qint64>> previous;
    for (size_t i = 0; i < readings.size(); ++i) {
        const std::optional<qint64> seconds = readings[i].Seconds();
        if (!seconds)
            continue;
        if (previous && interval > 0 && *seconds - previous->second > GapIntervals * interval) {
            excursions.Gaps.push_back({previous->first, i, *seconds - previous->second});
            t1.Close();
            t2.Close();
        }
        t1.Reading(i, *seconds, limits);
        t2.Reading(i, *seconds, limits);
        previous = std::pair{i, *seconds};
    }
    excursions.T1 = t1.Result();
    excursions.T2 = t2.Result();
    return excursions;
}

std::optional<double> MeanKineticTemperature(const std::vector<HistoryReading>& readings,
                                             Sensor sensor) {
    double sum = 0;
    int count = 0;
    for (const HistoryReading& reading : readings) {
        if (!reading.Seconds())
            continue;
        const double kelvin = TenthsOf(reading, sensor) / 10.0 + ZeroCelsiusKelvin;
        sum += std::exp(-MktActivationKelvin / kelvin);
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    return MktActivationKelvin / -std::log(sum / count) - ZeroCelsiusKelvin;
}
