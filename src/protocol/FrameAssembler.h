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

// Why received bytes were dropped: bytes ahead of any start marker, or a false start whose
// length is too large or whose checksum does not match (with the bytes up to the next one).
enum class DiscardReason { Noise, TooLong, WrongChecksum };

// A run of bytes dropped together, in the order received; it came just before frame
// number `BeforeFrame` of the same delivery (or after the last one).
struct DiscardedBytes {
    QByteArray Bytes;
    DiscardReason Reason = DiscardReason::Noise;
    std::size_t BeforeFrame = 0;
    bool operator==(const DiscardedBytes&) const = default;
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

    // Appends one delivery and returns the valid frames completed by it, in order. With
    // `discarded`, also the runs of bytes it dropped; without, it keeps no account of them.
    std::vector<ResponseFrame> Feed(const QByteArray& delivery,
                                    std::vector<DiscardedBytes>* discarded = nullptr);

    // Received bytes not yet consumed (the start of an incomplete frame, if any).
    const QByteArray& ReceiveBuffer() const { return buffer_; }

private:
    char startMarker_;
    int maxPayload_;
    QByteArray buffer_;
};
