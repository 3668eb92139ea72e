#pragma once

#include "SimTime.h"

#include <QByteArray>
#include <QDateTime>
#include <vector>

namespace tc8sim {

class SensorSimulator;

// The recorder's stored temperature records, oldest first. A record is ten bytes: date and
// time (six bytes), then temperature 1 and temperature 2 (two bytes each).
class HistoryLog {
public:
    static constexpr int RecordSize = 10;

    // Replaces the records by `count` records taken every `intervalMinutes`, the last one at
    // `lastRecord` (model time `now`), with the temperatures the sensors had then.
    void Fill(int count, const QDateTime& lastRecord, int intervalMinutes, SimTime now,
              const SensorSimulator& sensors);
    void Clear() { records_.clear(); }

    const std::vector<QByteArray>& Records() const { return records_; }
    // The payload of the answer to the download start: 16 per record, low byte first,
    // limited to 32752 (the most the configurator's progress gauge takes).
    QByteArray LengthPayload() const;

private:
    std::vector<QByteArray> records_;
};

} // namespace tc8sim
