#pragma once

#include "operations/HistoryRendering.h"

#include <QByteArray>
#include <QString>
#include <array>

// A history line as a download shows it, for the reading taken `minutes` after midnight of
// 1 January 2026 (28-day months, enough for a year of readings a minute apart); `readings`
// are the record's four temperature bytes (T1 whole and tenth, T2 whole and tenth).
inline QString MinuteHistoryLine(int minutes, const std::array<int, 4>& readings) {
    const char record[HistoryRecordSize] = {static_cast<char>(26),
                                            static_cast<char>(1 + minutes / (60 * 24 * 28) % 12),
                                            static_cast<char>(1 + minutes / (60 * 24) % 28),
                                            static_cast<char>(minutes / 60 % 24),
                                            static_cast<char>(minutes % 60),
                                            0,
                                            static_cast<char>(readings[0]),
                                            static_cast<char>(readings[1]),
                                            static_cast<char>(readings[2]),
                                            static_cast<char>(readings[3])};
    return *HistoryLine(QByteArray(record, HistoryRecordSize));
}
