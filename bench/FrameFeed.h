#pragma once

#include <QByteArray>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The recorder's end of the receive-latency measurement: a thread that writes numbered
// answer frames, one write() each, to the master side of a pseudo-terminal, and notes when
// it wrote each. After each frame it sleeps a random pause of 1 to 2 ms and then checks
// that the receiver has reported the frame (Seen), waiting only if it has not; the next
// frame then meets a receiver that sleeps. The receiver's report wakes the feed only when
// it waits: a wake-up from the receiver's thread would put the feed on the receiver's core
// and preempt the receiver, switches that belong to the measurement, not to the receiver.
class FrameFeed {
public:
    // Frames carry this code (an answer without a handler: the window only stores it) and a
    // 14-byte payload, the size of a status answer, that starts with the frame number.
    static constexpr std::uint8_t Code = 0x02;
    static constexpr int PayloadSize = 14;
    // A frame not reported within this time counts as lost.
    static constexpr std::chrono::seconds LossTimeout{1};

    FrameFeed(int masterFd, int frames);
    FrameFeed(const FrameFeed&) = delete;
    FrameFeed& operator=(const FrameFeed&) = delete;
    ~FrameFeed();

    // Starts writing; `finished` runs on the feed's thread after the last frame.
    void Start(std::function<void()> finished);
    // Waits for the thread to end.
    void Join();

    // The receiver holds the frame with this payload now. Called on the receiver's thread.
    void Seen(const QByteArray& payload);

    // After Join: latency of each frame that arrived, in microseconds, the count lost, and
    // the CPU time and context switches of the feed's own thread.
    std::vector<double> LatenciesUs() const;
    int Lost() const { return lost_; }
    std::chrono::nanoseconds OwnCpuTime() const { return ownCpu_; }
    long OwnContextSwitches() const { return ownSwitches_; }

private:
    void Run();
    bool WaitSeen(int frame);

    int fd_;
    int frames_;
    std::function<void()> finished_;
    std::vector<std::int64_t> writtenNs_;
    std::vector<std::int64_t> seenNs_; // guarded by mutex_
    bool waiting_ = false;             // guarded by mutex_
    std::mutex mutex_;
    std::condition_variable seen_;
    int lost_ = 0;
    std::chrono::nanoseconds ownCpu_{0};
    long ownSwitches_ = 0;
    std::thread thread_;
};
