#pragma once

#include <cstdint>

// The command codes of the recorder's protocol. An answer carries the code of its request.
namespace Cmd {
inline constexpr std::uint8_t Logon = 0x01;
inline constexpr std::uint8_t Logout = 0x02;
inline constexpr std::uint8_t ChangePassword = 0x03;
// Configuration groups: read with the even code, written with the next odd one.
inline constexpr std::uint8_t ReadLimits = 0x04;
inline constexpr std::uint8_t WriteLimits = 0x05;
inline constexpr std::uint8_t ReadCorrection1 = 0x06;
inline constexpr std::uint8_t WriteCorrection1 = 0x07;
inline constexpr std::uint8_t ReadCorrection2 = 0x08;
inline constexpr std::uint8_t WriteCorrection2 = 0x09;
inline constexpr std::uint8_t ReadCounts = 0x0A;
inline constexpr std::uint8_t WriteCounts = 0x0B;
inline constexpr std::uint8_t ReadName = 0x0C;
inline constexpr std::uint8_t WriteName = 0x0D;
inline constexpr std::uint8_t ReadHeader1 = 0x0E;
inline constexpr std::uint8_t WriteHeader1 = 0x0F;
inline constexpr std::uint8_t ReadType = 0x10;
inline constexpr std::uint8_t WriteType = 0x11;
inline constexpr std::uint8_t ReadHeader2 = 0x12;
inline constexpr std::uint8_t WriteHeader2 = 0x13;
inline constexpr std::uint8_t ReadHeader3 = 0x14;
inline constexpr std::uint8_t WriteHeader3 = 0x15;
inline constexpr std::uint8_t FirstConfigRead = ReadLimits;
inline constexpr std::uint8_t LastConfigRead = ReadHeader3;

inline constexpr std::uint8_t HistoryEnd = 0x46;     // unsolicited, "F"
inline constexpr std::uint8_t HistoryRecord = 0x47;  // unsolicited, "G"
inline constexpr std::uint8_t HistoryStart = 0x49;   // "I"
inline constexpr std::uint8_t SetClock = 0x4A;       // "J"
inline constexpr std::uint8_t HistoryStop = 0x4B;    // "K"
inline constexpr std::uint8_t ClearHistory = 0x4C;   // "L"
inline constexpr std::uint8_t Status = 0x50;         // "P"
inline constexpr std::uint8_t Restart = 0x64;        // "d"
inline constexpr std::uint8_t FirmwareBlock = 0x65;  // "e"
inline constexpr std::uint8_t FirmwareFinish = 0x66; // "f"

// Payloads of the restart (the recorder restarts into its boot loader) and of the end of a
// firmware transfer.
inline constexpr char RestartPayload[] = "B";
inline constexpr char FirmwareFinishPayload[] = "K";

// The boot loader's acknowledgement of a firmware block: this byte alone, not a frame.
inline constexpr std::uint8_t FirmwareAck = 0x21; // "!"

// Time-outs per attempt, in ticks of the 100 ms timer.
inline constexpr int ShortTimeout = 10;
inline constexpr int LongTimeout = 110;
} // namespace Cmd
