// A long run against a recorder on a bad line: 2 % of its answers corrupted, 2 % dropped,
// every answer delivered in pieces. Thousands of status polls and a score of history
// downloads in one run of the real window, serial component and simulator. Whenever the
// window gives up and logs off, the test logs on again as the user would; a download whose
// end marker was lost is ended with STOP and a configuration read. Every history record
// that reached the line intact must be in the text box, and memory must stay flat.
#include "MainAccess.h"
#include "ProcessUsage.h"
#include "RecorderSession.h"
#include "ReplyLedger.h"
#include "operations/HistoryRendering.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

constexpr int StatusPolls = 5000;
constexpr int Downloads = 20;
constexpr int MemoryFromPoll = 1000;
// The tick is cut to 2 ms to get through the polls in minutes. Every time-out keeps its
// count of ticks, so a poll's four attempts last 80 ms: enough for an answer whose pieces
// come up to 30 ms apart, but after a lost answer the re-sent one often comes too late and
// the window logs off, which the run then puts right as the user would.
constexpr int TickMs = 2;
// Generous: a leak of a few hundred bytes per poll would show as megabytes.
constexpr long long MemoryGrowthLimit = 32LL << 20;
constexpr int LogonAttemptsLimit = 30;

class Soak : public ::testing::Test {
protected:
    Soak() : session(Settings(ledger)) {
        Inside(w).SetTickIntervalForTests(TickMs);
        session.desktop.SleepScale = 0;
        // Runs after the window's own handler, so these count finished clicks.
        QObject::connect(w.Button_polacz, &QPushButton::clicked, [this] { ++logonsDone; });
        QObject::connect(w.ButtonPobierz, &QPushButton::clicked, [this] { ++startsDone; });
    }

    static tc8sim::SimulatedRecorder::Settings Settings(ReplyLedger& ledger) {
        tc8sim::SimulatedRecorder::Settings settings = RecorderSession::DefaultSettings();
        settings.Faults.DropPercent = 2;
        settings.Faults.CorruptPercent = 2;
        settings.Faults.Split = true;
        settings.Recorder.Seed = 8;
        settings.Trace = ledger.Sink();
        return settings;
    }

    int Polls() const { return ledger.Requests(Cmd::Status); }

    // "POŁĄCZ" until the window is logged on; the port stays open throughout.
    void LogOn() {
        for (int attempt = 0; !Inside(w).LoggedOn; ++attempt) {
            ASSERT_LT(attempt, LogonAttemptsLimit)
                << "the window does not log on: " << session.desktop.Log.join(u'\n').toStdString();
            ASSERT_TRUE(w.Button_polacz->isEnabled());
            const int before = logonsDone;
            RecorderSession::Click(w.Button_polacz);
            ASSERT_TRUE(WaitFor([&] { return logonsDone > before; }, 60000)) << "logon hangs";
        }
    }

    bool Idle() const {
        return Inside(w).LoggedOn && Inside(w).WaitsInProgress == 0 && w.ButtonPobierz->isEnabled();
    }

    bool DownloadShownRunning() const {
        return Inside(w).LoggedOn && Inside(w).WaitsInProgress == 0 && w.ButtonSTOP->isEnabled();
    }

    bool Streaming() const { return session.sim->Snapshot().HistoryStreaming; }

    // Writes one record of its own to the line, behind everything on its way, and waits
    // until the window shows it: then it has handled every byte sent before. A false start
    // may hold the record back until the next answer comes, so it is sent again if need be.
    void Barrier() {
        for (int attempt = 0;; ++attempt) {
            ASSERT_LT(attempt, 5) << "the window does not take what the line brings";
            ++barriers;
            // Year 2255: no record of the simulator's looks like it.
            QByteArray record("\xFF\x01\x01", 3);
            for (const int part : {barriers / 3600 % 24, barriers / 60 % 60, barriers % 60})
                record.append(static_cast<char>(part));
            record.append(4, '\0');
            const QString line = *HistoryLine(record);
            session.sim->SendRaw(BuildResponseFrame(Cmd::HistoryRecord, record));
            if (WaitFor([&] { return !w.trm->document()->find(line).isNull(); }, 5000))
                return;
        }
    }

    // Every safe record sent since the download started is a line of the text box.
    void CheckRecords(int download) {
        Barrier();
        QSet<QString> shown;
        for (QTextBlock block = w.trm->document()->begin(); block.isValid(); block = block.next())
            shown.insert(block.text());
        int missing = 0;
        for (const QByteArray& record : ledger.TakeSafeRecords()) {
            ++recordsChecked;
            if (!shown.contains(*HistoryLine(record)) && ++missing <= 3)
                ADD_FAILURE() << "download " << download << ": record missing from trm: "
                              << HistoryLine(record)->toStdString();
        }
        EXPECT_EQ(missing, 0) << "download " << download;
    }

    void RunDownload(int download) {
        ledger.TakeSafeRecords();
        const int before = startsDone;
        RecorderSession::Click(w.ButtonPobierz);
        ASSERT_TRUE(WaitFor([&] { return startsDone > before; }, 60000)) << "START hangs";
        bool stopped = false;
        for (;;) {
            ASSERT_TRUE(WaitFor(
                [&] {
                    return !Inside(w).LoggedOn || Idle() ||
                           (DownloadShownRunning() && !Streaming());
                },
                60000))
                << "download " << download << " hangs";
            if (!Inside(w).LoggedOn) {
                ++logOffsFound;
                ASSERT_NO_FATAL_FAILURE(LogOn());
            } else if (Idle()) {
                if (!Streaming())
                    break;
                ASSERT_TRUE(WaitFor([&] { return !Streaming(); }, 60000));
            } else if (!stopped) {
                // The stream is over; once the window has had every byte of it and still
                // shows the download running, its end marker was lost.
                ASSERT_NO_FATAL_FAILURE(Barrier());
                if (!DownloadShownRunning())
                    continue;
                ++stuckDownloads;
                stopped = true;
                w.ButtonSTOP->click();
                RecorderSession::Click(w.Icon_get);
                ASSERT_TRUE(WaitFor([&] { return !DownloadShownRunning(); }, 60000));
            }
        }
        ASSERT_NO_FATAL_FAILURE(CheckRecords(download));
        const bool complete = w.trm->toPlainText().contains(QStringLiteral("Koniec historii"));
        completeDownloads += complete;
        std::printf("soak: download %d at poll %d: %s, %d history start requests so far\n",
                    download, Polls(), complete ? "complete" : "ended with STOP",
                    ledger.Requests(Cmd::HistoryStart));
    }

    ReplyLedger ledger;
    RecorderSession session;
    TMain& w = *session.window;
    int logonsDone = 0;
    int startsDone = 0;
    int logOffsFound = 0;
    int stuckDownloads = 0;
    int completeDownloads = 0;
    int barriers = 0;
    int recordsChecked = 0;
};

TEST_F(Soak, PollsAndDownloadsOnABadLine) {
    ASSERT_NO_FATAL_FAILURE(LogOn());
    long long memoryEarly = 0;
    const CpuShare cpu;
    const auto started = std::chrono::steady_clock::now();
    for (int downloads = 0;;) {
        const int polls = Polls();
        if (polls >= MemoryFromPoll && memoryEarly == 0)
            memoryEarly = ResidentBytes();
        if (polls >= StatusPolls && downloads == Downloads)
            break;
        if (!Inside(w).LoggedOn) {
            ++logOffsFound;
            ASSERT_NO_FATAL_FAILURE(LogOn());
        } else if (downloads < Downloads &&
                   polls >= (downloads + 1) * StatusPolls / (Downloads + 1)) {
            ASSERT_NO_FATAL_FAILURE(RunDownload(++downloads));
        } else {
            ASSERT_TRUE(WaitFor([&] { return Polls() > polls || !Inside(w).LoggedOn; }, 20000))
                << "no status poll for 20 s at poll " << polls;
        }
    }
    const long long memoryLate = ResidentBytes();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    const ReplyLedger::Tally tally = ledger.Totals();

    std::printf("soak: %d status requests and %d downloads (%d ended by the recorder's end "
                "marker, %d ended with STOP) in %.0f s, CPU %.0f %% of one core\n",
                Polls(), Downloads, completeDownloads, stuckDownloads, took.count(),
                cpu.Share() * 100);
    std::printf("soak: %d replies, %d dropped, %d corrupted; %d history records sent intact, "
                "%d of them behind a false start risk; %d safe records checked in trm\n",
                tally.Replies, tally.Dropped, tally.Corrupted, tally.RecordsSent,
                tally.RecordsAtRisk, recordsChecked);
    std::printf("soak: logged on again %d times; resident memory %.1f MB after poll %d, "
                "%.1f MB at the end: growth %.2f MB\n",
                logOffsFound, memoryEarly / 1048576.0, MemoryFromPoll, memoryLate / 1048576.0,
                (memoryLate - memoryEarly) / 1048576.0);
    RecordProperty("rss_growth_bytes", std::to_string(memoryLate - memoryEarly));
    RecordProperty("logons_again", logOffsFound);

    EXPECT_EQ(tally.UnreadableLines, 0);
    EXPECT_GT(tally.Dropped, 0);
    EXPECT_GT(tally.Corrupted, 0);
    EXPECT_GT(recordsChecked, Downloads * 150);
    EXPECT_LT(memoryLate - memoryEarly, MemoryGrowthLimit);
}

} // namespace
