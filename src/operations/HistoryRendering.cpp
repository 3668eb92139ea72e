#include "operations/HistoryRendering.h"

#include "operations/TemperatureReading.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>

namespace {

// The line is written into a buffer of plain characters: a year of readings merged from the
// archive is half a million lines, and composing each through QString::arg cost more than
// everything else of opening it.
class LineWriter {
public:
    LineWriter& Text(std::string_view text) {
        end_ = std::copy(text.begin(), text.end(), end_);
        return *this;
    }
    // `number` in decimal, with leading zeros up to `width` digits.
    LineWriter& Number(unsigned number, int width = 1) {
        char digits[12];
        const char* last = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
        for (auto length = last - digits; length < width; ++length)
            *end_++ = '0';
        end_ = std::copy(static_cast<const char*>(digits), last, end_);
        return *this;
    }
    // As TemperatureText says it.
    LineWriter& Temperature(quint8 degreesAndSign, quint8 tenths) {
        *end_++ = (degreesAndSign & 0x80) ? '-' : '+';
        return Number(degreesAndSign & 0x7F).Text(".").Number(tenths);
    }
    QString Line() const { return QString::fromLatin1(buffer_, end_ - buffer_); }

private:
    char buffer_[96]; // the longest line, every field at its widest, is 67 characters
    char* end_ = buffer_;
};

} // namespace

std::optional<QString> HistoryLine(const QByteArray& record) {
    if (record.size() < HistoryRecordSize)
        return std::nullopt;
    const auto byte = [&record](int offset) { return static_cast<quint8>(record[offset]); };
    LineWriter line;
    line.Text("data: ").Number(byte(2), 2).Text(":").Number(byte(1), 2).Text(":");
    line.Number(2000 + byte(0)).Text("   czas: ").Number(byte(3), 2).Text(":");
    line.Number(byte(4), 2).Text(":").Number(byte(5), 2).Text("   T1: ");
    line.Temperature(byte(6), byte(7)).Text("  T2: ").Temperature(byte(8), byte(9));
    return line.Line();
}

std::optional<int> HistoryGaugeMaximum(const QByteArray& payload) {
    if (payload.size() < 2)
        return std::nullopt;
    const int length = (static_cast<quint8>(payload[0]) | static_cast<quint8>(payload[1]) << 8);
    return std::min(length & 0x7FFF, HistoryGaugeLimit);
}
