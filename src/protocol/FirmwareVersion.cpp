#include "protocol/FirmwareVersion.h"

std::optional<QString> FirmwareVersionCaption(const QByteArray& logonPayload) {
    if (logonPayload.size() < 2)
        return std::nullopt;
    const int versionByte = static_cast<std::uint8_t>(logonPayload.at(1));
    if (versionByte < '0')
        return std::nullopt;
    const int v = versionByte - '0';
    return QStringLiteral("TC-8 v %1.%2").arg(v / 10 + 1).arg(v % 10);
}
