#pragma once

#include <QByteArray>
#include <cstdint>
#include <deque>
#include <map>

namespace tc8sim {

struct RequestTally {
    int Count = 0;
    // The payloads of the most recent requests, oldest first (at most RequestLog::Kept).
    std::deque<QByteArray> Payloads;
};

// Every valid request frame the recorder received, by code, whether it was answered or not.
class RequestLog {
public:
    static constexpr std::size_t Kept = 1000;

    void Record(std::uint8_t code, const QByteArray& payload);
    int Count(std::uint8_t code) const;
    const std::map<std::uint8_t, RequestTally>& ByCode() const { return tallies_; }

private:
    std::map<std::uint8_t, RequestTally> tallies_;
};

} // namespace tc8sim
