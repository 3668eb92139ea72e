#include "SerialFixture.h"
#include "serial/TRsDevice.h"

#include <QDeadlineTimer>
#include <memory>
#include <poll.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// A numbered frame, so that a lost, doubled or reordered byte shows.
QByteArray Frame(int number) {
    QByteArray frame("N");
    frame.append(static_cast<char>(number & 0xff));
    frame.append(static_cast<char>((number >> 8) & 0xff));
    frame.append(QByteArray::number(number));
    frame.append(';');
    return frame;
}

QByteArray Frames(int count) {
    QByteArray all;
    for (int i = 0; i < count; ++i)
        all += Frame(i);
    return all;
}

struct RxCall {
    int count;
    QByteArray bytes;
};

} // namespace

using SerialDelivery = SerialFixture;

TEST_F(SerialDelivery, LoneByteArrivesAlone) {
    std::vector<RxCall> calls;
    comm.OnRxChar = [&](TRsCustomComm& sender, int count) {
        EXPECT_EQ(&sender, &comm);
        calls.push_back({count, sender.ReadText()});
    };
    comm.Open();
    pty.Send(QByteArray(1, '\x06'));
    ASSERT_TRUE(WaitFor([&] { return !calls.empty(); }));
    EXPECT_EQ(calls[0].count, 1);
    EXPECT_EQ(calls[0].bytes, QByteArray(1, '\x06'));
    EXPECT_EQ(comm.InQueue(), 0);
    EXPECT_TRUE(comm.ReadText().isEmpty());
}

TEST_F(SerialDelivery, BytesArrivingDuringAHandlerComeInTheNextCall) {
    std::vector<RxCall> calls;
    bool inHandler = false;
    comm.OnRxChar = [&](TRsCustomComm& sender, int count) {
        EXPECT_FALSE(inHandler) << "a second call started while one ran";
        inHandler = true;
        calls.push_back({count, sender.ReadText()});
        if (calls.size() == 1) {
            // More bytes come while this call runs, and meanwhile events are pumped.
            pty.Send("BCD");
            EXPECT_TRUE(WaitFor([&] { return pty.SlaveInQueue() == 3; }));
        }
        inHandler = false;
    };
    comm.Open();
    pty.Send("A");
    ASSERT_TRUE(WaitFor([&] { return calls.size() == 2; }));
    EXPECT_EQ(calls[0].bytes, QByteArray("A"));
    EXPECT_EQ(calls[1].count, 3);
    EXPECT_EQ(calls[1].bytes, QByteArray("BCD"));
}

// A handler that leaves bytes unread is called again for them, without new bytes arriving.
TEST_F(SerialDelivery, BytesLeftUnreadComeWithAnotherCall) {
    std::vector<RxCall> calls;
    comm.OnRxChar = [&](TRsCustomComm& sender, int count) {
        calls.push_back({count, calls.empty() ? QByteArray() : sender.ReadText()});
    };
    comm.Open();
    pty.Send("A");
    ASSERT_TRUE(WaitFor([&] { return calls.size() == 2; }));
    EXPECT_EQ(calls[1].count, 1);
    EXPECT_EQ(calls[1].bytes, QByteArray("A"));
}

// A receive thread's one-shot watch reports waiting bytes once, then stays quiet until armed again;
// a report that comes together with a wake-up is not lost to it.
TEST_F(SerialDelivery, WatchReportsOnceUntilArmedAgain) {
    const std::unique_ptr<TRsDevice> device = CreatePlatformDevice();
    ASSERT_EQ(device->Open(pty.SlavePath()), 0);
    {
        const std::unique_ptr<TRsWatch> watch = device->CreateWatch(TRsWaitFor::Readable);
        pty.Send("A");
        ASSERT_TRUE(pty.WaitSlaveReadable(10000));
        watch->Signal();
        EXPECT_EQ(watch->Wait().kind, TRsWaitResult::Ready);
        EXPECT_EQ(watch->Wait().kind, TRsWaitResult::Woken);
        watch->Arm();
        EXPECT_EQ(watch->Wait().kind, TRsWaitResult::Ready);
    }
    device->Close();
}

TEST_F(SerialDelivery, TenThousandQueuedFramesKeepTheirOrder) {
    const QByteArray expected = Frames(10000);
    comm.Buffers().SetWriteTimeout(60000); // the reader may be slow on a loaded machine
    comm.Open();

    QByteArray received; // the reader's until it has ended
    std::thread reader([&] {
        const QDeadlineTimer deadline(120000);
        while (received.size() < expected.size() && !deadline.hasExpired()) {
            pollfd fd{pty.Master(), POLLIN, 0};
            poll(&fd, 1, 100);
            received += pty.ReadAvailable();
        }
    });
    int accepted = 0;
    try {
        while (accepted < 10000 && comm.WriteText(Frame(accepted)))
            ++accepted;
    } catch (const ERsCommError&) {
        // counted below
    }
    reader.join();
    EXPECT_EQ(accepted, 10000);
    EXPECT_EQ(received.size(), expected.size());
    EXPECT_TRUE(received == expected);
}

TEST_F(SerialDelivery, TenThousandReceivedFramesKeepTheirOrder) {
    const QByteArray expected = Frames(10000);
    QByteArray received;
    comm.OnRxChar = [&](TRsCustomComm& sender, int) { received += sender.ReadText(); };
    comm.Open();
    std::thread writer([&] { pty.Send(expected); });
    const bool complete = WaitFor([&] { return received.size() >= expected.size(); }, 120000);
    writer.join();
    ASSERT_TRUE(complete) << received.size();
    EXPECT_TRUE(received == expected);
}

TEST_F(SerialDelivery, FullQueueIsReportedAfterTheWriteTimeout) {
    comm.Buffers().SetWriteTimeout(50);
    comm.Open();
    EXPECT_THROW_TEXT(comm.WriteText(QByteArray(3000, 'x')), ERsCommError,
                      "Output buffer is full. Please check comm status.");
    // Nobody reads the other end: the terminal fills, then the queue.
    const QByteArray chunk(1000, 'y');
    bool full = false;
    for (int i = 0; i < 10000 && !full; ++i) {
        try {
            EXPECT_TRUE(comm.WriteText(chunk));
        } catch (const ERsCommError& error) {
            EXPECT_EQ(error.Message,
                      QStringLiteral("Output buffer is full. Please check comm status."));
            full = true;
        }
    }
    EXPECT_TRUE(full);
}

// Were the read time-out to bound it, this would wait ten minutes for a reader.
TEST_F(SerialDelivery, DirectWriteToAFullLineGivesUpAfterTheWriteTimeout) {
    comm.SetDirectWrite(true);
    comm.Buffers().SetReadTimeout(600000);
    comm.Buffers().SetWriteTimeout(50);
    comm.Open();
    const QByteArray chunk(1000, 'y');
    bool partial = false;
    for (int i = 0; i < 10000 && !partial; ++i)
        partial = !comm.WriteText(chunk);
    EXPECT_TRUE(partial);
}

TEST_F(SerialDelivery, DirectWriteSendsAtOnce) {
    comm.SetDirectWrite(true);
    comm.Open();
    EXPECT_TRUE(comm.WriteText("N\x03\x01"));
    QByteArray received;
    ASSERT_TRUE(WaitFor([&] {
        received += pty.ReadAvailable();
        return received.size() >= 3;
    }));
    EXPECT_EQ(received, QByteArray("N\x03\x01"));
}

TEST_F(SerialDelivery, ExceptionInTheHandlerReachesTheEventLoopAndDeliveryGoesOn) {
    QByteArray received;
    comm.OnRxChar = [&](TRsCustomComm& sender, int) {
        received += sender.ReadText();
        if (received == "1")
            throw ERsCommError(QStringLiteral("handler failed"));
    };
    comm.Open();
    pty.Send("1");
    ASSERT_TRUE(WaitFor([&] { return !TSerialTestApp::Instance().Errors().isEmpty(); }));
    EXPECT_EQ(TSerialTestApp::Instance().TakeErrors(), QStringList{"handler failed"});
    pty.Send("2");
    ASSERT_TRUE(WaitFor([&] { return received == "12"; }));
}
