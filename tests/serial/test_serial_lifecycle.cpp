#include "FaultyDevice.h"
#include "SerialFixture.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <memory>
#include <poll.h>
#include <set>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Pumps events for a while; the measuring window of the CPU test, not a wait for a result.
void PumpFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Nice value of each thread of this process.
std::map<pid_t, int> ThreadNiceValues() {
    std::map<pid_t, int> values;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& entry : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(entry) + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // Fields after the command name: state is the first, nice the 17th.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 16)
            values[entry.toInt()] = fields[16].toInt();
    }
    return values;
}

bool CanRaiseThreadPriority(int nice) {
    bool allowed = false;
    std::thread probe([&] { allowed = setpriority(PRIO_PROCESS, gettid(), nice) == 0; });
    probe.join();
    return allowed;
}

} // namespace

using SerialLifecycle = SerialFixture;

TEST_F(SerialLifecycle, CloseInsideTheHandlerEndsTheWatch) {
    int calls = 0;
    comm.OnRxChar = [&](TRsCustomComm& sender, int) {
        ++calls;
        sender.Close();
    };
    comm.Open();
    pty.Send("x");
    ASSERT_TRUE(WaitFor([&] { return !comm.IsOpen(); }));
    EXPECT_EQ(calls, 1);

    QByteArray received;
    comm.OnRxChar = [&](TRsCustomComm& sender, int) { received += sender.ReadText(); };
    comm.Open();
    pty.Send("y");
    ASSERT_TRUE(WaitFor([&] { return received.endsWith('y'); }));
}

TEST_F(SerialLifecycle, HandOffNotServicedBeforeCloseIsDroppedAndTheBytesWait) {
    int calls = 0;
    QByteArray received;
    comm.OnRxChar = [&](TRsCustomComm& sender, int) {
        ++calls;
        received += sender.ReadText();
    };
    comm.Open();
    pty.Send("z");
    ASSERT_TRUE(pty.WaitSlaveReadable(20000));
    comm.Close(); // events were not pumped: the hand-off (if posted) is still queued
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);

    // The byte stayed in the driver's queue and comes once after opening again.
    comm.Open();
    ASSERT_TRUE(WaitFor([&] { return calls == 1; }));
    EXPECT_EQ(received, QByteArray("z"));
}

TEST_F(SerialLifecycle, DestroyingAnOpenComponentWithWorkQueuedIsSafe) {
    auto doomed = std::make_unique<TRsComm>();
    bool called = false;
    doomed->OnRxChar = [&](TRsCustomComm&, int) { called = true; };
    doomed->SetPortNum(1);
    doomed->Open();
    pty.Send("q");
    ASSERT_TRUE(pty.WaitSlaveReadable(20000));
    doomed.reset();
    QCoreApplication::processEvents();
    EXPECT_FALSE(called);
}

TEST_F(SerialLifecycle, FiveHundredOpenCloseCyclesWhileTheOtherEndStreams) {
    std::atomic<bool> stop{false};
    std::thread streamer([&] {
        const QByteArray chunk(64, 's');
        char sink[4096];
        while (!stop) {
            [[maybe_unused]] const ssize_t written =
                write(pty.Master(), chunk.constData(), chunk.size());
            while (read(pty.Master(), sink, sizeof sink) > 0) {
            }
            pollfd fd{pty.Master(), POLLOUT, 0};
            poll(&fd, 1, 10);
        }
    });
    int received = 0;
    comm.OnRxChar = [&](TRsCustomComm& sender, int) { received += sender.ReadText().size(); };
    for (int cycle = 0; cycle < 500; ++cycle) {
        comm.Open();
        comm.WriteText("ping");
        QCoreApplication::processEvents();
        if (cycle == 499) {
            EXPECT_TRUE(WaitFor([&] { return received > 0; }));
        }
        comm.Close();
    }
    stop = true;
    streamer.join();
    EXPECT_TRUE(TSerialTestApp::Instance().Errors().isEmpty())
        << TSerialTestApp::Instance().Errors().join('\n').toStdString();
}

TEST_F(SerialLifecycle, OtherEndClosingIsReportedWithoutSpinningAndThePortRecovers) {
    comm.Open();
    pty.CloseMaster();
    ASSERT_TRUE(WaitFor([] { return !TSerialTestApp::Instance().Errors().isEmpty(); }));
    EXPECT_EQ(TSerialTestApp::Instance().TakeErrors(),
              QStringList{"Read error (5), Input/output error"});

    const double before = CpuSeconds();
    PumpFor(2000);
    const double used = CpuSeconds() - before;
    EXPECT_LT(used, 0.5) << "CPU seconds used in 2 s after the device went away";
    EXPECT_TRUE(TSerialTestApp::Instance().Errors().isEmpty()) << "reported once";

    EXPECT_TRUE(comm.IsOpen());
    EXPECT_FALSE(comm.WriteText("N"));
    EXPECT_TRUE(comm.ReadText().isEmpty());
    comm.Close();
    EXPECT_FALSE(comm.IsOpen());

    TPtyPair replacement;
    ports.Link(1, replacement.SlavePath());
    QByteArray received;
    comm.OnRxChar = [&](TRsCustomComm& sender, int) { received += sender.ReadText(); };
    comm.Open();
    replacement.Send("ok");
    ASSERT_TRUE(WaitFor([&] { return received == "ok"; }));
    EXPECT_TRUE(comm.WriteText("N"));
    QByteArray sent;
    ASSERT_TRUE(WaitFor([&] {
        sent += replacement.ReadAvailable();
        return sent == "N";
    }));
}

// Without a handler the port takes what its read buffer holds and then leaves the device
// alone until the program reads.
TEST_F(SerialLifecycle, BytesNobodyReadsWaitWithoutSpinningAndNoneIsLost) {
    QByteArray sent;
    for (int i = 0; sent.size() < 3 * comm.Buffers().ReadSize(); ++i)
        sent += QByteArray::number(i) + ';';
    comm.Open();
    std::thread writer([&] { pty.Send(sent); });
    ASSERT_TRUE(WaitFor([&] { return comm.InQueue() >= comm.Buffers().ReadSize(); }));
    const double before = CpuSeconds();
    PumpFor(500);
    EXPECT_LT(CpuSeconds() - before, 0.25) << "CPU seconds used in 0.5 s with bytes unread";
    QByteArray received;
    EXPECT_TRUE(WaitFor([&] {
        received += comm.ReadText();
        return received.size() >= sent.size();
    }));
    writer.join();
    EXPECT_TRUE(received == sent);
}

// Without received-bytes events the port still learns of a hang-up, from a thread that waits
// for it alone; bytes left unread do not wake it.
TEST_F(SerialLifecycle, HangUpIsReportedOnceWhenOnlyErrorsAreWatched) {
    comm.SetMonitorEvents({ceError});
    int calls = 0;
    comm.OnRxChar = [&](TRsCustomComm&, int) { ++calls; };
    comm.Open();
    pty.Send("unread");
    ASSERT_TRUE(pty.WaitSlaveReadable(20000));
    const double before = CpuSeconds();
    PumpFor(500);
    EXPECT_LT(CpuSeconds() - before, 0.25) << "CPU seconds used in 0.5 s with bytes unread";
    pty.CloseMaster();
    ASSERT_TRUE(WaitFor([] { return !TSerialTestApp::Instance().Errors().isEmpty(); }));
    PumpFor(200);
    EXPECT_EQ(TSerialTestApp::Instance().TakeErrors(),
              QStringList{"Read error (5), Input/output error"});
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(comm.IsDeviceGone());
}

TEST_F(SerialLifecycle, AWriteErrorThatIsNoHangUpIsReportedOnceAndTheBytesGoOutWhenItClears) {
    auto faults = std::make_shared<DeviceFaults>();
    comm.SetDeviceFactory([faults] { return std::make_unique<FaultyDevice>(faults); });
    comm.Open();
    faults->WriteError = EINVAL;
    EXPECT_TRUE(comm.WriteText("N1"));
    ASSERT_TRUE(WaitFor([] { return !TSerialTestApp::Instance().Errors().isEmpty(); }));
    EXPECT_EQ(TSerialTestApp::Instance().TakeErrors(),
              QStringList{"Write error (22), Invalid argument"});

    // Tried again with pauses between: a spinning thread would try thousands of times.
    const int attempts = faults->WriteAttempts;
    PumpFor(1000);
    EXPECT_LT(faults->WriteAttempts - attempts, 30) << "tries in one second";
    EXPECT_TRUE(TSerialTestApp::Instance().Errors().isEmpty()) << "reported once";
    EXPECT_FALSE(comm.IsDeviceGone());

    faults->WriteError = 0;
    EXPECT_TRUE(comm.WriteText("2"));
    QByteArray sent;
    ASSERT_TRUE(WaitFor([&] {
        sent += pty.ReadAvailable();
        return sent == "N12";
    }));
}

TEST_F(SerialLifecycle, DeviceFoundGoneByAQueueCountIsReportedOnceAsAReadError) {
    comm.Open();
    pty.CloseMaster();
    // Asked before the watch's report has been handled (no events pumped yet).
    try {
        comm.InQueue();
        ADD_FAILURE() << "no error for a device that has gone";
    } catch (const ERsCommError& error) {
        EXPECT_EQ(error.Message, QStringLiteral("Read error (5), Input/output error"));
    }
    EXPECT_TRUE(comm.IsDeviceGone());
    PumpFor(200);
    EXPECT_TRUE(TSerialTestApp::Instance().TakeErrors().isEmpty()) << "reported once";
    EXPECT_EQ(comm.InQueue(), 0);
}

TEST_F(SerialLifecycle, WriteThreadRunsAtHighestPriorityWhereAllowed) {
    errno = 0;
    const int base = getpriority(PRIO_PROCESS, gettid());
    if (!CanRaiseThreadPriority(base - 10))
        GTEST_SKIP() << "this process may not raise a thread's priority";

    std::set<pid_t> existing;
    for (const auto& [thread, nice] : ThreadNiceValues())
        existing.insert(thread);
    auto niceOfNewThreads = [&] {
        std::multiset<int> values;
        for (const auto& [thread, nice] : ThreadNiceValues()) {
            if (!existing.count(thread))
                values.insert(nice);
        }
        return values;
    };
    comm.Open();
    // The write thread is the one thread an open port starts on Linux.
    EXPECT_TRUE(WaitFor([&] { return niceOfNewThreads() == std::multiset<int>{base - 10}; }));
    comm.SetWritePriority(tpNormal);
    EXPECT_TRUE(WaitFor([&] { return niceOfNewThreads() == std::multiset<int>{base}; }));
}
