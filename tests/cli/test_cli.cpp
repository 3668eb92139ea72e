// tc8-cli run as a process against the simulated recorder on a pseudo-terminal: each
// command once, bad input, a busy port, Ctrl+C and a recorder that stops answering.
#include "CliProcess.h"
#include "PdfText.h"
#include "SimulatedLine.h"
#include "WaitFor.h"
#include "archive/HistoryArchive.h"
#include "config/ConfigFile.h"
#include "config/Container.h"
#include "operations/HistoryCsv.h"
#include "operations/HistoryReadings.h"
#include "operations/HistoryRendering.h"
#include "protocol/Commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString NoAnswer = QStringLiteral("Brak odpowiedzi z rejestratora TC-8");

class CliOnLine : public ::testing::Test {
protected:
    void Start(const std::function<void(tc8sim::SimulatedRecorder::Settings&)>& adjust = {}) {
        tc8sim::SimulatedRecorder::Settings settings = SimulatedLine::DefaultSettings();
        if (adjust)
            adjust(settings);
        line = std::make_unique<SimulatedLine>(std::move(settings));
    }
    // A history long enough, at the line's pace, to act on while it arrives.
    void StartPacedHistory() {
        Start([](auto& settings) {
            settings.Paced = true;
            settings.Recorder.HistoryRecords = 300;
        });
    }

    QString Path(const QString& name) const { return folder.filePath(name); }
    QByteArray Read(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Write(const QString& path, const QByteArray& bytes) const {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    int Received(std::uint8_t code) const { return line->Recorder().RequestCount(code); }

    // The lines the recorder's history gives, the end line last.
    QStringList RecorderHistory() const {
        QStringList lines;
        for (const QByteArray& record : line->Recorder().HistoryRecords)
            lines << *HistoryLine(record);
        return lines << QStringLiteral("Koniec historii");
    }
    // Every line of a saved part of a download is a reading.
    static bool OnlyReadings(const QByteArray& saved) {
        const ParsedHistory parsed = ParseHistory(QString::fromLatin1(saved));
        return !parsed.Readings.empty() && parsed.SkippedLines == 0 && saved.endsWith("\r\n");
    }

    QTemporaryDir folder;
    std::unique_ptr<SimulatedLine> line;
};

TEST_F(CliOnLine, ReadsTheRecorderWithoutChangingIt) {
    Start();
    const CliResult ports = RunCli({"ports"});
    EXPECT_EQ(ports.Exit, 0) << ports.Error.toStdString();
    EXPECT_TRUE(ports.Output.startsWith("COM1   pts/")) << ports.Output.toStdString();
    EXPECT_EQ(ports.Output.count('\n'), 8);

    const CliResult status = RunCli({"status"});
    EXPECT_EQ(status.Exit, 0) << status.Error.toStdString();
    const QStringList lines = QString::fromUtf8(status.Output).split(u'\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("T1 = +")));
    EXPECT_EQ(lines[3], QStringLiteral("Data = ") +
                            line->Recorder().Clock.toString(QStringLiteral("yyyy.MM.dd")));
    EXPECT_TRUE(status.Error.isEmpty()) << status.Error.toStdString();

    const CliResult json = RunCli({"status", "--json"});
    EXPECT_EQ(json.Exit, 0);
    EXPECT_TRUE(QJsonDocument::fromJson(json.Output).object().value("ZasilanieOk").toBool());

    const CliResult config = RunCli({"config", "read"});
    EXPECT_EQ(config.Exit, 0) << config.Error.toStdString();
    EXPECT_TRUE(config.Output.contains("\nTempMin = +4\n")) << config.Output.toStdString();
    EXPECT_EQ(config.Output.count('\n'), 11);

    // With its frames traced: the logon's password never shown, the logout last.
    const CliResult clock = RunCli({"clock", "--trace", Path("trace.txt")});
    EXPECT_EQ(clock.Exit, 0);
    const QStringList traced =
        QString::fromUtf8(Read(Path("trace.txt"))).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(traced.size(), 6);
    EXPECT_TRUE(traced[0].contains(QStringLiteral("→ 01 Logowanie | ** ** ** ** | ****")));
    EXPECT_TRUE(traced[1].contains(QStringLiteral("← 01 Logowanie | 54 35 | T5")));
    EXPECT_TRUE(traced.last().contains(QStringLiteral("← 02 Wylogowanie")));
    const QDateTime shown = QDateTime::fromString(QString::fromUtf8(clock.Output.trimmed()),
                                                  QStringLiteral("yyyy.MM.dd HH:mm:ss"));
    EXPECT_LT(std::abs(shown.secsTo(line->Recorder().Clock)), 60) << clock.Output.toStdString();

    for (const std::uint8_t code : {Cmd::SetClock, Cmd::ClearHistory, Cmd::Restart})
        EXPECT_EQ(Received(code), 0) << int(code);
}

TEST_F(CliOnLine, ChangesTheRecorderAsTheWindowDoes) {
    Start();
    ConfigRecord record;
    record.TC8Nazwa = QStringLiteral("Chłodnia ŁÓDŹ");
    record.TC8Typ = QStringLiteral("TC-8");
    record.TempMin = 126; // -2
    record.TempZapisz = QStringLiteral("5");
    const QByteArray file = BuildConfigFile(QStringLiteral("0157"), record).Image;
    Write(Path("seria.rcf"), file);

    const CliResult written = RunCli({"config", "write", Path("seria.rcf")});
    EXPECT_EQ(written.Exit, 0) << written.Error.toStdString();
    const CliResult read = RunCli({"config", "read", "-o", Path("odczyt.rcf")});
    EXPECT_EQ(read.Exit, 0) << read.Error.toStdString();
    EXPECT_EQ(Read(Path("odczyt.rcf")), file);
    const CliResult shown = RunCli({"config", "show", Path("odczyt.rcf")});
    EXPECT_TRUE(shown.Output.startsWith("haslo = 0157\nTC8Nazwa = Chłodnia ŁÓDŹ\n"))
        << shown.Output.toStdString();
    EXPECT_TRUE(shown.Output.contains("\nTempMin = -2\n"));

    const CliResult clock = RunCli({"clock", "set", "--at", "2030-01-02 03:04:05"});
    EXPECT_EQ(clock.Exit, 0) << clock.Error.toStdString();
    EXPECT_EQ(clock.Error, QStringLiteral("Ustawiono zegar RTC\n"));
    EXPECT_LT(std::abs(line->Recorder().Clock.secsTo(QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5)))),
              60);

    EXPECT_EQ(RunCli({"password", "4321"}).Exit, 0);
    EXPECT_EQ(line->Recorder().Password, QByteArray("4321"));
    const CliResult cleared = RunCli({"history", "clear", "--yes", "--password", "4321"});
    EXPECT_EQ(cleared.Exit, 0) << cleared.Error.toStdString();
    EXPECT_TRUE(line->Recorder().HistoryRecords.empty());
    qputenv("TC8_PASSWORD", "4321");
    const CliResult restarted = RunCli({"restart"});
    qunsetenv("TC8_PASSWORD");
    EXPECT_EQ(restarted.Exit, 0) << restarted.Error.toStdString();
    EXPECT_EQ(Received(Cmd::Restart), 1);
}

TEST_F(CliOnLine, HistoryComesWholeAsTheWindowsTextOrItsCsv) {
    Start();
    const CliResult text = RunCli({"history", "-o", Path("historia.txt")});
    EXPECT_EQ(text.Exit, 0) << text.Error.toStdString();
    const QStringList lines = RecorderHistory();
    EXPECT_EQ(Read(Path("historia.txt")), (lines.join(QStringLiteral("\r\n")) + "\r\n").toLatin1());

    const CliResult csv = RunCli({"history", "--format", "csv"});
    EXPECT_EQ(csv.Exit, 0);
    EXPECT_EQ(csv.Output, HistoryCsvBytes(ParseHistory(lines.join(u'\n')).Readings));
}

// The report from the recorder, then of the same download from the archive and from its
// saved file with the configuration read beside it: each with the recorder's header, and
// without a display.
TEST_F(CliOnLine, ReportsADownloadFromTheRecorderTheArchiveOrAFile) {
    Start();
    for (const char* unset : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        qunsetenv(unset);
    const CliResult live = RunCli({"report", "-o", Path("teraz.pdf")});
    EXPECT_EQ(live.Exit, 0) << live.Error.toStdString();
    EXPECT_EQ(live.Error, QStringLiteral("Zapisano raport PDF: %1\n").arg(Path("teraz.pdf")));

    const CliResult listed = RunCli({"archive", "list", "--json"});
    ASSERT_EQ(listed.Exit, 0) << listed.Error.toStdString();
    const QJsonArray downloads = QJsonDocument::fromJson(listed.Output).array();
    ASSERT_EQ(downloads.size(), 1);
    const QString id = QString::number(downloads[0][QStringLiteral("id")].toInteger());
    EXPECT_EQ(downloads[0][QStringLiteral("end")], QStringLiteral("całe"));
    const CliResult archived =
        RunCli({"report", "-o", Path("archiwum.pdf"), "--archive", id, "--readings"});
    EXPECT_EQ(archived.Exit, 0) << archived.Error.toStdString();

    ASSERT_EQ(RunCli({"config", "read", "-o", Path("konfiguracja.rcf")}).Exit, 0);
    ASSERT_EQ(RunCli({"history", "-o", Path("historia.txt")}).Exit, 0);
    const CliResult saved =
        RunCli({"report", "-o", Path("plik.pdf"), "--from-file", Path("historia.txt"), "--config",
                Path("konfiguracja.rcf"), "--delay", "30"});
    EXPECT_EQ(saved.Exit, 0) << saved.Error.toStdString();

    const QString name = QJsonDocument::fromJson(
                             RunCli({"config", "show", Path("konfiguracja.rcf"), "--json"}).Output)
                             .object()[QStringLiteral("TC8name")]
                             .toString();
    ASSERT_FALSE(name.isEmpty());
    for (const char* file : {"teraz.pdf", "archiwum.pdf", "plik.pdf"}) {
        SCOPED_TRACE(file);
        const QString text = PdfText(Path(file));
        EXPECT_TRUE(text.contains(name)) << text.toStdString();
        EXPECT_EQ(text.contains(QStringLiteral("Port: COM1")), file[0] != 'p');
        EXPECT_EQ(text.contains(QStringLiteral("Wszystkie odczyty")), file[0] == 'a');
        EXPECT_EQ(text.contains(QStringLiteral("Opóźnienie: 30 min")), file[0] == 'p');
    }
}

TEST_F(CliOnLine, BadInputGetsItsAnswerAndLeavesTheRecorderAlone) {
    Start();
    Write(Path("firmware.rfr"), BuildContainer(FirmwareFileTag, QByteArray(300, 'x')));
    Write(Path("pusty.rfr"), BuildContainer(FirmwareFileTag, {}));
    struct Case {
        QStringList arguments;
        int exit;
        QString said;
    };
    const QList<Case> cases{
        {{"config", "write", Path("brak.rcf")},
         6,
         QStringLiteral("Nie można otworzyć pliku %1: nie ma takiego pliku").arg(Path("brak.rcf"))},
        {{"status", "-p", Path("")},
         3,
         QStringLiteral("Port COM niedostępny\n%1 nie jest portem szeregowym").arg(Path(""))},
        {{"config", "write", Path("firmware.rfr")}, 6, "Zly format pliku\n"},
        {{"config", "read", "-o", Path("brak/odczyt.rcf")}, 6, "Błąd zapisu"},
        {{"firmware", Path("pusty.rfr"), "--yes"}, 6, "nie zawiera oprogramowania"},
        {{"history", "clear"}, 2, "tylko z --yes"},
        {{"status", "--trace", Path("brak/slad.txt")}, 6, "Błąd zapisu"},
        {{"status", "--password", "9999"}, 4, "Błędne hasło\n"},
        {{"status", "-p", "COM5"}, 3, "Port COM niedostępny\nPod numerem COM5 nie ma portu."},
        {{"archive", "list"}, 6, "Archiwum pobrań było uszkodzone: odłożono je jako "},
    };
    QDir().mkpath(QFileInfo(THistoryArchive::DefaultPath()).absolutePath());
    Write(THistoryArchive::DefaultPath(), QByteArray(4096, 'x'));
    for (const Case& c : cases) {
        const CliResult result = RunCli(c.arguments);
        EXPECT_EQ(result.Exit, c.exit) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.Error.contains(c.said)) << result.Error.toStdString();
        EXPECT_EQ(result.Error.count(u'\n'), c.said.contains(u'\n') && c.exit == 3 ? 2 : 1)
            << result.Error.toStdString();
        EXPECT_TRUE(result.Output.isEmpty());
    }
    for (const std::uint8_t code : {Cmd::ClearHistory, Cmd::Restart, Cmd::HistoryStart})
        EXPECT_EQ(Received(code), 0) << int(code);
    EXPECT_FALSE(QFile::exists(Path("brak/odczyt.rcf")));

    // Asked on a terminal, Ctrl+C is no.
    int terminal = -1;
    const pid_t asked = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (asked == 0) {
        execl(TC8_CLI, TC8_CLI, "history", "clear", nullptr);
        _exit(127);
    }
    ASSERT_GT(asked, 0);
    QByteArray shown;
    const auto shows = [&](const QByteArray& text) {
        return WaitFor([&] {
            char bytes[256];
            pollfd ready{terminal, POLLIN, 0};
            if (poll(&ready, 1, 50) > 0)
                if (const ssize_t got = read(terminal, bytes, sizeof bytes); got > 0)
                    shown.append(bytes, got);
            return shown.contains(text);
        });
    };
    ASSERT_TRUE(shows("[t/N]")) << shown.toStdString();
    ASSERT_EQ(write(terminal, "\x03", 1), 1);
    EXPECT_TRUE(shows("Nic nie zrobiono.")) << shown.toStdString();
    int status = 0;
    if (!WaitFor([&] { return waitpid(asked, &status, WNOHANG) == asked; })) {
        kill(asked, SIGKILL);
        waitpid(asked, &status, 0);
    }
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 7);
    close(terminal);
    EXPECT_EQ(Received(Cmd::ClearHistory), 0);

    // Data that does not reach standard output (a full disk behind a redirection) fails too.
    QProcess full;
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(QStringLiteral(TC8_CLI), {"status"});
    ASSERT_TRUE(full.waitForFinished(60000));
    EXPECT_EQ(full.exitCode(), 6);
    EXPECT_TRUE(QString::fromUtf8(full.readAllStandardError())
                    .endsWith(QStringLiteral("Błąd zapisu: standardowe wyjście\n")));
}

TEST_F(CliOnLine, ABusyPortNamesItsHolderAndAWatchEndsWithCtrlC) {
    Start();
    CliProcess watch({"status", "--watch"});
    ASSERT_TRUE(watch.WaitForOutput("T1 +")) << watch.Error().toStdString();

    const CliResult busy = RunCli({"status"});
    EXPECT_EQ(busy.Exit, 3);
    EXPECT_TRUE(busy.Error.startsWith(QStringLiteral("Port COM niedostępny\nPort /dev/pts/")))
        << busy.Error.toStdString();
    EXPECT_TRUE(busy.Error.contains(QStringLiteral("jest zajęty przez program tc8-cli (PID ")))
        << busy.Error.toStdString();

    watch.Signal(SIGINT);
    EXPECT_EQ(watch.Finish(), 0) << watch.Error().toStdString();
    EXPECT_TRUE(watch.Error().isEmpty()) << watch.Error().toStdString();
    EXPECT_FALSE(line->Recorder().LoggedOn); // logged off on the way out

    // A recorder that goes silent ends a watch as a failure, said.
    CliProcess silenced({"status", "--watch"});
    ASSERT_TRUE(silenced.WaitForOutput("T1 +")) << silenced.Error().toStdString();
    tc8sim::FaultOptions faults;
    faults.Silent = true;
    line->sim->SetFaults(faults);
    EXPECT_EQ(silenced.Finish(), 5);
    EXPECT_EQ(silenced.Error(), NoAnswer + u'\n');
}

TEST_F(CliOnLine, CtrlCDuringADownloadStopsItAndKeepsWhatArrived) {
    StartPacedHistory();
    CliProcess download({"history", "-v", "-o", Path("historia.txt")});
    ASSERT_TRUE(download.WaitForError("Historia temperatury: 10%"))
        << download.Error().toStdString();
    download.Signal(SIGINT);
    EXPECT_EQ(download.Finish(), 7) << download.Error().toStdString();

    EXPECT_GE(Received(Cmd::HistoryStop), 1); // with each record until acknowledged
    const QByteArray saved = Read(Path("historia.txt"));
    EXPECT_TRUE(OnlyReadings(saved)) << saved.left(200).toStdString();
    EXPECT_TRUE(RecorderHistory().join(QStringLiteral("\r\n")).toLatin1().startsWith(saved));
    EXPECT_FALSE(line->Recorder().HistoryStreaming);

    // Its report says it holds only what arrived.
    const CliResult report = RunCli({"report", "-o", Path("r.pdf"), "--archive", "1"});
    EXPECT_EQ(report.Exit, 0) << report.Error.toStdString();
    EXPECT_TRUE(
        PdfText(Path("r.pdf")).contains(QStringLiteral("Pobieranie niepełne (zatrzymane)")));
}

TEST_F(CliOnLine, ARecorderThatStopsAnsweringLeavesWhatArrivedAndSaysSo) {
    StartPacedHistory();
    CliProcess download({"history", "-v", "-o", Path("historia.txt")});
    ASSERT_TRUE(download.WaitForError("Historia temperatury: 10%"))
        << download.Error().toStdString();
    tc8sim::FaultOptions faults;
    faults.Silent = true;
    line->sim->SetFaults(faults);
    EXPECT_EQ(download.Finish(), 5) << download.Error().toStdString();

    EXPECT_TRUE(download.Error().contains(NoAnswer + u'\n'));
    EXPECT_TRUE(OnlyReadings(Read(Path("historia.txt"))));
}

TEST_F(CliOnLine, FirmwareGoesWholeAndCtrlCWaitsForIt) {
    Start([](auto& settings) {
        settings.Recorder.RestartSilence = std::chrono::minutes(5);
        settings.Paced = true; // the blocks take long enough to press Ctrl+C among them
    });
    QByteArray image(1000, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i * 7);
    Write(Path("tc8.rfr"), BuildContainer(FirmwareFileTag, image));

    CliProcess update({"firmware", Path("tc8.rfr"), "--yes", "-v"});
    ASSERT_TRUE(update.WaitForError("Aktualizacja oprogramowania: 25%"))
        << update.Error().toStdString();
    update.Signal(SIGINT);
    EXPECT_EQ(update.Finish(), 0) << update.Error().toStdString();

    EXPECT_TRUE(update.Error().contains("Aktualizacji nie można przerwać"));
    EXPECT_TRUE(update.Error().contains("NIE WYŁĄCZAJ STEROWNIKA KVAM Z ZASILANIA\n"));
    EXPECT_TRUE(update.Error().contains("Aktualizacja zakonczona\n"));
    EXPECT_EQ(line->Recorder().FirmwareAccepted, true);
    EXPECT_TRUE(line->Recorder().FirmwareImage.startsWith(image));
}

} // namespace
