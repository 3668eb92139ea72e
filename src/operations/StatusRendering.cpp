#include "operations/StatusRendering.h"

#include "operations/TemperatureReading.h"

namespace {

quint8 ByteAt(const QByteArray& payload, int offset) {
    return static_cast<quint8>(payload[offset]);
}

quint16 WordAt(const QByteArray& payload, int offset) {
    return static_cast<quint16>(ByteAt(payload, offset) | ByteAt(payload, offset + 1) << 8);
}

} // namespace

QString SupplyVoltageText(quint16 raw) {
    const qint64 hundredths = qint64(raw) * 1725 / 1000 + 48;
    return QStringLiteral("+%1,%2V").arg(hundredths / 100).arg(hundredths / 10 % 10);
}

std::optional<StatusTexts> RenderStatus(const QByteArray& payload) {
    if (payload.size() < StatusPayloadSize)
        return std::nullopt;
    const quint16 supply = WordAt(payload, 2);
    StatusTexts texts;
    texts.Temp = TemperatureText(ByteAt(payload, 0), ByteAt(payload, 1));
    texts.Temp2 = TemperatureText(ByteAt(payload, 4), ByteAt(payload, 5));
    texts.Udc = SupplyVoltageText(supply);
    texts.SupplyOk = supply >= SupplyOkThreshold;
    texts.RUwe = QString::number(supply);
    texts.Ruac = QString::number(WordAt(payload, 12));
    texts.Data = QStringLiteral("20%1.%2.%3")
                     .arg(TwoDigits(ByteAt(payload, 6)), TwoDigits(ByteAt(payload, 7)),
                          TwoDigits(ByteAt(payload, 8)));
    texts.czas = QStringLiteral("%1:%2:%3")
                     .arg(TwoDigits(ByteAt(payload, 9)), TwoDigits(ByteAt(payload, 10)),
                          TwoDigits(ByteAt(payload, 11)));
    return texts;
}
