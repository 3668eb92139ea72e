// The session's wait for the boot loader's block acknowledgement, without a window.
#include "SessionAccess.h"
#include "SessionOnLine.h"
#include "protocol/Commands.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString NoAcknowledgement =
    QStringLiteral("Error: Brak odpowiedzi z KVAM, aktualizacja nieudana");

tc8sim::SimulatedRecorder::Settings HoldingItsBootLoader() {
    tc8sim::SimulatedRecorder::Settings settings = SimulatedLine::DefaultSettings();
    // The boot loader gives up after a silence counted from the restart or the last block;
    // a loaded machine must not make it give up in the middle of a test.
    settings.Recorder.RestartSilence = std::chrono::minutes(5);
    return settings;
}

class SessionFirmware : public ::testing::Test {
protected:
    SessionFirmware() : line(HoldingItsBootLoader()) {}

    SessionOnLine line;
    TRecorderSession& session = *line.session;

    // The port open, nobody logged on: no status poll can take a fault meant for a block.
    void OpenPort() {
        Inside(session).RsComm->Open();
        ASSERT_TRUE(Inside(session).RsComm->IsOpen());
    }
};

TEST_F(SessionFirmware, AnAcknowledgementInThePassThatRunsOutOfTimeCounts) {
    // With the tick stopped, one queued handler uses up the attempt's ticks; with and
    // without a lone "!" arriving in the same pass.
    Inside(session).Timer->stop();
    for (const bool acknowledged : {false, true}) {
        QTimer::singleShot(0, &session, [&] {
            for (int tick = 0; tick < Cmd::ShortTimeout; ++tick)
                Inside(session).TimerTimer();
            if (acknowledged)
                Inside(session).LastSingleRxByte = Cmd::FirmwareAck;
        });
        EXPECT_EQ(Inside(session).WaitForBlockAcknowledgement(), acknowledged);
    }
}

TEST_F(SessionFirmware, AnAcknowledgementLeftFromBeforeDoesNotCountForTheNextBlock) {
    OpenPort();
    tc8sim::FaultOptions faults = line.sim->Faults();
    faults.Silent = true;
    line.sim->SetFaults(faults);
    Inside(session).LastSingleRxByte = Cmd::FirmwareAck;
    int repeatsLeft = 0;
    EXPECT_FALSE(Inside(session).SendFirmwareBlock(QByteArray(129, '\0'), repeatsLeft));
    EXPECT_EQ(line.Recorder().RequestCount(Cmd::FirmwareBlock), 1);
    EXPECT_EQ(line.Log, (QStringList{"beep", NoAcknowledgement}));
}

} // namespace
