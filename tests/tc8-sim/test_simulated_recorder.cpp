#include "SimulatedRecorder.h"
#include "WaitFor.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "protocol/FrameAssembler.h"

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tc8sim {
namespace {

using namespace std::chrono_literals;
using Frames = std::vector<ResponseFrame>;
namespace fs = std::filesystem;

// The configurator's end of the line, with nothing but open, write and read.
class PeerPort {
public:
    explicit PeerPort(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {}
    ~PeerPort() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool IsOpen() const { return fd_ >= 0; }

    void Send(std::uint8_t code, const QByteArray& payload) {
        Write(BuildRequestFrame(code, payload));
    }
    void Write(const QByteArray& bytes) {
        ASSERT_EQ(::write(fd_, bytes.constData(), bytes.size()), bytes.size());
    }

    // Reads until `count` frames have come (or a generous deadline passed).
    Frames Receive(std::size_t count) {
        QDeadlineTimer deadline(20000);
        while (frames_.size() < count && !deadline.hasExpired()) {
            pollfd fd{fd_, POLLIN, 0};
            if (::poll(&fd, 1, 50) == 1) {
                char buffer[512];
                const ssize_t n = ::read(fd_, buffer, sizeof buffer);
                if (n > 0)
                    for (ResponseFrame& frame : assembler_.Feed(QByteArray(buffer, n)))
                        frames_.push_back(frame);
            }
        }
        Frames taken(frames_.begin(), frames_.begin() + std::min(count, frames_.size()));
        frames_.erase(frames_.begin(), frames_.begin() + taken.size());
        return taken;
    }

private:
    int fd_;
    FrameAssembler assembler_;
    Frames frames_;
};

// Collects the trace lines; the simulator's thread writes them.
class TraceLines {
public:
    FrameTrace::Sink Sink() {
        return [this](const std::string& line) {
            const std::lock_guard lock(mutex_);
            lines_.push_back(line);
        };
    }
    bool Contains(const std::string& text) const {
        const std::lock_guard lock(mutex_);
        for (const std::string& line : lines_)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

SimulatedRecorder::Settings Unpublished(bool paced = false) {
    SimulatedRecorder::Settings settings;
    settings.PortNumber = 0;
    settings.Paced = paced;
    return settings;
}

TEST(SimulatedRecorder, AnswersOnThePseudoTerminal) {
    SimulatedRecorder recorder(Unpublished(true));
    recorder.Start();
    ASSERT_TRUE(recorder.Running());
    EXPECT_TRUE(recorder.PublishedName().empty());
    PeerPort port(recorder.SlavePath());
    ASSERT_TRUE(port.IsOpen());

    port.Send(Cmd::Logon, "0157");
    EXPECT_EQ(port.Receive(1), Frames({{Cmd::Logon, "T5"}}));
    port.Send(Cmd::Status, "G");
    const Frames status = port.Receive(1);
    ASSERT_EQ(status.size(), 1u);
    EXPECT_EQ(status[0].Payload.size(), 14);

    const RecorderState state = recorder.Snapshot();
    EXPECT_TRUE(state.LoggedOn);
    EXPECT_EQ(state.RequestCount(Cmd::Status), 1);
    recorder.Stop();
    EXPECT_FALSE(recorder.Running());
}

TEST(SimulatedRecorder, PublishesTheLineAsComNAndRemovesItOnStop) {
    QTemporaryDir folder;
    SimulatedRecorder::Settings settings = Unpublished();
    settings.PortNumber = 3;
    settings.PortsFolder = folder.filePath("ports").toStdString();
    SimulatedRecorder recorder(settings);
    recorder.Start();
    const fs::path link = settings.PortsFolder / "COM3";
    EXPECT_EQ(recorder.PublishedName(), "COM3");
    EXPECT_EQ(recorder.PublishedPath(), link);
    EXPECT_EQ(fs::read_symlink(link), fs::path(recorder.SlavePath()));
    {
        PeerPort port(link.string());
        port.Send(Cmd::Logon, "0157");
        EXPECT_EQ(port.Receive(1).size(), 1u);
    }
    // Closing the configurator's end does not end the line: it can be opened again.
    {
        PeerPort port(link.string());
        port.Send(Cmd::Logout, "W");
        EXPECT_EQ(port.Receive(1), Frames({{Cmd::Logout, {}}}));
    }
    recorder.Stop();
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(SimulatedRecorder, ReplacesAStaleLinkButNothingElse) {
    QTemporaryDir folder;
    const fs::path ports = folder.filePath("ports").toStdString();
    fs::create_directories(ports);
    fs::create_symlink("/dev/pts/does-not-exist", ports / "COM1");
    fs::create_symlink("/dev/null", ports / "COM2");
    { std::ofstream(ports / "COM4") << "a file"; }

    SimulatedRecorder::Settings settings = Unpublished();
    settings.PortsFolder = ports;
    settings.PortNumber = 1;
    SimulatedRecorder first(settings);
    first.Start();
    EXPECT_EQ(fs::read_symlink(ports / "COM1"), fs::path(first.SlavePath()));

    for (int taken : {1, 2, 4}) {
        settings.PortNumber = taken;
        SimulatedRecorder second(settings);
        EXPECT_THROW(second.Start(), std::runtime_error) << taken;
        EXPECT_FALSE(second.Running());
    }
    EXPECT_EQ(fs::read_symlink(ports / "COM2"), fs::path("/dev/null"));
    EXPECT_TRUE(fs::is_regular_file(ports / "COM4"));
    EXPECT_EQ(fs::read_symlink(ports / "COM1"), fs::path(first.SlavePath()));
}

TEST(SimulatedRecorder, FaultsChangeWhileItRuns) {
    SimulatedRecorder recorder(Unpublished());
    recorder.Start();
    PeerPort port(recorder.SlavePath());
    FaultOptions faults;

    // Each faulty reply would arrive before the next good one; only the good ones come.
    faults.Silent = true;
    recorder.SetFaults(faults);
    port.Send(Cmd::Logon, "0157");
    ASSERT_TRUE(WaitFor([&] { return recorder.Snapshot().LoggedOn; }));
    faults.Silent = false;
    faults.DropPercent = 100;
    recorder.SetFaults(faults);
    port.Send(Cmd::ReadLimits, "G");
    faults.DropPercent = 0;
    faults.CorruptPercent = 100;
    ASSERT_TRUE(WaitFor([&] { return recorder.Snapshot().RequestCount(Cmd::ReadLimits) == 1; }));
    recorder.SetFaults(faults);
    port.Send(Cmd::ReadCorrection1, "G");
    ASSERT_TRUE(
        WaitFor([&] { return recorder.Snapshot().RequestCount(Cmd::ReadCorrection1) == 1; }));
    recorder.SetFaults({});
    port.Send(Cmd::ReadCounts, "G");
    EXPECT_EQ(port.Receive(1), Frames({{Cmd::ReadCounts, "\x01\x10"}}));

    faults = {};
    faults.RefusePasswords = true;
    recorder.SetFaults(faults);
    port.Send(Cmd::Logon, "0157");
    EXPECT_EQ(port.Receive(1), Frames({{Cmd::Logon, "N5"}}));
    EXPECT_TRUE(recorder.Faults().RefusePasswords);
}

TEST(SimulatedRecorder, OneShotFaultsAndRawBytes) {
    SimulatedRecorder recorder(Unpublished(true));
    recorder.Start();
    PeerPort port(recorder.SlavePath());

    FaultOptions faults;
    faults.DropNext = 1;
    faults.CorruptNext = 1;
    recorder.SetFaults(faults);
    port.Send(Cmd::Logon, "0157");
    port.Send(Cmd::ReadLimits, "G");
    port.Send(Cmd::ReadCounts, "G");
    EXPECT_EQ(port.Receive(1), Frames({{Cmd::ReadCounts, "\x01\x10"}}));
    EXPECT_EQ(recorder.Faults().DropNext, 0);
    EXPECT_EQ(recorder.Faults().CorruptNext, 0);

    faults = {};
    faults.PrefixNext = QByteArray("xy\x6E\x01\x65"); // noise, then a length of 101
    recorder.SetFaults(faults);
    port.Send(Cmd::ReadLimits, "G");
    EXPECT_EQ(port.Receive(1), Frames({{Cmd::ReadLimits, "\x84\x8A"}}));
    EXPECT_TRUE(recorder.Faults().PrefixNext.isEmpty());

    recorder.SendRaw(QByteArray("noise") + BuildResponseFrame(Cmd::ReadHeader1, "Unasked"));
    EXPECT_EQ(port.Receive(1), Frames({{Cmd::ReadHeader1, "Unasked"}}));
}

TEST(SimulatedRecorder, SplitGluedAndDelayedRepliesStillAssemble) {
    TraceLines trace;
    SimulatedRecorder::Settings settings = Unpublished(true);
    settings.Trace = trace.Sink();
    settings.Faults.Split = true;
    settings.Faults.Glue = true;
    settings.Faults.Delay = 50ms;
    SimulatedRecorder recorder(settings);
    recorder.Start();
    PeerPort port(recorder.SlavePath());

    port.Write(BuildRequestFrame(Cmd::Logon, "0157") + BuildRequestFrame(Cmd::ReadName, "G") +
               BuildRequestFrame(Cmd::ReadLimits, "G"));
    EXPECT_EQ(port.Receive(3), Frames({{Cmd::Logon, "T5"},
                                       {Cmd::ReadName, "Rejestrator nr.1"},
                                       {Cmd::ReadLimits, "\x84\x8A"}}));
    EXPECT_TRUE(trace.Contains("glued to the next"));
    EXPECT_TRUE(trace.Contains("split in"));
}

TEST(SimulatedRecorder, PacedHistoryDownloadStopsOnRequest) {
    SimulatedRecorder::Settings settings = Unpublished(true);
    settings.Recorder.HistoryRecords = 200;
    SimulatedRecorder recorder(settings);
    recorder.Start();
    PeerPort port(recorder.SlavePath());
    port.Send(Cmd::Logon, "0157");
    port.Receive(1);

    port.Send(Cmd::HistoryStart, "h");
    EXPECT_EQ(port.Receive(1), Frames({{Cmd::HistoryStart, QByteArray("\x80\x0C", 2)}}));
    const Frames firstRecords = port.Receive(3);
    ASSERT_EQ(firstRecords.size(), 3u);
    const std::vector<QByteArray> stored = recorder.Snapshot().HistoryRecords;
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(firstRecords[i], (ResponseFrame{Cmd::HistoryRecord, stored[i]}));

    port.Send(Cmd::HistoryStop, "x");
    int records = 3;
    for (;;) {
        const Frames next = port.Receive(1);
        ASSERT_EQ(next.size(), 1u);
        if (next[0].Code != Cmd::HistoryRecord) {
            EXPECT_EQ(next[0], (ResponseFrame{Cmd::HistoryStop, {}}));
            break;
        }
        ++records;
    }
    EXPECT_LT(records, 200);
    EXPECT_FALSE(recorder.Snapshot().HistoryStreaming);
}

TEST(SimulatedRecorder, LeavesTheBootLoaderWhenItsSilenceHasPassed) {
    TraceLines trace;
    SimulatedRecorder::Settings settings = Unpublished();
    settings.Recorder.RestartSilence = 300ms;
    settings.Trace = trace.Sink();
    SimulatedRecorder recorder(settings);
    recorder.Start();
    PeerPort port(recorder.SlavePath());
    port.Send(Cmd::Restart, "B");
    port.Write(QByteArray(1, 'B'));
    ASSERT_TRUE(WaitFor([&] { return recorder.Snapshot().RequestCount(Cmd::Restart) == 1; }));
    port.Send(Cmd::FirmwareBlock, QByteArray(1, '\0') + QByteArray(128, '\x11'));
    ASSERT_TRUE(WaitFor([&] { return trace.Contains("gave up"); }));
    EXPECT_FALSE(recorder.Snapshot().InBootLoader);
    EXPECT_EQ(recorder.Snapshot().FirmwareBlocks, std::vector<int>{0});
    EXPECT_TRUE(trace.Contains("\"!\" (block acknowledged)"));
}

TEST(SimulatedRecorder, ProgramPublishesComNAndCleansUpOnSigterm) {
    QTemporaryDir dataHome;
    int output[2];
    ASSERT_EQ(::pipe(output), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        ::setenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit().constData(), 1);
        ::execl(TC8_SIM_PROGRAM, TC8_SIM_PROGRAM, "--port", "7", "--quiet", nullptr);
        ::_exit(127);
    }
    ::close(output[1]);
    const fs::path link = fs::path(dataHome.path().toStdString()) / "tc8-configurator/ports/COM7";
    ASSERT_TRUE(WaitFor([&] { return fs::exists(fs::symlink_status(link)); }));
    char line[512] = {};
    ASSERT_GT(::read(output[0], line, sizeof line - 1), 0);
    EXPECT_NE(std::string(line).find("COM7"), std::string::npos) << line;
    EXPECT_NE(std::string(line).find(fs::read_symlink(link).string()), std::string::npos) << line;

    {
        PeerPort port(link.string());
        port.Send(Cmd::Logon, "0157");
        EXPECT_EQ(port.Receive(1), Frames({{Cmd::Logon, "T5"}}));
    }
    ::kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    ::close(output[0]);
}

} // namespace
} // namespace tc8sim
