// The session's history download and recorder commands against the simulated recorder,
// without a window.
#include "Bytes.h"
#include "SessionAccess.h"
#include "SessionOnLine.h"
#include "core/Guarded.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"

#include <QTimer>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

class SessionOperations : public ::testing::Test {
protected:
    void Start(const std::function<void(tc8sim::SimulatedRecorder::Settings&)>& adjust = {}) {
        tc8sim::SimulatedRecorder::Settings settings = SimulatedLine::DefaultSettings();
        settings.Recorder.StartClock = QDateTime(QDate(2026, 12, 7), QTime(1, 30, 5));
        if (adjust)
            adjust(settings);
        line = std::make_unique<SessionOnLine>(std::move(settings));
        session = line->session.get();
        QObject::connect(session, &TRecorderSession::HistoryLines,
                         [this](const QStringList& lines) { history << lines; });
    }

    void LogOn() { ASSERT_TRUE(line->LogOn()); }
    void StartDownload() {
        SessionOnLine::Later([this] { session->StartHistoryDownload(); });
    }
    // A download at the line's own pace, long enough to act on while it runs, under way.
    void DownloadAtLinePace(int records) {
        Start([records](auto& settings) {
            settings.Recorder.HistoryRecords = records;
            settings.Paced = true;
        });
        LogOn();
        StartDownload();
        ASSERT_TRUE(WaitFor([&] { return history.size() >= 20; }));
    }

    int Received(std::uint8_t code) const { return line->Recorder().RequestCount(code); }
    std::deque<QByteArray> ReceivedPayloads(std::uint8_t code) const {
        const tc8sim::RecorderState state = line->Recorder();
        const auto it = state.Requests.find(code);
        return it == state.Requests.end() ? std::deque<QByteArray>() : it->second.Payloads;
    }
    const TSessionState& State() const { return session->State(); }
    // The configuration icons may be used.
    bool ConfigIconsOn() const { return State().ConfigIcons && !State().ConfigHeldBack; }

    QStringList history; // every history line the session gave out, in order
    std::unique_ptr<SessionOnLine> line;
    TRecorderSession* session = nullptr;
};

// ---- The history download ----

TEST_F(SessionOperations, StopGoesOutOncePerRecordUntilAcknowledged) {
    constexpr int Records = 400;
    Start([](auto& settings) {
        settings.Recorder.HistoryRecords = Records;
        settings.Paced = true; // at the line's pace the download lasts long enough to stop it
    });
    LogOn();

    int recordsWhileStopping = 0;
    QObject::connect(session, &TRecorderSession::HistoryLines, [&](const QStringList& lines) {
        if (Inside(*session).HistoryStopRequested)
            recordsWhileStopping += static_cast<int>(lines.size());
    });
    StartDownload();
    ASSERT_TRUE(WaitFor([&] { return history.size() >= 20; }));
    EXPECT_EQ(Received(Cmd::HistoryStop), 0);
    ASSERT_TRUE(State().HistoryStreaming);
    SessionOnLine::Later([&] { session->RequestHistoryStop(); });
    ASSERT_TRUE(WaitFor([&] { return Inside(*session).HistoryStopRequested; }));
    EXPECT_TRUE(ConfigIconsOn());

    ASSERT_TRUE(WaitFor([&] { return State().DeviceControls; }));
    EXPECT_FALSE(State().HistoryStreaming);
    EXPECT_FALSE(Inside(*session).HistoryStopRequested);
    EXPECT_GE(recordsWhileStopping, 1);
    EXPECT_TRUE(WaitFor([&] { return Received(Cmd::HistoryStop) == recordsWhileStopping; }))
        << Received(Cmd::HistoryStop) << " stop requests for " << recordsWhileStopping
        << " records";
    EXPECT_FALSE(line->Recorder().HistoryStreaming);
    EXPECT_LT(history.size(), Records);
    EXPECT_FALSE(history.contains(QStringLiteral("Koniec historii")));
}

TEST_F(SessionOperations, AReadClickedWhileRecordsStreamAfterStopRunsAndEndsTheDownload) {
    DownloadAtLinePace(400);
    // STOP, and the recorder's answers are lost from now on: the stop's acknowledgement
    // never comes, so nothing but the read can end the download.
    session->RequestHistoryStop();
    tc8sim::FaultOptions faults = line->sim->Faults();
    faults.Silent = true;
    line->sim->SetFaults(faults);
    // The read is asked for while a record is being handled, so it has to wait for the line.
    // Its first request is lost too; the answers come again for its re-sends. (The read runs
    // inside the event loop: the watcher, not the test, sees it start.)
    bool clicked = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!clicked && Inside(*session).WaitsInProgress > 0) {
            clicked = true;
            watcher.setInterval(2); // the read's waits last long enough to be seen
            RunGuarded([&] { session->ReadConfig(); }); // as a click runs it
        } else if (clicked && Received(Cmd::ReadLimits) > 0) {
            watcher.stop();
            faults.Silent = false;
            line->sim->SetFaults(faults);
        }
    });
    watcher.start(0); // a record's handling is short: looked at in every pass
    line->sim->SendRaw(
        BuildResponseFrame(Cmd::HistoryRecord, Bytes({26, 12, 7, 1, 30, 5, 21, 5, 0, 0})));
    ASSERT_TRUE(WaitFor([&] {
        return Received(Cmd::ReadHeader3) == 1 && ConfigIconsOn() && !State().ConfigProgress;
    }));
    EXPECT_GE(Received(Cmd::ReadLimits), 2);
    EXPECT_FALSE(State().HistoryStreaming);
    EXPECT_TRUE(State().DeviceControls);
    EXPECT_TRUE(Inside(*session).LoggedOn);
}

// ---- Commands ----

TEST_F(SessionOperations, EveryClockCommandIsSentAndAcknowledged) {
    Start();
    LogOn();
    line->desktop.FixedNow = QDateTime(QDate(2026, 12, 7), QTime(1, 30, 5));
    SessionOnLine::Later([&] { session->SetClock(); });
    ASSERT_TRUE(WaitFor([&] { return Received(Cmd::SetClock) == 1; }));
    line->desktop.FixedNow = QDateTime(QDate(2026, 12, 8), QTime(23, 5, 0));
    SessionOnLine::Later([&] { session->SetClock(); });
    ASSERT_TRUE(WaitFor([&] { return line->Log.count("Information: Ustawiono zegar RTC") == 2; }));

    const std::deque<QByteArray> payloads = ReceivedPayloads(Cmd::SetClock);
    ASSERT_EQ(payloads.size(), 2u);
    EXPECT_EQ(payloads[0], Bytes({26, 12, 7, 1, 30, 5}));
    EXPECT_EQ(payloads[1], Bytes({26, 12, 8, 23, 5, 0}));
    EXPECT_EQ(line->Recorder().Clock.date(), QDate(2026, 12, 8));
    EXPECT_TRUE(DeviceControlsOn(State()));
}

TEST_F(SessionOperations, RestartSendsItsFrameAndShowsNothing) {
    Start();
    LogOn();
    SessionOnLine::Later([&] { session->Restart(); });
    ASSERT_TRUE(WaitFor([&] { return Received(Cmd::Restart) == 1; }));
    EXPECT_EQ(ReceivedPayloads(Cmd::Restart).front(), QByteArray("B"));
    EXPECT_TRUE(line->Log.isEmpty());
    EXPECT_EQ(State().Connection, TConnection::LoggedOn);
}

} // namespace
