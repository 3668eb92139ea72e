#include "protocol/FrameAssembler.h"

namespace {

// The run of dropped bytes being gathered, when someone keeps an account of them.
class DiscardRun {
public:
    explicit DiscardRun(std::vector<DiscardedBytes>* runs) : runs_(runs) {}

    void Drop(const QByteArray& buffer, qsizetype count, DiscardReason reason) {
        if (runs_ == nullptr || count <= 0)
            return;
        // A false start names the run it lies in: it is why the bytes around it went.
        if (bytes_.isEmpty() || reason > reason_)
            reason_ = reason;
        bytes_.append(buffer.first(count));
    }
    void Close(std::size_t beforeFrame) {
        if (runs_ == nullptr || bytes_.isEmpty())
            return;
        runs_->push_back({bytes_, reason_, beforeFrame});
        bytes_.clear();
    }

private:
    std::vector<DiscardedBytes>* runs_;
    QByteArray bytes_;
    DiscardReason reason_ = DiscardReason::Noise;
};

} // namespace

std::vector<ResponseFrame> FrameAssembler::Feed(const QByteArray& delivery,
                                                std::vector<DiscardedBytes>* discarded) {
    buffer_.append(delivery);
    std::vector<ResponseFrame> frames;
    DiscardRun run(discarded);
    for (;;) {
        const qsizetype start = buffer_.indexOf(startMarker_);
        if (start < 0) {
            run.Drop(buffer_, buffer_.size(), DiscardReason::Noise);
            buffer_.clear();
            break;
        }
        run.Drop(buffer_, start, DiscardReason::Noise);
        buffer_.remove(0, start);
        if (buffer_.size() < 3)
            break;
        const int length = static_cast<std::uint8_t>(buffer_.at(2));
        if (length > maxPayload_) {
            run.Drop(buffer_, 1, DiscardReason::TooLong);
            buffer_.remove(0, 1);
            continue;
        }
        const int checksumAt = 3 + length;
        if (buffer_.size() <= checksumAt)
            break;
        if (FrameChecksum(buffer_.first(checksumAt)) !=
            static_cast<std::uint8_t>(buffer_.at(checksumAt))) {
            run.Drop(buffer_, 1, DiscardReason::WrongChecksum);
            buffer_.remove(0, 1);
            continue;
        }
        run.Close(frames.size());
        frames.push_back({static_cast<std::uint8_t>(buffer_.at(1)), buffer_.mid(3, length)});
        buffer_.remove(0, checksumAt + 1);
    }
    run.Close(frames.size());
    return frames;
}
