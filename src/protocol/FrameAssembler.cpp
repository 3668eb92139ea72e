#include "protocol/FrameAssembler.h"

std::vector<ResponseFrame> FrameAssembler::Feed(const QByteArray& delivery) {
    buffer_.append(delivery);
    std::vector<ResponseFrame> frames;
    for (;;) {
        const qsizetype start = buffer_.indexOf(startMarker_);
        if (start < 0) {
            buffer_.clear();
            break;
        }
        buffer_.remove(0, start);
        if (buffer_.size() < 3)
            break;
        const int length = static_cast<std::uint8_t>(buffer_.at(2));
        if (length > maxPayload_) {
            buffer_.remove(0, 1);
            continue;
        }
        const int checksumAt = 3 + length;
        if (buffer_.size() <= checksumAt)
            break;
        if (FrameChecksum(buffer_.first(checksumAt)) !=
            static_cast<std::uint8_t>(buffer_.at(checksumAt))) {
            buffer_.remove(0, 1);
            continue;
        }
        frames.push_back({static_cast<std::uint8_t>(buffer_.at(1)), buffer_.mid(3, length)});
        buffer_.remove(0, checksumAt + 1);
    }
    return frames;
}
