#pragma once

#include "FrameTrace.h"

#include <QByteArray>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

// Reads the simulator's trace as it is written and keeps account of what went onto the
// line: the requests it received, and which history records reached the line intact and
// safe. Kept small on purpose, so that a long run does not grow with it.
//
// A record counts as safe when nothing before it on the line could have taken it away. The
// faults cannot: a dropped reply leaves no bytes and a corrupted one keeps its start marker
// and length, so the receiver skips it whole. Only a corrupted reply that holds the byte
// "n" past its start can make the receiver take that byte for a start marker; such a false
// start covers at most a whole frame (104 bytes), so the records in that reach are only
// "at risk".
class ReplyLedger {
public:
    tc8sim::FrameTrace::Sink Sink();

    int Requests(std::uint8_t code) const;

    struct Tally {
        int Replies = 0;
        int Dropped = 0;
        int Corrupted = 0;
        int RecordsSent = 0;     // history records written to the line intact
        int RecordsAtRisk = 0;   // of those, behind a corrupted reply with an "n" in it
        int UnreadableLines = 0; // trace lines of replies that could not be read
    };
    Tally Totals() const;

    // The payloads of the safe, intact history records since the last call.
    std::vector<QByteArray> TakeSafeRecords();

private:
    void Read(const std::string& line);
    void Reply(const QByteArray& frame, bool dropped, bool corrupted, bool payloadKnown);

    mutable std::mutex mutex_;
    std::atomic<int> requestCounts_[256] = {};
    Tally tally_;
    int riskBytesLeft_ = 0;
    std::vector<QByteArray> safeRecords_;
};
