#include "BootLoader.h"

namespace tc8sim {

void BootLoader::Enter(SimTime now) {
    active_ = true;
    deadline_ = now + silence_;
    blocks_.clear();
    arrivals_.clear();
}

bool BootLoader::Expire(SimTime now) {
    if (!active_ || now < deadline_)
        return false;
    active_ = false;
    return true;
}

std::optional<SimTime> BootLoader::Deadline() const {
    if (!active_)
        return std::nullopt;
    return deadline_;
}

bool BootLoader::TakeBlock(const QByteArray& payload, SimTime now) {
    if (payload.size() != 1 + BlockSize)
        return false;
    const int number = static_cast<std::uint8_t>(payload.at(0));
    blocks_[number] = payload.sliced(1);
    arrivals_.push_back(number);
    deadline_ = now + silence_;
    return true;
}

bool BootLoader::Finish() {
    active_ = false;
    QByteArray image;
    int expected = 0;
    for (const auto& [number, bytes] : blocks_) {
        if (number != expected++) {
            lastAccepted_ = false;
            image_.clear();
            return false;
        }
        image.append(bytes);
    }
    lastAccepted_ = !image.isEmpty();
    image_ = image;
    return *lastAccepted_;
}

} // namespace tc8sim
