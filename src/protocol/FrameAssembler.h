#pragma once

#include "protocol/Frame.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

struct ResponseFrame {
    std::uint8_t Code = 0;
    QByteArray Payload;
    bool operator==(const ResponseFrame&) const = default;
};

// Turns the recorder's byte stream, delivery by delivery, into valid ResponseFrames.
// Every complete frame of a delivery is taken, in order; an incomplete frame stays in the
// buffer for the next delivery. A false start (length above 100, or a checksum that does
// not match) costs only the bytes up to and including its start marker: the search goes on
// in what follows, so a genuine frame behind noise survives. Bytes before a start marker
// are dropped.
// The recorder simulator reads the PC's RequestFrames the same way, with the request
// marker and the request payload limit.
class FrameAssembler {
public:
    explicit FrameAssembler(char startMarker = ResponseMarker, int maxPayload = MaxResponsePayload)
        : startMarker_(startMarker), maxPayload_(maxPayload) {}

    // Appends one delivery and returns the valid frames completed by it, in order.
    std::vector<ResponseFrame> Feed(const QByteArray& delivery);

    // Received bytes not yet consumed (the start of an incomplete frame, if any).
    const QByteArray& ReceiveBuffer() const { return buffer_; }

private:
    char startMarker_;
    int maxPayload_;
    QByteArray buffer_;
};
