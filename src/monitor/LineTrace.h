#pragma once

#include "protocol/FrameAssembler.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// What went over the line, one entry per frame or run of bytes, as the line monitor and
// tc8-cli --trace show it.

enum class TraceEvent {
    Sent,      // a request frame handed to the line
    Resent,    // the same frame again, by a wait that had no answer
    Received,  // a valid answer frame, as assembled
    LoneByte,  // a delivery of one byte outside any frame (the boot loader's "!")
    Discarded, // received bytes the assembler dropped
};

struct TTraceEntry {
    qint64 Micros = 0; // on a monotonic clock, from the session's start
    TraceEvent Event = TraceEvent::Sent;
    std::uint8_t Code = 0; // of a frame
    QByteArray Bytes;      // a frame's payload, the lone byte or the dropped bytes
    DiscardReason Reason = DiscardReason::Noise;
};

// Who is told of every entry. The session traces only while one is set.
class TLineTraceSink {
public:
    virtual ~TLineTraceSink() = default;
    virtual void Traced(TTraceEntry entry) = 0;
};

inline bool IsSent(const TTraceEntry& entry) {
    return entry.Event == TraceEvent::Sent || entry.Event == TraceEvent::Resent;
}
// The status poll's request and answer, which a monitor may hide.
bool IsStatusPoll(const TTraceEntry& entry);

// The columns of an entry: its time in milliseconds ("1234.567"), the direction ("→" sent,
// "←" received), what it is ("50 Stan", "50 Stan (ponownie)", "odrzucone: szum"), its
// bytes in hex, as Windows-1250 text (unprintable bytes as "."), and what they mean where
// that is known (a status's temperatures, a record's date and readings, a logon's answer).
// Passwords are never shown.
QString TraceTime(const TTraceEntry& entry);
QString TraceArrow(const TTraceEntry& entry);
QString TraceWhat(const TTraceEntry& entry);
QString TraceHex(const TTraceEntry& entry);
QString TraceText(const TTraceEntry& entry);
QString TraceMeaning(const TTraceEntry& entry);

// The entry as one line of a saved trace: the columns above, separated by " | " after the
// time and direction.
QString TraceLine(const TTraceEntry& entry);

// The name of a command code as the monitor shows it: "Logowanie", "Odczyt zakresu".
QString TraceCommandName(std::uint8_t code);
