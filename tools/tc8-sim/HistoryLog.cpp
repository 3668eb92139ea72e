#include "HistoryLog.h"

#include "SensorSimulator.h"
#include "WireFormat.h"

#include <algorithm>
#include <chrono>

namespace tc8sim {

void HistoryLog::Fill(int count, const QDateTime& lastRecord, int intervalMinutes, SimTime now,
                      const SensorSimulator& sensors) {
    records_.clear();
    records_.reserve(std::max(count, 0));
    for (int i = 0; i < count; ++i) {
        const int minutesBack = (count - 1 - i) * intervalMinutes;
        const SimTime at = now - std::chrono::minutes(minutesBack);
        QByteArray record = WireFormat::DateTime(lastRecord.addSecs(-60LL * minutesBack));
        record.append(WireFormat::Temperature(sensors.Temperature1(at)));
        record.append(WireFormat::Temperature(sensors.Temperature2(at)));
        records_.push_back(record);
    }
}

QByteArray HistoryLog::LengthPayload() const {
    const long long announced = 16LL * static_cast<long long>(records_.size());
    return WireFormat::LittleEndian16(static_cast<int>(std::min<long long>(announced, 0x7FF0)));
}

} // namespace tc8sim
