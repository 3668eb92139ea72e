#pragma once

#include <QByteArray>
#include <chrono>
#include <deque>
#include <optional>

namespace tc8sim {

// When each outgoing byte may be written. Paced, the line carries 4800 bit/s with ten bits
// per byte (8N1): a byte is handed over once it would have been received in full, about
// every 2.08 ms, and a piece never overtakes the one before it. Unpaced, a piece goes out
// whole as soon as it is due.
class LineSchedule {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int BitsPerSecond = 4800;
    static constexpr int BitsPerByte = 10;

    explicit LineSchedule(bool paced);

    // Queues a piece that starts no earlier than `notBefore` and, after the piece before
    // it, no earlier than `pause` after that one is through.
    void Add(const QByteArray& bytes, Clock::time_point notBefore,
             Clock::duration pause = Clock::duration::zero());
    // Removes and returns every byte that is due at `now`.
    QByteArray TakeDue(Clock::time_point now);
    // When the next byte falls due; nothing when the schedule is empty.
    std::optional<Clock::time_point> NextDue() const;
    bool Empty() const { return pieces_.empty(); }
    // When the last byte queued so far is through.
    Clock::time_point LineFree() const { return lineFree_; }
    // Forgets everything queued.
    void Clear() { pieces_.clear(); }

private:
    struct Piece {
        QByteArray Bytes;
        Clock::time_point Start;
        qsizetype Taken = 0;
    };
    Clock::time_point DueOf(const Piece& piece, qsizetype index) const;

    Clock::duration byteTime_;
    Clock::time_point lineFree_{};
    std::deque<Piece> pieces_;
};

} // namespace tc8sim
