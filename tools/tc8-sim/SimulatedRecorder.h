#pragma once

#include "FaultInjector.h"
#include "FaultOptions.h"
#include "FrameTrace.h"
#include "LineSchedule.h"
#include "RecorderModel.h"
#include "RecorderOptions.h"
#include "RecorderState.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tc8sim {

class LineEndpoint;
class PortLink;

// A simulated TC-8 on a serial line: the recorder model run on a thread of its own behind a
// pseudo-terminal (published as COMn in the configurator's ports folder) or a real serial
// device, with the line's pace, the faults and a trace of the frames.
class SimulatedRecorder {
public:
    struct Settings {
        RecorderOptions Recorder;
        FaultOptions Faults;
        // Published as "COM<PortNumber>"; 0 publishes nothing (use SlavePath()).
        int PortNumber = 1;
        // Empty: the configurator's per-user ports folder.
        std::filesystem::path PortsFolder;
        // When set, this serial device is used instead of a pseudo-terminal.
        std::string DevicePath;
        // Whether replies go out at the pace of a 4800 bit/s line.
        bool Paced = true;
        // Receives the trace lines; empty for none.
        FrameTrace::Sink Trace;
    };

    explicit SimulatedRecorder(Settings settings);
    SimulatedRecorder(const SimulatedRecorder&) = delete;
    SimulatedRecorder& operator=(const SimulatedRecorder&) = delete;
    ~SimulatedRecorder();

    // Opens the line, publishes it and starts answering. Throws std::runtime_error.
    void Start();
    // Stops answering, removes the published entry and closes the line.
    void Stop();
    // False before Start, after Stop, and when the line failed (see Error()).
    bool Running() const { return running_; }
    std::string Error() const;

    // The path the configurator opens: the pseudo-terminal's slave or the device.
    std::string SlavePath() const;
    // "COM1" and its full path in the ports folder; empty when nothing is published.
    std::string PublishedName() const;
    std::filesystem::path PublishedPath() const;

    void SetFaults(const FaultOptions& faults);
    FaultOptions Faults() const;
    // Writes bytes to the line as they are (noise, a broken frame, an unsolicited answer),
    // after whatever is already on its way. Not to be called while Stop runs.
    void SendRaw(const QByteArray& bytes);

    // A copy of the recorder's state as it is now.
    RecorderState Snapshot() const;
    // Runs `change` on the model while the simulator holds it, e.g. to set a password or
    // refill the history; `now` is the model's current time.
    void WithModel(const std::function<void(RecorderModel& model, SimTime now)>& change);
    // Model time now: milliseconds since the simulator was created.
    SimTime Now() const;

private:
    void Run();
    void ReadRequests();
    // Replies on their way to the line, with what the faults did to them.
    struct Outgoing {
        std::vector<QByteArray> Replies;
        FaultedOutput Output;
        bool Silent = false;
        std::chrono::milliseconds Delay{0};
    };
    // Applies the faults; called with mutex_ held.
    Outgoing PrepareLocked(std::vector<QByteArray> replies, std::chrono::milliseconds delay);
    // Traces the replies and queues what the faults left of them, to start `outgoing.Delay`
    // from now, or at `start` when given.
    void Send(const Outgoing& outgoing,
              std::optional<LineSchedule::Clock::time_point> start = std::nullopt);
    void ScheduleRaw();
    void PullStreamFrames();
    void WriteDue();
    int PollTimeoutMs() const;
    void TraceNotes();
    void Fail(const std::string& error);

    Settings settings_;
    const LineSchedule::Clock::time_point origin_;
    FrameTrace trace_;

    mutable std::mutex mutex_; // guards model_, faults_, injector_, rawQueue_ and error_
    RecorderModel model_;
    FaultOptions faults_;
    FaultInjector injector_;
    std::vector<QByteArray> rawQueue_;
    std::string error_;

    // Used by the simulator's thread only.
    LineSchedule schedule_;
    QByteArray unwritten_;
    bool waitingToWrite_ = false;

    std::unique_ptr<LineEndpoint> line_;
    std::unique_ptr<PortLink> link_;
    int wakeFd_ = -1;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> running_{false};
    std::thread thread_;
};

} // namespace tc8sim
