// The history text read back into readings, the figures of a small worked series, the CSV
// bytes, the saved file read back, and the points of a long series that a chart draws.
#include "operations/ChartPoints.h"
#include "operations/HistoryCsv.h"
#include "operations/HistoryFigures.h"
#include "operations/HistoryFile.h"
#include "operations/HistoryReadings.h"
#include "operations/HistoryRendering.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

const QString Example = QStringLiteral("data: 07:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0");

HistoryReading At(int hour, int minute, int t1Tenths, int t2Tenths = 0) {
    HistoryReading reading;
    reading.Year = 2026;
    reading.Month = 12;
    reading.Day = 7;
    reading.Hour = hour;
    reading.Minute = minute;
    const auto temperature = [](int tenths) {
        return HistoryTemperature{tenths < 0, std::abs(tenths) / 10, std::abs(tenths) % 10};
    };
    reading.T1 = temperature(t1Tenths);
    reading.T2 = temperature(t2Tenths);
    return reading;
}

TEST(HistoryReadings, TheWorkedExampleAndTheEdgesOfTheLineForm) {
    const auto example = ParseHistoryLine(Example);
    ASSERT_TRUE(example);
    EXPECT_EQ(example->Record(), QByteArray("\x1A\x0C\x07\x01\x1E\x05\x15\x05\x83\x00", 10));
    EXPECT_EQ(example->Seconds(),
              QDateTime(QDate(2026, 12, 7), QTime(1, 30, 5), Qt::UTC).toSecsSinceEpoch());
    EXPECT_EQ(example->T1.Tenths(), 215);
    EXPECT_EQ(example->T2.Tenths(), -30);

    const auto edges =
        ParseHistoryLine(u"data: 123:01:2255   czas: 09:00:59   T1: -0.0  T2: -127.9");
    ASSERT_TRUE(edges);
    EXPECT_EQ(edges->Year, 2255);
    EXPECT_EQ(edges->T1.Tenths(), 0);
    EXPECT_TRUE(edges->T1.Negative);
    EXPECT_EQ(edges->T2.Tenths(), -1279);
    EXPECT_FALSE(edges->Seconds()); // day 123
}

TEST(HistoryReadings, LinesOfAnyOtherFormAreSkippedAndCounted) {
    const QString text = Example + u'\n' +
                         QStringLiteral("data: 7:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0\n"
                                        "data: 07:12:2026  czas: 01:30:05   T1: +21.5  T2: -3.0\n"
                                        "data: 07:12:2026   czas: 01:30:05   T1: 21.5  T2: -3.0\n"
                                        "data: 07:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0 \n"
                                        "data: 07:12:1999   czas: 01:30:05   T1: +21.5  T2: -3.0\n"
                                        "data: 07:12:2026   czas: 01:30:05   T1: +128.0  T2: -3.0\n"
                                        "data: 07:12:2026   czas: 01:30:05   T1: +021.5  T2: -3.0\n"
                                        "data: 07:12:2026   czas: 01:30:05   T1: +21.05  T2: -3.0\n"
                                        "data: 010:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0\n"
                                        "data: 256:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0\n"
                                        "\n"
                                        "notatka serwisanta\r\n") +
                         Example + QStringLiteral("\r\nKoniec historii\n");
    const ParsedHistory parsed = ParseHistory(text);
    EXPECT_EQ(parsed.Readings.size(), 2u);
    EXPECT_EQ(parsed.SkippedLines, 13);
}

TEST(HistoryReadings, EveryRecordRendersToALineThatParsesBackToIt) {
    const quint8 edges[] = {0, 1, 9, 10, 99, 100, 127, 128, 129, 254, 255};
    for (int position = 0; position < HistoryRecordSize; ++position) {
        for (const quint8 value : edges) {
            QByteArray record("\x1A\x0C\x07\x01\x1E\x05\x15\x05\x83\x00", 10);
            record[position] = static_cast<char>(value);
            const auto reading = ParseHistoryLine(*HistoryLine(record));
            ASSERT_TRUE(reading) << position << " " << int(value);
            EXPECT_EQ(reading->Record(), record) << position << " " << int(value);
        }
    }
}

TEST(HistoryFigures, AWorkedSeriesAgainstTheBand) {
    // Every 10 minutes; T1 leaves the band 0..+8 twice above and once below.
    const std::vector<HistoryReading> readings = {At(1, 0, 50),  At(1, 10, 81), At(1, 20, 95),
                                                  At(1, 30, 40), At(1, 40, -5), At(1, 50, 80)};
    const HistoryFigures figures = FiguresOf(readings, LimitsOfBytes(128, 136));
    EXPECT_EQ(figures.IntervalSeconds, 600);
    const SensorFigures& t1 = figures.T1;
    EXPECT_EQ(t1.Count, 6);
    EXPECT_EQ(t1.First, 0u);
    EXPECT_EQ(t1.Last, 5u);
    EXPECT_EQ(t1.Lowest, 4u);
    EXPECT_EQ(t1.Highest, 2u);
    EXPECT_DOUBLE_EQ(t1.MeanTenths, 341.0 / 6);
    EXPECT_EQ(t1.SecondsAbove, 1200); // 8,0 itself is inside the band
    EXPECT_EQ(t1.SecondsBelow, 600);
    EXPECT_EQ(figures.T2.SecondsAbove + figures.T2.SecondsBelow, 0);
    EXPECT_EQ(DegreesText(-5), QStringLiteral("-0,5 °C"));
    EXPECT_EQ(ReadingTimeText(readings[4]), QStringLiteral("07.12.2026 01:40:00"));
    EXPECT_EQ(DurationText(2 * 3600 + 5 * 60), QStringLiteral("2 h 05 min"));
}

TEST(HistoryCsv, TheBytesOfASmallSeries) {
    std::vector<HistoryReading> readings = {*ParseHistoryLine(Example), At(13, 5, 0, -1279)};
    readings[1].T1.Negative = true; // -0.0
    EXPECT_EQ(HistoryCsvBytes(readings), QByteArray("\xEF\xBB\xBF"
                                                    "Data;Godzina;T1 [\xC2\xB0"
                                                    "C];T2 [\xC2\xB0"
                                                    "C]\r\n"
                                                    "2026-12-07;01:30:05;21,5;-3,0\r\n"
                                                    "2026-12-07;13:05:00;0,0;-127,9\r\n"));
}

TEST(HistoryFile, ASavedFileReadsBackToTheTextItWasSavedFrom) {
    const QString text = Example + QStringLiteral("\nŁódź\nKoniec historii");
    EXPECT_EQ(HistoryTextOfFile(HistoryFileBytes(text, HistoryTextEnd::LineOfDownload)), text);
}

TEST(ChartPoints, EachColumnKeepsItsExtremesAndTheLineRunsOnToTheEdges) {
    QList<QPointF> points;
    for (int x = -5; x < 105; ++x)
        points.append({double(x), double(x % 7)});
    // Two columns of 50: x 0..49 and 50..100.
    const QList<QPointF> drawn = PointsToDraw(points, 0, 100, 2);
    EXPECT_EQ(drawn, (QList<QPointF>{{-1, -1}, {0, 0}, {6, 6}, {55, 6}, {56, 0}, {101, 3}}));
    // Few points: all of those in range, in their order.
    EXPECT_EQ(PointsToDraw(points, 10, 12, 2).size(), 5);
}

} // namespace
