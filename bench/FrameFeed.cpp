#include "FrameFeed.h"

#include "BenchClock.h"
#include "CpuTime.h"
#include "protocol/Frame.h"

#include <cerrno>
#include <random>
#include <stdexcept>
#include <unistd.h>

namespace {

QByteArray Payload(int frame) {
    QByteArray payload(FrameFeed::PayloadSize, ' ');
    for (int i = 0; i < 4; ++i)
        payload[i] = static_cast<char>((frame >> (8 * i)) & 0xFF);
    return payload;
}

int FrameNumber(const QByteArray& payload) {
    int frame = 0;
    for (int i = 0; i < 4; ++i)
        frame |= static_cast<int>(static_cast<std::uint8_t>(payload[i])) << (8 * i);
    return frame;
}

void WriteAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (count < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (count < 0)
            throw std::runtime_error("write to the pseudo-terminal failed");
        done += count;
    }
}

} // namespace

FrameFeed::FrameFeed(int masterFd, int frames)
    : fd_(masterFd), frames_(frames), writtenNs_(frames, 0), seenNs_(frames, 0) {
}

FrameFeed::~FrameFeed() {
    Join();
}

void FrameFeed::Start(std::function<void()> finished) {
    finished_ = std::move(finished);
    thread_ = std::thread(&FrameFeed::Run, this);
}

void FrameFeed::Join() {
    if (thread_.joinable())
        thread_.join();
}

void FrameFeed::Seen(const QByteArray& payload) {
    if (payload.size() != PayloadSize)
        return;
    const std::int64_t now = NowNs();
    const int frame = FrameNumber(payload);
    if (frame < 0 || frame >= frames_)
        return;
    {
        const std::lock_guard lock(mutex_);
        if (seenNs_[frame] != 0)
            return;
        seenNs_[frame] = now;
        if (!waiting_)
            return;
    }
    seen_.notify_one();
}

bool FrameFeed::WaitSeen(int frame) {
    std::unique_lock lock(mutex_);
    if (seenNs_[frame] != 0)
        return true;
    waiting_ = true;
    const bool seen = seen_.wait_for(lock, LossTimeout, [&] { return seenNs_[frame] != 0; });
    waiting_ = false;
    return seen;
}

void FrameFeed::Run() {
    const std::chrono::nanoseconds startCpu = ThreadCpuTime();
    const long startSwitches = ThreadContextSwitches();
    std::mt19937 random(8);
    std::uniform_int_distribution<int> pauseUs(1000, 2000);
    for (int frame = 0; frame < frames_; ++frame) {
        const QByteArray bytes = BuildResponseFrame(Code, Payload(frame));
        writtenNs_[frame] = NowNs();
        WriteAll(fd_, bytes);
        std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
        if (!WaitSeen(frame))
            ++lost_;
    }
    ownCpu_ = ThreadCpuTime() - startCpu;
    ownSwitches_ = ThreadContextSwitches() - startSwitches;
    if (finished_)
        finished_();
}

std::vector<double> FrameFeed::LatenciesUs() const {
    std::vector<double> latencies;
    for (int frame = 0; frame < frames_; ++frame) {
        if (seenNs_[frame] != 0)
            latencies.push_back(static_cast<double>(seenNs_[frame] - writtenNs_[frame]) / 1000.0);
    }
    return latencies;
}
