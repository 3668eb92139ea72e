#include "operations/ClockPayload.h"

QByteArray ClockPayload(const QDateTime& localTime) {
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    QByteArray payload;
    for (const int value :
         {date.year() % 100, date.month(), date.day(), time.hour(), time.minute(), time.second()})
        payload.append(static_cast<char>(value));
    return payload;
}
