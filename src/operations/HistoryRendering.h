#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

inline constexpr int HistoryRecordSize = 10;
// Every record moves the history gauge by this much.
inline constexpr int HistoryGaugeStep = 16;
inline constexpr int HistoryGaugeLimit = 32752;

// The text line of a 10-byte history record (year, month, day, hour, minute, second, then
// two temperatures):
// "data: 07:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0".
// Nothing for a record shorter than 10 bytes.
std::optional<QString> HistoryLine(const QByteArray& record);

// The gauge maximum from the answer to the history start: the 16-bit number without its
// flag bit 15, at most 32752. Nothing for an answer shorter than 2 bytes.
std::optional<int> HistoryGaugeMaximum(const QByteArray& payload);
