// Episodes outside the band and the mean kinetic temperature on small worked series: one
// reading a minute, the band +2 … +8 °C unless a case says otherwise.
#include "operations/HistoryExcursions.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr TemperatureLimits Band{2, 8};

HistoryTemperature Temperature(int tenths, bool negative = false) {
    return {negative || tenths < 0, std::abs(tenths) / 10, std::abs(tenths) % 10};
}

// T1 as given, a reading a minute from 01:00; T2 inside.
std::vector<HistoryReading> Minutes(const std::vector<int>& t1Tenths, int firstMinute = 0) {
    std::vector<HistoryReading> readings;
    for (size_t i = 0; i < t1Tenths.size(); ++i) {
        HistoryReading reading;
        reading.Year = 2026;
        reading.Month = 12;
        reading.Day = 7;
        reading.Hour = 1 + static_cast<int>(firstMinute + i) / 60;
        reading.Minute = static_cast<int>(firstMinute + i) % 60;
        reading.T1 = Temperature(t1Tenths[i]);
        reading.T2 = Temperature(50);
        readings.push_back(reading);
    }
    return readings;
}

TEST(Excursions, ReadingsInsideTheBandOrOnItsLimitsGiveNone) {
    const HistoryExcursions none = ExcursionsOf(Minutes({20, 50, 80, 79, 21}), Band);
    EXPECT_TRUE(none.T1.Episodes.empty());
    EXPECT_TRUE(none.T2.Episodes.empty());
    EXPECT_EQ(none.T1.TotalSeconds, 0);
    EXPECT_FALSE(none.T1.Longest);
}

TEST(Excursions, OneEpisodeHasItsStartEndDurationAndFarthestReading) {
    const std::vector<HistoryReading> readings = Minutes({50, 81, 95, 92, 95, 70});
    const HistoryExcursions found = ExcursionsOf(readings, Band);
    EXPECT_EQ(found.IntervalSeconds, 60);
    ASSERT_EQ(found.T1.Episodes.size(), 1u);
    const Excursion& e = found.T1.Episodes.front();
    EXPECT_EQ(e.Side, ExcursionSide::Above);
    EXPECT_EQ(e.First, 1u);
    EXPECT_EQ(e.Last, 4u);
    EXPECT_EQ(e.Extreme, 2u); // the first of the two highest
    EXPECT_EQ(e.Readings, 4);
    EXPECT_EQ(e.StartSeconds, *readings[1].Seconds());
    EXPECT_EQ(e.EndSeconds, *readings[4].Seconds() + 60);
    EXPECT_EQ(e.DurationSeconds, 4 * 60); // as the figures count time above
    EXPECT_EQ(e.DurationSeconds, FiguresOf(readings, Band).T1.SecondsAbove);
    EXPECT_EQ(found.T1.TotalSeconds, 240);
    EXPECT_EQ(found.T1.Longest, 0u);
}

TEST(Excursions, AnEpisodeShorterThanTheDelayDoesNotCount) {
    // Two minutes below, then three above, parted by a reading inside.
    const std::vector<HistoryReading> readings = Minutes({10, 15, 50, 90, 90, 90});
    EXPECT_EQ(ExcursionsOf(readings, Band, 2).T1.Episodes.size(), 2u); // two minutes count
    const HistoryExcursions delayed = ExcursionsOf(readings, Band, 3);
    ASSERT_EQ(delayed.T1.Episodes.size(), 1u);
    EXPECT_EQ(delayed.T1.Episodes.front().Side, ExcursionSide::Above);
    EXPECT_EQ(delayed.T1.TotalSeconds, 180);
}

TEST(Excursions, AReadingOnTheOtherSideStartsAnotherEpisode) {
    // Straight from above to below, with nothing inside between them.
    const HistoryExcursions found = ExcursionsOf(Minutes({90, 10, 15, 12}), Band);
    ASSERT_EQ(found.T1.Episodes.size(), 2u);
    EXPECT_EQ(found.T1.Episodes[0].Side, ExcursionSide::Above);
    EXPECT_EQ(found.T1.Episodes[1].Side, ExcursionSide::Below);
    EXPECT_EQ(found.T1.Episodes[1].Extreme, 1u);
    EXPECT_EQ(found.T1.TotalSeconds, 4 * 60);
    EXPECT_EQ(found.T1.Longest, 1u);
}

TEST(Excursions, AGapLongerThanThreeIntervalsEndsAnEpisodeAndIsListed) {
    std::vector<HistoryReading> readings = Minutes({50, 90, 90, 90});
    const std::vector<HistoryReading> later = Minutes({90, 90, 50}, 10); // 01:10 onwards
    readings.insert(readings.end(), later.begin(), later.end());
    const HistoryExcursions found = ExcursionsOf(readings, Band);
    ASSERT_EQ(found.Gaps.size(), 1u);
    EXPECT_EQ(found.Gaps.front().Before, 3u);
    EXPECT_EQ(found.Gaps.front().After, 4u);
    EXPECT_EQ(found.Gaps.front().Seconds, 7 * 60);
    ASSERT_EQ(found.T1.Episodes.size(), 2u);
    EXPECT_EQ(found.T1.Episodes[0].Last, 3u);
    EXPECT_EQ(found.T1.Episodes[1].First, 4u);
    // Three intervals are no gap.
    std::vector<HistoryReading> near = Minutes({90, 90, 90, 90, 90}); // 01:00 … 01:04
    const std::vector<HistoryReading> after = Minutes({90}, 7);       // 01:07
    near.insert(near.end(), after.begin(), after.end());
    const HistoryExcursions joined = ExcursionsOf(near, Band);
    EXPECT_TRUE(joined.Gaps.empty());
    EXPECT_EQ(joined.T1.Episodes.size(), 1u);
}

TEST(Excursions, AMinusZeroOnALowerLimitOfZeroIsInside) {
    std::vector<HistoryReading> readings = Minutes({50, 50, 50});
    readings[1].T1 = Temperature(0, true); // "-0.0"
    EXPECT_TRUE(ExcursionsOf(readings, {0, 8}).T1.Episodes.empty());
    readings[1].T1 = Temperature(1, true); // "-0.1"
    EXPECT_EQ(ExcursionsOf(readings, {0, 8}).T1.Episodes.size(), 1u);
}

TEST(MeanKineticTemperature, IsTheTemperatureOfAConstantSeriesAndWeighsHeat) {
    EXPECT_NEAR(*MeanKineticTemperature(Minutes({55, 55, 55}), Sensor::T1), 5.5, 1e-9);
    // Half the time at 0 °C, half at 20 °C, by hand:
    // 10000 / -ln((e^(-10000/273.15) + e^(-10000/293.15)) / 2) - 273.15 = 14.8161 °C, well
    // above the plain mean of 10 °C: warm hours weigh more.
    const double expected =
        10000.0 / -std::log((std::exp(-10000.0 / 273.15) + std::exp(-10000.0 / 293.15)) / 2) -
        273.15;
    EXPECT_NEAR(expected, 14.8161, 1e-3);
    EXPECT_NEAR(*MeanKineticTemperature(Minutes({0, 200}), Sensor::T1), expected, 1e-9);
    EXPECT_FALSE(MeanKineticTemperature({}, Sensor::T1));
}

} // namespace
