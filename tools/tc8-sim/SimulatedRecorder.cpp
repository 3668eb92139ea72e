#include "SimulatedRecorder.h"

#include "LineEndpoint.h"
#include "PortLink.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>

namespace tc8sim {

namespace {

constexpr int IdlePollMs = 1000;
// How late this thread may notice a free line and still count as having sent on at once.
constexpr auto LateWakeTolerance = std::chrono::milliseconds(5);

} // namespace

SimulatedRecorder::SimulatedRecorder(Settings settings)
    : settings_(std::move(settings)), origin_(LineSchedule::Clock::now()), trace_(settings_.Trace),
      model_(settings_.Recorder), faults_(settings_.Faults), injector_(settings_.Recorder.Seed),
      schedule_(settings_.Paced) {
    model_.SetRefusePasswords(faults_.RefusePasswords);
}

SimulatedRecorder::~SimulatedRecorder() {
    Stop();
}

void SimulatedRecorder::Start() {
    if (thread_.joinable())
        throw std::runtime_error("the simulated recorder runs already");
    line_ = std::make_unique<LineEndpoint>(settings_.DevicePath.empty()
                                               ? LineEndpoint::OpenPseudoTerminal()
                                               : LineEndpoint::OpenDevice(settings_.DevicePath));
    try {
        if (settings_.DevicePath.empty() && settings_.PortNumber > 0)
            link_ = std::make_unique<PortLink>(
                settings_.PortsFolder.empty() ? DefaultPortsFolder() : settings_.PortsFolder,
                settings_.PortNumber, line_->PeerPath());
        wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wakeFd_ < 0)
            throw std::runtime_error(std::string("eventfd: ") + std::strerror(errno));
    } catch (...) {
        link_.reset();
        line_.reset();
        throw;
    }
    schedule_.Clear();
    unwritten_.clear();
    waitingToWrite_ = false;
    {
        const std::lock_guard lock(mutex_);
        error_.clear();
    }
    stopping_ = false;
    running_ = true;
    thread_ = std::thread(&SimulatedRecorder::Run, this);
}

void SimulatedRecorder::Stop() {
    if (thread_.joinable()) {
        stopping_ = true;
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
        thread_.join();
    }
    running_ = false;
    link_.reset();
    line_.reset();
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
    wakeFd_ = -1;
}

std::string SimulatedRecorder::Error() const {
    const std::lock_guard lock(mutex_);
    return error_;
}

std::string SimulatedRecorder::SlavePath() const {
    return line_ ? line_->PeerPath() : "";
}

std::string SimulatedRecorder::PublishedName() const {
    return link_ ? link_->Name() : "";
}

std::filesystem::path SimulatedRecorder::PublishedPath() const {
    return link_ ? link_->Path() : std::filesystem::path();
}

void SimulatedRecorder::SetFaults(const FaultOptions& faults) {
    const std::lock_guard lock(mutex_);
    faults_ = faults;
    model_.SetRefusePasswords(faults.RefusePasswords);
}

FaultOptions SimulatedRecorder::Faults() const {
    const std::lock_guard lock(mutex_);
    return faults_;
}

RecorderState SimulatedRecorder::Snapshot() const {
    const std::lock_guard lock(mutex_);
    return model_.Snapshot(Now());
}

void SimulatedRecorder::WithModel(
    const std::function<void(RecorderModel& model, SimTime now)>& change) {
    const std::lock_guard lock(mutex_);
    change(model_, Now());
}

SimTime SimulatedRecorder::Now() const {
    return std::chrono::duration_cast<SimTime>(LineSchedule::Clock::now() - origin_);
}

void SimulatedRecorder::Run() {
    while (!stopping_) {
        pollfd fds[2] = {
            {line_->Fd(), static_cast<short>(POLLIN | (waitingToWrite_ ? POLLOUT : 0)), 0},
            {wakeFd_, POLLIN, 0}};
        if (::poll(fds, 2, PollTimeoutMs()) < 0 && errno != EINTR)
            return Fail(std::string("poll: ") + std::strerror(errno));
        if (stopping_)
            break;
        if (fds[1].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t read = ::read(wakeFd_, &count, sizeof count);
        }
        if (fds[0].revents & POLLOUT)
            waitingToWrite_ = false;
        if (fds[0].revents & POLLIN)
            ReadRequests();
        else if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
            return Fail("the line was lost");
        {
            const std::lock_guard lock(mutex_);
            model_.Advance(Now());
        }
        TraceNotes();
        ScheduleRaw();
        PullStreamFrames();
        WriteDue();
        if (!Running())
            return;
    }
}

void SimulatedRecorder::ReadRequests() {
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(line_->Fd(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EAGAIN)
            return;
        if (count <= 0)
            return Fail(std::string("read: ") +
                        (count == 0 ? "end of file" : std::strerror(errno)));
        std::vector<HandledRequest> handled;
        Outgoing outgoing;
        {
            // Handled and faulted under one lock: the faults in force when a request is
            // counted are the ones its replies get.
            const std::lock_guard lock(mutex_);
            handled = model_.Receive(QByteArray(buffer, count), Now());
            std::vector<QByteArray> replies;
            for (const HandledRequest& request : handled)
                replies.insert(replies.end(), request.Replies.begin(), request.Replies.end());
            outgoing = PrepareLocked(std::move(replies), faults_.Delay);
        }
        for (const HandledRequest& request : handled)
            trace_.Request(Now(), request.Code, request.Payload);
        Send(outgoing);
    }
}

SimulatedRecorder::Outgoing SimulatedRecorder::PrepareLocked(std::vector<QByteArray> replies,
                                                             std::chrono::milliseconds delay) {
    if (faults_.Glue && replies.size() % 2 == 1) {
        // An unsolicited frame can keep the odd reply company.
        if (auto frame = model_.NextStreamFrame())
            replies.push_back(*frame);
    }
    Outgoing outgoing;
    outgoing.Silent = faults_.Silent;
    outgoing.Delay = delay;
    if (!outgoing.Silent && !replies.empty()) {
        outgoing.Output = injector_.Apply(replies, faults_);
        faults_.DropNext -= outgoing.Output.DropNextUsed;
        faults_.CorruptNext -= outgoing.Output.CorruptNextUsed;
        // Assigned, not cleared: the buffer, which a copy handed out by Faults() may share,
        // is then released here, where ThreadSanitizer sees its reference count, rather
        // than inside the Qt library.
        if (outgoing.Output.PrefixUsed)
            faults_.PrefixNext = QByteArray();
    }
    outgoing.Replies = std::move(replies);
    return outgoing;
}

void SimulatedRecorder::Send(const Outgoing& outgoing,
                             std::optional<LineSchedule::Clock::time_point> start) {
    TraceNotes();
    for (std::size_t i = 0; i < outgoing.Replies.size(); ++i)
        trace_.Reply(Now(), outgoing.Replies[i],
                     outgoing.Silent ? ReplyFate{} : outgoing.Output.Fates[i],
                     outgoing.Silent ? "not sent: silent" : "");
    const auto notBefore = start.value_or(LineSchedule::Clock::now() + outgoing.Delay);
    for (const OutputPiece& piece : outgoing.Output.Pieces)
        schedule_.Add(piece.Bytes, notBefore, piece.PauseBefore);
}

void SimulatedRecorder::SendRaw(const QByteArray& bytes) {
    {
        const std::lock_guard lock(mutex_);
        rawQueue_.push_back(bytes);
    }
    if (wakeFd_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
    }
}

void SimulatedRecorder::ScheduleRaw() {
    std::vector<QByteArray> raw;
    {
        const std::lock_guard lock(mutex_);
        raw.swap(rawQueue_);
    }
    for (const QByteArray& bytes : raw) {
        trace_.Raw(Now(), bytes);
        schedule_.Add(bytes, LineSchedule::Clock::now());
    }
}

void SimulatedRecorder::PullStreamFrames() {
    if (!schedule_.Empty() || !unwritten_.isEmpty())
        return;
    Outgoing outgoing;
    {
        const std::lock_guard lock(mutex_);
        if (std::optional<QByteArray> frame = model_.NextStreamFrame())
            outgoing = PrepareLocked({*frame}, std::chrono::milliseconds(0));
    }
    // A recorder sends its records back to back. This thread notices the line is free only
    // when it wakes, up to a poll's millisecond later; a record then starts when the line
    // became free, or every record would add that lateness to the download.
    const auto now = LineSchedule::Clock::now();
    const auto lineFree = schedule_.LineFree();
    if (now - lineFree <= LateWakeTolerance)
        Send(outgoing, lineFree);
    else
        Send(outgoing);
}

void SimulatedRecorder::WriteDue() {
    if (unwritten_.isEmpty())
        unwritten_ = schedule_.TakeDue(LineSchedule::Clock::now());
    while (!unwritten_.isEmpty()) {
        const ssize_t count = ::write(line_->Fd(), unwritten_.constData(), unwritten_.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EAGAIN) {
            waitingToWrite_ = true;
            return;
        }
        if (count < 0)
            return Fail(std::string("write: ") + std::strerror(errno));
        unwritten_.remove(0, count);
    }
}

int SimulatedRecorder::PollTimeoutMs() const {
    if (waitingToWrite_)
        return IdlePollMs;
    std::optional<LineSchedule::Clock::time_point> next = schedule_.NextDue();
    {
        const std::lock_guard lock(mutex_);
        if (schedule_.Empty() && unwritten_.isEmpty() && model_.Streaming())
            return 0;
        if (const auto deadline = model_.NextDeadline()) {
            const auto at = origin_ + *deadline;
            next = next ? std::min(*next, at) : at;
        }
    }
    if (!next)
        return IdlePollMs;
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(*next - LineSchedule::Clock::now());
    return static_cast<int>(std::clamp<long long>(wait.count(), 0, IdlePollMs));
}

void SimulatedRecorder::TraceNotes() {
    std::vector<std::string> notes;
    {
        const std::lock_guard lock(mutex_);
        notes = model_.TakeNotes();
    }
    for (const std::string& note : notes)
        trace_.Note(Now(), note);
}

void SimulatedRecorder::Fail(const std::string& error) {
    {
        const std::lock_guard lock(mutex_);
        error_ = error;
    }
    trace_.Note(Now(), "stopped: " + error);
    running_ = false;
}

} // namespace tc8sim
