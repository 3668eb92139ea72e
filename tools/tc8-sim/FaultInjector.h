#pragma once

#include "FaultOptions.h"

#include <QByteArray>
#include <chrono>
#include <random>
#include <vector>

namespace tc8sim {

// One write to the line, after a pause.
struct OutputPiece {
    QByteArray Bytes;
    std::chrono::milliseconds PauseBefore{0};
};

// What the faults did to one reply, for the trace.
struct ReplyFate {
    bool Dropped = false;
    bool Corrupted = false;
    bool GluedToNext = false;
    int Pieces = 1;
    int PrefixBytes = 0;
};

struct FaultedOutput {
    std::vector<OutputPiece> Pieces;
    std::vector<ReplyFate> Fates; // one per reply, in order
    // How much of the one-shot faults was used up.
    int DropNextUsed = 0;
    int CorruptNextUsed = 0;
    bool PrefixUsed = false;
};

// Applies the line faults to replies that are ready together: drop, then corrupt, then the
// prefix, then glue pairs, then split. A corrupted reply keeps its length and start marker and gets
// one byte behind the length byte changed (never into a start marker), so it fails its checksum and
// costs exactly that reply; a lone "!" becomes another byte. Random choices come from a
// seeded generator, so a seed repeats a run.
class FaultInjector {
public:
    explicit FaultInjector(unsigned seed) : random_(seed) {}

    FaultedOutput Apply(const std::vector<QByteArray>& replies, const FaultOptions& options);

private:
    bool Chance(int percent);
    int Between(int low, int high);
    QByteArray Corrupt(QByteArray reply);
    void Split(const QByteArray& bytes, std::vector<OutputPiece>& pieces, int& pieceCount);

    std::mt19937 random_;
};

} // namespace tc8sim
