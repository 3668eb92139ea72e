#pragma once

// The recorder's line: 4800 bit/s, and ten bits per byte (start bit, 8 data bits, stop bit).
inline constexpr double LineBitsPerSecond = 4800.0;
inline constexpr double LineBitsPerByte = 10.0;

inline constexpr double WireSeconds(double bytes) {
    return bytes * LineBitsPerByte / LineBitsPerSecond;
}
