// The session's exchange with the simulated recorder, without a window: the logon's attempts,
// the status poll, and the waits for answers with their re-sends.
#include "SessionAccess.h"
#include "SessionOnLine.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString NoAnswer = QStringLiteral("Error: Brak odpowiedzi z rejestratora TC-8");

class SessionExchange : public ::testing::Test {
protected:
    SessionOnLine line;
    TRecorderSession& session = *line.session;

    tc8sim::FaultOptions Faults() const { return line.sim->Faults(); }
    void SetFaults(const tc8sim::FaultOptions& f) { line.sim->SetFaults(f); }
    int Requests(std::uint8_t code) const { return line.Recorder().RequestCount(code); }

    // "POŁĄCZ" on COM1, without waiting for the logon.
    void Connect(const QString& password = QStringLiteral("0157")) {
        SessionOnLine::Later([this, password] { session.Connect(1, password); });
    }
};

// ---- The logon and the poll ----

TEST_F(SessionExchange, TheStatusPollFollowsTheLogonAndRepeats) {
    ASSERT_TRUE(line.LogOn());
    EXPECT_TRUE(WaitFor([&] { return Requests(Cmd::Status) >= 3; }));
    EXPECT_EQ(session.State().Connection, TConnection::LoggedOn);
    EXPECT_TRUE(line.Log.isEmpty());
}

TEST_F(SessionExchange, NoPollWhileTheDeviceControlsAreDisabled) {
    ASSERT_TRUE(line.LogOn());
    session.DisableDeviceControls();
    const int polls = Requests(Cmd::Status);
    // Longer than a poll period (15 ticks): count ticks rather than time.
    int ticks = 0;
    const QObject counting; // ends the counting with the test
    QObject::connect(Inside(session).Timer, &QTimer::timeout, &counting, [&ticks] { ++ticks; });
    ASSERT_TRUE(WaitFor([&] { return ticks >= 40; }));
    EXPECT_EQ(Requests(Cmd::Status), polls);
}

TEST_F(SessionExchange, ALostAnswerCostsOneAttempt) {
    auto faults = Faults();
    faults.DropNext = 1;
    SetFaults(faults);
    ASSERT_TRUE(line.LogOn());
    EXPECT_EQ(Requests(Cmd::Logon), 2);
    EXPECT_TRUE(line.Log.isEmpty());
}

TEST_F(SessionExchange, FourUnansweredAttemptsReportAndLogOff) {
    auto faults = Faults();
    faults.Silent = true;
    SetFaults(faults);
    Connect();
    ASSERT_TRUE(WaitFor([&] { return line.Log.size() >= 2; }));
    EXPECT_EQ(line.Log, (QStringList{"beep", NoAnswer}));
    EXPECT_EQ(Requests(Cmd::Logon), 4);
    EXPECT_EQ(session.State().Connection, TConnection::Connected);
    EXPECT_TRUE(session.Comm().IsOpen());
    EXPECT_TRUE(DeviceControlsOff(session.State())); // "POŁĄCZ" is offered again
}

TEST_F(SessionExchange, APasswordNoRequestCarriesIsReportedAndNothingIsSent) {
    Connect(QString(MaxRequestPayload + 1, u'1')); // as a file may give it
    ASSERT_TRUE(WaitFor([&] { return line.Log.size() >= 2; }));
    EXPECT_EQ(line.Log, (QStringList{"beep", "Error: Hasło jest za długie"}));
    EXPECT_EQ(session.State().Connection, TConnection::Connected);
    EXPECT_FALSE(session.State().DeviceControls); // "POŁĄCZ" is offered again
    EXPECT_EQ(Requests(Cmd::Logon), 0);
}

// ---- Waits ----

TEST_F(SessionExchange, ThePollNeverStartsInsideAWait) {
    ASSERT_TRUE(line.LogOn());
    ASSERT_TRUE(WaitFor([&] { return Requests(Cmd::Status) >= 1; }));
    auto faults = Faults();
    faults.Delay = std::chrono::milliseconds(40 * SessionOnLine::TickMs);
    SetFaults(faults);
    const int polls = Requests(Cmd::Status);
    bool answered = false;
    bool done = false;
    SessionOnLine::Later([&] {
        session.SendRequest(Cmd::ClearHistory, "x");
        answered = session.WaitForResponse(Cmd::LongTimeout, Cmd::ClearHistory);
        done = true;
    });
    ASSERT_TRUE(WaitFor([&] { return done; }));
    EXPECT_TRUE(answered);
    EXPECT_EQ(Requests(Cmd::Status), polls);
    EXPECT_EQ(Requests(Cmd::ClearHistory), 1);
    EXPECT_TRUE(line.Log.isEmpty());
}

TEST_F(SessionExchange, AnAnswerFollowedByAnotherFrameStillEndsTheWait) {
    ASSERT_TRUE(line.LogOn());
    session.DisableDeviceControls();
    bool answered = false;
    bool done = false;
    SessionOnLine::Later([&] {
        session.SendRequest(0x30, "?"); // a code the recorder does not know: it stays silent
        // The awaited answer and another frame arrive in one delivery.
        Inside(session).ExtractFrame(BuildResponseFrame(0x30, "ok") + BuildResponseFrame(0x02, {}));
        answered = session.WaitForResponse(Cmd::ShortTimeout, 0x30);
        done = true;
    });
    ASSERT_TRUE(WaitFor([&] { return done; }));
    EXPECT_TRUE(answered);
    EXPECT_EQ(Inside(session).ResponseCode, 0x30);
    EXPECT_EQ(Inside(session).ResponsePayload, QByteArray("ok"));
}

TEST_F(SessionExchange, ARequestSentDuringAWaitDoesNotHideItsAnswer) {
    ASSERT_TRUE(line.LogOn());
    session.DisableDeviceControls();
    bool answered = false;
    bool done = false;
    SessionOnLine::Later([&] {
        session.SendRequest(0x30, "a"); // unknown to the recorder: only the test answers it
        SessionOnLine::Later([&] {
            Inside(session).ExtractFrame(BuildResponseFrame(0x30, "ok"));
            session.SendRequest(0x31, "b"); // say, a history stop sent by a record handler
        });
        answered = session.WaitForResponse(Cmd::ShortTimeout, 0x30);
        done = true;
    });
    ASSERT_TRUE(WaitFor([&] { return done; }));
    EXPECT_TRUE(answered);
    EXPECT_EQ(Inside(session).ResponsePayload, QByteArray("ok"));
}

TEST_F(SessionExchange, AWaitResendsItsOwnRequest) {
    ASSERT_TRUE(line.LogOn());
    session.DisableDeviceControls();
    bool done = false;
    SessionOnLine::Later([&] {
        session.SendRequest(0x30, "a");
        SessionOnLine::Later([&] { session.SendRequest(0x31, "b"); });
        session.WaitForResponse(Cmd::ShortTimeout, 0x30);
        done = true;
    });
    ASSERT_TRUE(WaitFor([&] { return done; }));
    ASSERT_TRUE(WaitFor([&] { return Requests(0x30) == 4; }));
    EXPECT_EQ(Requests(0x31), 1);
    EXPECT_EQ(line.Log, (QStringList{"beep", NoAnswer}));
}

TEST_F(SessionExchange, SplitAndGluedAnswersStillLogOn) {
    auto faults = Faults();
    faults.Split = true;
    faults.Glue = true;
    SetFaults(faults);
    ASSERT_TRUE(line.LogOn());
    EXPECT_TRUE(WaitFor([&] { return Requests(Cmd::Status) >= 2; }));
    EXPECT_EQ(session.State().Connection, TConnection::LoggedOn);
}

TEST_F(SessionExchange, NoiseBeforeTheAnswerIsDropped) {
    auto faults = Faults();
    faults.PrefixNext = QByteArray("\x01n\x65zz", 5); // a false start with length 101
    SetFaults(faults);
    ASSERT_TRUE(line.LogOn());
    EXPECT_EQ(Requests(Cmd::Logon), 1);
}

} // namespace
