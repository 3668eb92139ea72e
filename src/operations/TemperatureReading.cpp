#include "operations/TemperatureReading.h"

QString TemperatureText(quint8 degreesAndSign, quint8 tenths) {
    const QChar sign = (degreesAndSign & 0x80) ? u'-' : u'+';
    return QStringLiteral("%1%2.%3").arg(sign).arg(degreesAndSign & 0x7F).arg(tenths);
}

QString TwoDigits(int number) {
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}
