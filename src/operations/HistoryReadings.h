#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// A temperature as a history record holds it: sign, whole degrees (0-127) and the tenths
// byte (0-255, shown as received).
struct HistoryTemperature {
    bool Negative = false;
    int Degrees = 0;
    int TenthsByte = 0;

    // The value in tenths of a degree; a minus zero is 0.
    int Tenths() const;
    bool operator==(const HistoryTemperature&) const = default;
};

// One reading of the history, with its date and time as the recorder wrote them (a record
// may hold a date that does not exist, such as month 0).
struct HistoryReading {
    int Year = 2000; // 2000-2255
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    HistoryTemperature T1;
    HistoryTemperature T2;

    // The moment of the reading as the recorder's clock gave it, in seconds from 1970-01-01
    // 00:00 on that clock (no time zone); nothing when the recorded date or time does not
    // exist. Worked out without the time-zone rules, which would cost more than the reading.
    std::optional<qint64> Seconds() const;
    // The 10 bytes of the record this reading came from.
    QByteArray Record() const;
    bool operator==(const HistoryReading&) const = default;
};

// The reading of one line of the history text, when the line has exactly the form that a
// downloaded record gives: "data: 07:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0".
std::optional<HistoryReading> ParseHistoryLine(QStringView line);

struct ParsedHistory {
    std::vector<HistoryReading> Readings;
    int SkippedLines = 0; // lines of another form (the end line, typed text); empty ones too
};

// The readings of the history text (lines separated by "\n", a "\r" before it ignored), in
// the order of the text. An empty last line counts for nothing.
ParsedHistory ParseHistory(QStringView text);
