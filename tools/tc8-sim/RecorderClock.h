#pragma once

#include "SimTime.h"

#include <QDateTime>

namespace tc8sim {

// The recorder's real-time clock: it runs on from the last time it was set. Date and time
// are plain calendar values without a time zone (held as UTC so that no daylight-saving
// rule ever shifts them).
class RecorderClock {
public:
    explicit RecorderClock(const QDateTime& valueAtZero);

    QDateTime Now(SimTime now) const;
    void Set(const QDateTime& value, SimTime now);

private:
    QDateTime base_;
    SimTime baseAt_{0};
};

} // namespace tc8sim
