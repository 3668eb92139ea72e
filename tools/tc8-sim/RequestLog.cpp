#include "RequestLog.h"

namespace tc8sim {

void RequestLog::Record(std::uint8_t code, const QByteArray& payload) {
    RequestTally& tally = tallies_[code];
    ++tally.Count;
    tally.Payloads.push_back(payload);
    if (tally.Payloads.size() > Kept)
        tally.Payloads.pop_front();
}

int RequestLog::Count(std::uint8_t code) const {
    const auto it = tallies_.find(code);
    return it == tallies_.end() ? 0 : it->second.Count;
}

} // namespace tc8sim
