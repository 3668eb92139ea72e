// The recorder session without a window, under a QCoreApplication, against the simulator:
// what a front end without widgets can do with a recorder.
#include "SessionAccess.h"
#include "SessionOnLine.h"
#include "config/ConfigRecord.h"
#include "config/Container.h"
#include "firmware/FirmwareBlocks.h"
#include "protocol/AnsiCodec.h"
#include "protocol/Commands.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

TEST(SessionWithoutAWindow, LogsOnReadsTheConfigurationDownloadsTheHistoryAndSetsTheClock) {
    tc8sim::SimulatedRecorder::Settings settings = SimulatedLine::DefaultSettings();
    settings.Recorder.HistoryRecords = 25;
    SessionOnLine line(settings);
    TRecorderSession& session = *line.session;
    line.sim->WithModel([](tc8sim::RecorderModel& model, tc8sim::SimTime now) {
        model.Handle(Cmd::Logon, "0157", now);
        model.Handle(Cmd::WriteName, ToAnsi(QStringLiteral("Chłodnia 3")), now);
        model.Handle(Cmd::Logout, "W", now);
    });
    EXPECT_EQ(qApp->metaObject()->className(), QByteArray("QCoreApplication"));

    ASSERT_TRUE(line.LogOn());
    EXPECT_EQ(session.State().Connection, TConnection::LoggedOn);
    EXPECT_EQ(session.State().FirmwareVersion, QStringLiteral("TC-8 v 1.5"));

    SessionOnLine::Later([&] { session.ReadConfig(); });
    ASSERT_TRUE(WaitFor([&] {
        return line.Recorder().RequestCount(Cmd::ReadHeader3) == 1 &&
               session.State().Operation == TOperation::None && session.State().DeviceControls;
    }));
    EXPECT_EQ(session.Config().TC8name, QStringLiteral("Chłodnia 3"));

    QStringList history;
    QObject::connect(&session, &TRecorderSession::HistoryLines,
                     [&history](const QStringList& lines) { history << lines; });
    SessionOnLine::Later([&] { session.StartHistoryDownload(); });
    ASSERT_TRUE(WaitFor([&] { return !history.isEmpty() && history.last() == "Koniec historii"; }));
    EXPECT_EQ(history.size(), 26);
    EXPECT_FALSE(session.HistoryDownloadRunning());

    SessionOnLine::Later([&] { session.SetClock(); });
    ASSERT_TRUE(WaitFor([&] { return !line.Log.isEmpty(); }));
    EXPECT_EQ(line.Log, QStringList{"Information: Ustawiono zegar RTC"});
    EXPECT_TRUE(session.IsLoggedOn());
}

TEST(SessionWithoutAWindow, WritesTheConfigurationClearsChangesThePasswordAndUpdatesFirmware) {
    tc8sim::SimulatedRecorder::Settings settings = SimulatedLine::DefaultSettings();
    // The boot loader must not give up on a loaded machine in the middle of the test.
    settings.Recorder.RestartSilence = std::chrono::minutes(5);
    SessionOnLine line(settings);
    line.desktop.SleepScale = 0.02;
    TRecorderSession& session = *line.session;
    ASSERT_TRUE(line.LogOn());
    const auto idle = [&] {
        return session.State().Operation == TOperation::None && session.State().DeviceControls;
    };

    session.SetConfigText(ConfigField::TC8name, QStringLiteral("Mroźnia 7"));
    SessionOnLine::Later([&] { session.WriteConfig(); });
    ASSERT_TRUE(WaitFor([&] { return line.Recorder().RequestCount(Cmd::WriteHeader3) == 1; }));
    ASSERT_TRUE(WaitFor(idle));
    EXPECT_EQ(line.Recorder().ConfigGroup(Cmd::WriteName), ToAnsi(QStringLiteral("Mroźnia 7")));

    SessionOnLine::Later([&] { session.ClearHistory(); });
    ASSERT_TRUE(WaitFor([&] { return !line.Log.isEmpty(); }));
    EXPECT_TRUE(line.Recorder().HistoryRecords.empty());

    bool changed = false;
    SessionOnLine::Later([&] { changed = session.ChangePassword("4321"); });
    ASSERT_TRUE(WaitFor([&] { return changed; }));
    EXPECT_EQ(line.Recorder().Password, QByteArray("4321"));

    QByteArray image;
    for (int i = 0; i < 2 * FirmwareBlockSize; ++i)
        image.append(static_cast<char>(i % 251));
    QList<int> progress;
    QObject::connect(&session, &TRecorderSession::FirmwareProgress,
                     [&progress](int percent) { progress << percent; });
    bool updated = false;
    SessionOnLine::Later([&] {
        updated = session.UpdateFirmware(FirmwareBlocks(BuildContainer(FirmwareFileTag, image)));
    });
    ASSERT_TRUE(WaitFor([&] { return updated; }));
    EXPECT_EQ(line.Recorder().FirmwareImage, image);
    EXPECT_EQ(line.Recorder().FirmwareAccepted, true);
    EXPECT_EQ(progress, (QList<int>{0, 49, 98, 100}));
    EXPECT_FALSE(session.IsLoggedOn());
    EXPECT_EQ(line.Log, (QStringList{"Information: Historia temperatury skasowana", "beep",
                                     "Warning: NIE WYŁĄCZAJ STEROWNIKA KVAM Z ZASILANIA",
                                     "Information: Aktualizacja zakonczona"}));
}

} // namespace
