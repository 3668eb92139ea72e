#include "RecorderClock.h"

namespace tc8sim {

namespace {

QDateTime AsCalendarValue(const QDateTime& value) {
    return QDateTime(value.date(), value.time(), Qt::UTC);
}

} // namespace

RecorderClock::RecorderClock(const QDateTime& valueAtZero) : base_(AsCalendarValue(valueAtZero)) {
}

QDateTime RecorderClock::Now(SimTime now) const {
    return base_.addMSecs((now - baseAt_).count());
}

void RecorderClock::Set(const QDateTime& value, SimTime now) {
    base_ = AsCalendarValue(value);
    baseAt_ = now;
}

} // namespace tc8sim
