#include "config/Encodings.h"

QString LimitText(quint8 byte) {
    if (byte >= 128)
        return QStringLiteral("+%1").arg(byte - 128);
    return QStringLiteral("-%1").arg(128 - byte);
}

QString CorrectionText(quint8 byte) {
    const int tenths = byte & 0x7F;
    const QChar sign = byte <= 128 ? u'+' : u'-';
    return QStringLiteral("%1%2,%3").arg(sign).arg(tenths / 10).arg(tenths % 10);
}
