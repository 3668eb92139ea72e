// History download of 2,047 records from the simulated recorder through the real window
// and serial component on a pseudo-terminal:
//   paced    the recorder sends at the pace of the 4800 bit/s line, and holds its answer to
//            the start request for the request's own wire time; figure: the wall time from
//            START to "Koniec historii" divided by the wire time of every byte on the line;
//   unpaced  the recorder sends as fast as it can; figure: records per second that reach
//            the text box, and the user-interface thread's CPU time per record; once with
//            the archive on and once with it off, which tells the archive's cost apart;
//   monitor  both again with the line monitor open, which traces and shows every frame.
// The archive is on as in the program (a file in the run's own XDG_DATA_HOME). Every run
// checks that each record the recorder holds is in the text box, and in the archive in the
// order the recorder holds them.
#include "BenchClock.h"
#include "BenchMain.h"
#include "CpuTime.h"
#include "MainAccess.h"
#include "RecorderSession.h"
#include "WireTime.h"
#include "archive/HistoryArchive.h"
#include "operations/HistoryRendering.h"
#include "protocol/TRecorderSession.h"

#include <QAction>
#include <QEventLoop>
#include <QHash>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <vector>

namespace {

constexpr int Records = 2047;
constexpr QLatin1StringView EndLine("Koniec historii");
// Frames on the line: the start request (4 + 1 bytes), its answer (4 + 2), the records
// (4 + 10 each) and the end marker (4).
constexpr int LineBytes = 5 + 6 + Records * 14 + 4;

struct Download {
    double WallSeconds = 0;   // START pressed to the end line shown
    double StreamSeconds = 0; // first record line shown to the end line shown
    double UiCpuSeconds = 0;  // the user-interface thread's CPU time, START to end
    int Lost = 0;             // records the recorder holds that are not in the text box
    int Unarchived = 0;       // records missing from the archive or out of order
};

TRecorderSession& SessionOf(TMain& window) {
    auto* session = window.findChild<TRecorderSession*>();
    if (!session)
        throw std::runtime_error("the window has no recorder session");
    return *session;
}

int LostRecords(const RecorderSession& session) {
    QHash<QString, int> shown;
    const QTextDocument& text = *session.window->trm->document();
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next())
        ++shown[block.text()];
    int lost = 0;
    for (const QByteArray& record : session.Recorder().HistoryRecords) {
        int& count = shown[*HistoryLine(record)];
        if (count > 0)
            --count;
        else
            ++lost;
    }
    return lost;
}

// The records of the newest download in the archive against the recorder's, in order:
// each record the recorder holds is looked for after the one found before it. A record not
// found counts, and so does each archived record passed over or left after the last one
// (out of order, or never sent). Read through a connection of its own, as the archive
// window reads it.
int UnarchivedRecords(const RecorderSession& session) {
    const std::vector<QByteArray> held = session.Recorder().HistoryRecords;
    THistoryArchive* writing = SessionOf(*session.window).Archive();
    if (!writing)
        return 0;
    THistoryArchive archive(writing->Path());
    const QList<TDownloadSummary> downloads = archive.Downloads();
    if (downloads.isEmpty())
        return static_cast<int>(held.size());
    const QList<QByteArray> archived = archive.Records(downloads.front().Id);
    int wrong = 0;
    auto next = archived.begin();
    for (const QByteArray& record : held) {
        const auto found = std::find(next, archived.end(), record.left(HistoryRecordSize));
        if (found == archived.end()) {
            ++wrong;
            continue;
        }
        wrong += static_cast<int>(found - next);
        next = found + 1;
    }
    return wrong + static_cast<int>(archived.end() - next);
}

Download RunDownload(RecorderSession& session) {
    TMain& window = *session.window;
    Download download;
    std::int64_t startNs = 0;
    std::int64_t firstRecordNs = 0;
    std::int64_t endNs = 0;
    std::chrono::nanoseconds startCpu{0};
    QEventLoop loop;
    const QMetaObject::Connection watch =
        QObject::connect(window.trm->document(), &QTextDocument::contentsChanged, &loop, [&] {
            const QString last = window.trm->document()->lastBlock().text();
            if (firstRecordNs == 0 && last.startsWith(QLatin1StringView("data:")))
                firstRecordNs = NowNs();
            if (endNs == 0 && last == EndLine) {
                endNs = NowNs();
                download.UiCpuSeconds =
                    static_cast<double>((ThreadCpuTime() - startCpu).count()) / 1e9;
                loop.quit();
            }
        });
    QTimer::singleShot(0, &loop, [&] {
        startNs = NowNs();
        startCpu = ThreadCpuTime();
        window.ButtonPobierz->click(); // returns once the start request is answered
    });
    QTimer::singleShot(std::chrono::minutes(5), &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(watch);
    if (endNs == 0)
        throw std::runtime_error("the history download did not end");
    download.WallSeconds = static_cast<double>(endNs - startNs) / 1e9;
    download.StreamSeconds = static_cast<double>(endNs - firstRecordNs) / 1e9;
    download.Lost = LostRecords(session);
    download.Unarchived = UnarchivedRecords(session);
    return download;
}

std::unique_ptr<RecorderSession> OpenSession(bool paced, bool archive, bool monitor,
                                             tc8sim::FrameTrace::Sink trace = {}) {
    tc8sim::SimulatedRecorder::Settings settings = RecorderSession::DefaultSettings();
    settings.Recorder.HistoryRecords = Records;
    settings.Paced = paced;
    if (paced)
        settings.Faults.Delay = std::chrono::milliseconds(10); // the request's 5 bytes
    settings.Trace = std::move(trace);
    auto session = std::make_unique<RecorderSession>(std::move(settings));
    Inside(*session->window).SetTickIntervalForTests(100); // the program's own tick
    TRecorderSession& recorderSession = SessionOf(*session->window);
    if (!archive)
        recorderSession.SetArchive(nullptr);
    // The file is created at the first download; done here, so that the figures per record
    // do not carry that once-only cost.
    else if (!recorderSession.Archive()->Open())
        throw std::runtime_error("the archive did not open: " +
                                 recorderSession.Archive()->Problem().toStdString());
    session->window->show();
    if (monitor)
        session->window->MonitorLacza1->trigger();
    if (!session->LogOn())
        throw std::runtime_error("the window did not log on to the simulated recorder");
    return session;
}

} // namespace

int main(int argc, char** argv) {
    return RunBench(argc, argv, [](const BenchOptions& options, BenchOutput& output) {
        // When the simulator took the start request and when it put the end marker on its
        // schedule: its own pace, told apart from the window's.
        std::atomic<std::int64_t> requestTakenNs{0};
        std::atomic<std::int64_t> endMarkerNs{0};
        if (options.Wants(QStringLiteral("history.paced"))) {
            auto session = OpenSession(true, true, false, [&](const std::string& line) {
                if (line.find("TC8 -> PC   n 0x49") != std::string::npos)
                    requestTakenNs = NowNs();
                else if (line.find("TC8 -> PC   n 0x46") != std::string::npos)
                    endMarkerNs = NowNs();
            });
            const int pacedRuns = options.Quick ? 1 : options.Runs;
            for (int run = 0; run < pacedRuns; ++run) {
                const Download download = RunDownload(*session);
                const double wire = WireSeconds(LineBytes);
                output.Figure(QStringLiteral("history.paced.wall_s"), download.WallSeconds);
                output.Figure(QStringLiteral("history.paced.wire_s"), wire);
                output.Figure(QStringLiteral("history.paced.ratio"), download.WallSeconds / wire);
                output.Figure(QStringLiteral("history.paced.lost"), download.Lost);
                output.Figure(QStringLiteral("history.paced.unarchived"), download.Unarchived);
                // The simulator's own time, from taking the request (its reply then waits for
                // the request's wire time) to the end marker's last byte, over the wire time.
                const double simulatorSeconds =
                    static_cast<double>(endMarkerNs - requestTakenNs) / 1e9 + WireSeconds(4);
                output.Figure(QStringLiteral("history.paced.simulator_ratio"),
                              simulatorSeconds / wire);
                // What is left of the wall time is the window's: sending the request, and
                // taking in and showing the last frame after the simulator sent it.
                output.Figure(QStringLiteral("history.paced.window_ms"),
                              (download.WallSeconds - simulatorSeconds) * 1e3);
            }
        }
        // Unpaced with the archive on (as the program runs) and off.
        for (const bool archive : {true, false}) {
            const QString key = archive ? QStringLiteral("history.unpaced.")
                                        : QStringLiteral("history.unpaced_no_archive.");
            if (!options.Wants(key))
                continue;
            auto session = OpenSession(false, archive, false);
            for (int run = 0; run < options.Runs; ++run) {
                const Download download = RunDownload(*session);
                output.Figure(key + QStringLiteral("records_per_s"),
                              Records / download.StreamSeconds);
                output.Figure(key + QStringLiteral("ui_cpu_us_per_record"),
                              download.UiCpuSeconds * 1e6 / Records);
                output.Figure(key + QStringLiteral("lost"), download.Lost);
                if (archive)
                    output.Figure(key + QStringLiteral("unarchived"), download.Unarchived);
            }
        }
        // With the line monitor open, as the program runs otherwise (archive on).
        for (const bool paced : {true, false}) {
            const QString key = paced ? QStringLiteral("history.paced_monitor.")
                                      : QStringLiteral("history.unpaced_monitor.");
            if (!options.Wants(key))
                continue;
            auto session = OpenSession(paced, true, true);
            const int runs = paced && options.Quick ? 1 : options.Runs;
            for (int run = 0; run < runs; ++run) {
                const Download download = RunDownload(*session);
                if (paced)
                    output.Figure(key + QStringLiteral("ratio"),
                                  download.WallSeconds / WireSeconds(LineBytes));
                else
                    output.Figure(key + QStringLiteral("records_per_s"),
                                  Records / download.StreamSeconds);
                output.Figure(key + QStringLiteral("lost"), download.Lost);
            }
        }
    });
}
