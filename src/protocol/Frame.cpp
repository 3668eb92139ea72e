#include "protocol/Frame.h"

#include "core/Errors.h"

namespace {

QByteArray BuildFrame(char marker, std::uint8_t code, const QByteArray& payload) {
    QByteArray frame;
    frame.reserve(4 + payload.size());
    frame.append(marker);
    frame.append(static_cast<char>(code));
    frame.append(static_cast<char>(payload.size()));
    frame.append(payload);
    frame.append(static_cast<char>(FrameChecksum(frame)));
    return frame;
}

} // namespace

std::uint8_t FrameChecksum(const QByteArray& bytes) {
    std::uint8_t sum = 0;
    for (char byte : bytes)
        sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(byte));
    return sum;
}

QByteArray BuildRequestFrame(std::uint8_t code, const QByteArray& payload) {
    if (payload.size() > MaxRequestPayload)
        throw Exception(QStringLiteral("Request payload too long (%1 bytes)").arg(payload.size()));
    return BuildFrame(RequestMarker, code, payload);
}

QByteArray BuildResponseFrame(std::uint8_t code, const QByteArray& payload) {
    if (payload.size() > MaxResponsePayload)
        throw Exception(QStringLiteral("Response payload too long (%1 bytes)").arg(payload.size()));
    return BuildFrame(ResponseMarker, code, payload);
}
