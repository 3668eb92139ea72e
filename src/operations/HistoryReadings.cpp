#include "operations/HistoryReadings.h"

#include "operations/HistoryRendering.h"

#include <QDate>
#include <QTime>

namespace {

// A decimal number of 1 to maxDigits digits, without a sign or a leading zero (a lone "0"
// is the number 0); -1 for anything else.
int Number(QStringView digits, int maxDigits) {
    if (digits.isEmpty() || digits.size() > maxDigits || (digits.size() > 1 && digits[0] == u'0'))
        return -1;
    int value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// A byte of the date or time: below 10 with a "0" in front ("07"), else in full ("12",
// "123"); -1 for anything else.
int DateByte(QStringView digits) {
    if (digits.size() == 2 && digits[0] == u'0')
        return digits[1] >= u'0' && digits[1] <= u'9' ? digits[1].unicode() - u'0' : -1;
    const int value = Number(digits, 3);
    return value >= 10 && value <= 255 ? value : -1;
}

// Takes the text up to the next occurrence of separator off the front of rest; nothing when
// the separator does not follow.
std::optional<QStringView> TakeUntil(QStringView& rest, QStringView separator) {
    const qsizetype at = rest.indexOf(separator);
    if (at < 0)
        return std::nullopt;
    const QStringView taken = rest.first(at);
    rest = rest.sliced(at + separator.size());
    return taken;
}

char TemperatureByte(const HistoryTemperature& temperature) {
    return static_cast<char>((temperature.Negative ? 0x80 : 0) | temperature.Degrees);
}

// "+21.5", "-0.0", "+127.255": sign, whole degrees, ".", the tenths byte.
std::optional<HistoryTemperature> ParseTemperature(QStringView text) {
    if (text.size() < 4 || (text[0] != u'+' && text[0] != u'-'))
        return std::nullopt;
    const qsizetype point = text.indexOf(u'.');
    if (point < 0)
        return std::nullopt;
    HistoryTemperature temperature;
    temperature.Negative = text[0] == u'-';
    temperature.Degrees = Number(text.sliced(1, point - 1), 3);
    temperature.TenthsByte = Number(text.sliced(point + 1), 3);
    if (temperature.Degrees < 0 || temperature.Degrees > 127 || temperature.TenthsByte < 0 ||
        temperature.TenthsByte > 255)
        return std::nullopt;
    return temperature;
}

} // namespace

std::optional<HistoryReading> ParseHistoryLine(QStringView line) {
    QStringView rest = line;
    if (!rest.startsWith(u"data: "))
        return std::nullopt;
    rest = rest.sliced(6);
    const auto day = TakeUntil(rest, u":");
    const auto month = TakeUntil(rest, u":");
    const auto year = TakeUntil(rest, u"   czas: ");
    const auto hour = TakeUntil(rest, u":");
    const auto minute = TakeUntil(rest, u":");
    const auto second = TakeUntil(rest, u"   T1: ");
    const auto t1 = TakeUntil(rest, u"  T2: ");
    if (!day || !month || !year || !hour || !minute || !second || !t1)
        return std::nullopt;
    HistoryReading reading;
    reading.Day = DateByte(*day);
    reading.Month = DateByte(*month);
    reading.Year = Number(*year, 4);
    reading.Hour = DateByte(*hour);
    reading.Minute = DateByte(*minute);
    reading.Second = DateByte(*second);
    for (const int byte :
         {reading.Day, reading.Month, reading.Hour, reading.Minute, reading.Second})
        if (byte < 0)
            return std::nullopt;
    if (reading.Year < 2000 || reading.Year > 2255)
        return std::nullopt;
    const auto temperature1 = ParseTemperature(*t1);
    const auto temperature2 = ParseTemperature(rest);
    if (!temperature1 || !temperature2)
        return std::nullopt;
    reading.T1 = *temperature1;
    reading.T2 = *temperature2;
    return reading;
}

int HistoryTemperature::Tenths() const {
    const int tenths = Degrees * 10 + TenthsByte;
    return Negative ? -tenths : tenths;
}

std::optional<qint64> HistoryReading::Seconds() const {
    if (!QDate::isValid(Year, Month, Day) || !QTime::isValid(Hour, Minute, Second))
        return std::nullopt;
    static const qint64 epochDay = QDate(1970, 1, 1).toJulianDay();
    const qint64 day = QDate(Year, Month, Day).toJulianDay() - epochDay;
    return day * 86400 + Hour * 3600 + Minute * 60 + Second;
}

QByteArray HistoryReading::Record() const {
    const char bytes[HistoryRecordSize] = {static_cast<char>(Year - 2000),
                                           static_cast<char>(Month),
                                           static_cast<char>(Day),
                                           static_cast<char>(Hour),
                                           static_cast<char>(Minute),
                                           static_cast<char>(Second),
                                           TemperatureByte(T1),
                                           static_cast<char>(T1.TenthsByte),
                                           TemperatureByte(T2),
                                           static_cast<char>(T2.TenthsByte)};
    return QByteArray(bytes, HistoryRecordSize);
}

ParsedHistory ParseHistory(QStringView text) {
    ParsedHistory parsed;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        QStringView line = text.sliced(start, end - start);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (const std::optional<HistoryReading> reading = ParseHistoryLine(line))
            parsed.Readings.push_back(*reading);
        else
            ++parsed.SkippedLines;
        start = end + 1;
    }
    return parsed;
}
