#pragma once

#include "operations/HistoryReadings.h"

#include <QByteArray>
#include <vector>

// The readings as a table that a spreadsheet with Polish settings opens in columns: UTF-8
// with a byte-order mark, semicolons, CR LF, the header "Data;Godzina;T1 [°C];T2 [°C]",
// then per reading "2026-12-07;01:30:05;21,5;-3,0" (the date and time as recorded, the
// temperatures with a decimal comma, no plus sign, a minus zero as 0,0).
QByteArray HistoryCsvBytes(const std::vector<HistoryReading>& readings);
