// tc8-cli and the window on one recorder: what one saves is what the other saves.
#include "CliProcess.h"
#include "RecorderSession.h"
#include "config/ConfigFile.h"
#include "protocol/Commands.h"
#include "ui/TGauge.h"

#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(CliBesideTheWindow, SavesTheWindowsFilesByteForByte) {
    tc8sim::SimulatedRecorder::Settings settings = RecorderSession::DefaultSettings();
    settings.Recorder.HistoryRecords = 500;
    RecorderSession line(std::move(settings));
    TMain& window = *line.window;
    QTemporaryDir folder;
    auto path = [&](const char* name) { return folder.filePath(QString::fromLatin1(name)); };

    // A configuration the command line writes, for both to read back.
    ConfigRecord record;
    record.TC8Nazwa = QStringLiteral("Mroźnia nr 2");
    record.TC8Nazwa3 = QStringLiteral("tel. 600 100 200");
    record.TempMax = 120;      // -8
    record.TempKorekta2 = 133; // -0,5
    record.IleDruk = QStringLiteral("24");
    {
        QFile file(path("seria.rcf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(BuildConfigFile(QStringLiteral("0157"), record).Image);
    }
    const CliResult written = RunCli({"config", "write", path("seria.rcf")});
    ASSERT_EQ(written.Exit, 0) << written.Error.toStdString();

    ASSERT_TRUE(line.LogOn());
    RecorderSession::Click(window.Icon_get);
    ASSERT_TRUE(WaitFor([&] {
        return line.Recorder().RequestCount(Cmd::LastConfigRead) == 1 &&
               window.Panel_bar->isHidden();
    }));
    line.desktop.FileAnswers.push_back(path("okno.rcf"));
    QTimer::singleShot(0, window.Zapis1, &QAction::trigger);
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(path("okno.rcf")); }));

    RecorderSession::Click(window.ButtonPobierz);
    ASSERT_TRUE(WaitFor([&] {
        return window.trm->document()->lastBlock().text() == QStringLiteral("Koniec historii");
    }));
    line.desktop.FileAnswers.push_back(path("okno.txt"));
    RecorderSession::Click(window.ButtonZapisz);
    ASSERT_TRUE(
        WaitFor([&] { return line.desktop.CountOf("Information: Zapisano plik historii") == 1; }));
    RecorderSession::Click(window.Button_rozlacz);
    ASSERT_TRUE(WaitFor([&] { return line.Settled(); }));

    const CliResult config = RunCli({"config", "read", "-o", path("cli.rcf")});
    EXPECT_EQ(config.Exit, 0) << config.Error.toStdString();
    EXPECT_EQ(Read(path("cli.rcf")), Read(path("okno.rcf")));
    EXPECT_EQ(Read(path("cli.rcf")), Read(path("seria.rcf")));
    const CliResult history = RunCli({"history", "-o", path("cli.txt")});
    EXPECT_EQ(history.Exit, 0) << history.Error.toStdString();
    EXPECT_EQ(Read(path("cli.txt")), Read(path("okno.txt")));
    EXPECT_EQ(Read(path("cli.txt")).count("\r\n"), 501);
}

} // namespace
