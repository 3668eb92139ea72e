#include "LineSchedule.h"

#include <algorithm>

namespace tc8sim {

LineSchedule::LineSchedule(bool paced)
    : byteTime_(paced ? std::chrono::duration_cast<Clock::duration>(
                            std::chrono::nanoseconds(1'000'000'000LL * BitsPerByte / BitsPerSecond))
                      : Clock::duration::zero()) {
}

void LineSchedule::Add(const QByteArray& bytes, Clock::time_point notBefore,
                       Clock::duration pause) {
    if (bytes.isEmpty())
        return;
    const Clock::time_point start = std::max(notBefore, lineFree_ + pause);
    pieces_.push_back({bytes, start, 0});
    lineFree_ = start + byteTime_ * bytes.size();
}

LineSchedule::Clock::time_point LineSchedule::DueOf(const Piece& piece, qsizetype index) const {
    return piece.Start + byteTime_ * (index + 1);
}

QByteArray LineSchedule::TakeDue(Clock::time_point now) {
    QByteArray due;
    while (!pieces_.empty()) {
        Piece& piece = pieces_.front();
        if (now < piece.Start)
            break;
        qsizetype end = piece.Bytes.size();
        if (byteTime_ > Clock::duration::zero())
            end = std::min<qsizetype>(end, (now - piece.Start) / byteTime_);
        if (end > piece.Taken) {
            due.append(piece.Bytes.mid(piece.Taken, end - piece.Taken));
            piece.Taken = end;
        }
        if (piece.Taken < piece.Bytes.size())
            break;
        pieces_.pop_front();
    }
    return due;
}

std::optional<LineSchedule::Clock::time_point> LineSchedule::NextDue() const {
    if (pieces_.empty())
        return std::nullopt;
    const Piece& piece = pieces_.front();
    return byteTime_ > Clock::duration::zero() ? DueOf(piece, piece.Taken) : piece.Start;
}

} // namespace tc8sim
