#pragma once

#include "SimTime.h"

#include <QByteArray>
#include <map>
#include <optional>
#include <vector>

namespace tc8sim {

// What runs in the recorder for a while after a restart: it acknowledges firmware blocks
// (code 0x65: block number, then 128 bytes) and on the finish request (code 0x66) checks the
// image it collected. It gives up when no block has come for the silence period.
class BootLoader {
public:
    static constexpr int BlockSize = 128;

    explicit BootLoader(SimTime silence) : silence_(silence) {}

    void SetSilence(SimTime silence) { silence_ = silence; }
    void Enter(SimTime now);
    // Whether the boot loader still runs at `now` (false once its silence has passed).
    bool ActiveAt(SimTime now) const { return active_ && now < deadline_; }
    // Leaves the boot loader if its silence has passed; true when it did just now.
    bool Expire(SimTime now);
    std::optional<SimTime> Deadline() const;

    // Takes a block request's payload; false when it is no block (wrong size).
    bool TakeBlock(const QByteArray& payload, SimTime now);
    // Ends the boot loader and checks the image: blocks numbered 0, 1, 2 ... without gaps.
    // The image is kept as received, padding included.
    bool Finish();

    // Block numbers in the order they arrived in the latest boot loader session.
    const std::vector<int>& ReceivedBlocks() const { return arrivals_; }
    // The image the latest finish accepted (empty when it was refused or none came yet).
    const QByteArray& Image() const { return image_; }
    std::optional<bool> LastImageAccepted() const { return lastAccepted_; }

private:
    SimTime silence_;
    bool active_ = false;
    SimTime deadline_{0};
    std::map<int, QByteArray> blocks_;
    std::vector<int> arrivals_;
    QByteArray image_;
    std::optional<bool> lastAccepted_;
};

} // namespace tc8sim
