#include "config/WholeNumber.h"

#include "core/Errors.h"

#include <limits>

std::optional<qint32> ParseWholeNumber(const QString& text) {
    qsizetype position = 0;
    bool negative = false;
    if (!text.isEmpty() && (text[0] == u'+' || text[0] == u'-')) {
        negative = text[0] == u'-';
        position = 1;
    }
    if (position == text.size())
        return std::nullopt;
    qint64 magnitude = 0;
    const qint64 limit = qint64(std::numeric_limits<qint32>::max()) + (negative ? 1 : 0);
    for (; position < text.size(); ++position) {
        const char16_t unit = text[position].unicode();
        if (unit < u'0' || unit > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (unit - u'0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<qint32>(negative ? -magnitude : magnitude);
}

std::optional<quint8> WholeNumberLowByte(const QString& text) {
    const std::optional<qint32> value = ParseWholeNumber(text);
    if (!value)
        return std::nullopt;
    return static_cast<quint8>(static_cast<quint32>(*value) & 0xFF);
}

quint8 RequireWholeNumberLowByte(const QString& text) {
    const std::optional<quint8> value = WholeNumberLowByte(text);
    if (!value)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return *value;
}
