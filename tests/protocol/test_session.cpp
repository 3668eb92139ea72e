// The recorder session without a window, under a QCoreApplication, against the simulator:
// what a front end without widgets can do with a recorder.
#include "SessionAccess.h"
#include "SessionOnLine.h"
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

} // namespace
