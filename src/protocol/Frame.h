#pragma once

#include <QByteArray>
#include <cstdint>

// Frames on the recorder's line: a start marker ("N" from the PC, "n" from the recorder),
// a code byte, a payload length byte, the payload, and a checksum byte that is the 8-bit
// sum of every byte before it (marker included; neither complemented nor negated).

inline constexpr char RequestMarker = 'N';  // 0x4E
inline constexpr char ResponseMarker = 'n'; // 0x6E
inline constexpr int MaxResponsePayload = 100;
// A request frame is at most 256 bytes: four bytes of framing around at most 252 of payload.
inline constexpr int MaxRequestPayload = 252;

// The 8-bit sum of all bytes, modulo 256.
std::uint8_t FrameChecksum(const QByteArray& bytes);

// A complete RequestFrame. The payload must not exceed MaxRequestPayload bytes.
QByteArray BuildRequestFrame(std::uint8_t code, const QByteArray& payload);

// A complete ResponseFrame, as the recorder sends it (used by the recorder simulator and tests).
QByteArray BuildResponseFrame(std::uint8_t code, const QByteArray& payload);
