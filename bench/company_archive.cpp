// The company archive on a PostgreSQL server of the benchmark's own (Unix socket, fsync off).
// Figures:
//   push       100 downloads of 2,047 records made in a local archive, sent to an empty
//              company archive by one TCompanyArchive::Push: its wall time, from a fresh
//              archive object (the connection included); a new database each run;
//   year read  a recorder's year at a reading a minute (257 downloads of 2,047 records, each
//              sharing a record with the one before) among 100 downloads of another recorder:
//              the wall time from a fresh archive object to the merged series of lines in
//              hand (Downloads by recorder and period, then ArchivedLines), and of the list
//              alone.
// Each run checks what the archive gives back: every download pushed, every reading of the
// year once.
#include "BenchClock.h"
#include "BenchMain.h"
#include "PostgresServer.h"
#include "archive/CompanyArchive.h"
#include "archive/HistoryArchive.h"
#include "operations/HistoryRendering.h"

#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <stdexcept>

namespace {

constexpr int DownloadRecords = 2047;
constexpr int PushDownloads = 100;
constexpr int YearMinutes = 365 * 24 * 60; // 2026 is no leap year
// Each shares its first record with the one before; the last ends with the year.
constexpr int YearDownloads = 257;
static_assert((YearDownloads - 1) * (DownloadRecords - 1) + DownloadRecords >= YearMinutes);
constexpr int NoiseDownloads = 100;
const QString Recorder = QStringLiteral("Chłodnia 1");
const QString OtherRecorder = QStringLiteral("Chłodnia 2");

// pg_ctl detaches the server into a session of its own, out of reach of a Ctrl-C or a
// SIGTERM meant for the benchmark: on SIGINT, SIGTERM or SIGHUP the server is shut down at
// once (SIGQUIT) before the benchmark dies of the signal.
volatile std::sig_atomic_t serverPid = 0;

void StopServerAndDie(int signal) {
    if (serverPid > 0)
        kill(serverPid, SIGQUIT);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

struct StopServerOnSignal {
    explicit StopServerOnSignal(const TPostgresServer& server) {
        serverPid = static_cast<std::sig_atomic_t>(server.Pid());
        if (serverPid <= 0)
            throw std::runtime_error("the PostgreSQL server's process is not known");
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            std::signal(signal, StopServerAndDie);
    }
    ~StopServerOnSignal() { serverPid = 0; }
    StopServerOnSignal(const StopServerOnSignal&) = delete;
    StopServerOnSignal& operator=(const StopServerOnSignal&) = delete;
};

// The record of `minute` minutes into 2026. The temperatures follow from the minute, so a
// reading in two downloads is the same 10 bytes in both, as a recorder sends it.
QByteArray Record(int minute) {
    const QDate day = QDate(2026, 1, 1).addDays(minute / (24 * 60));
    const char record[HistoryRecordSize] = {static_cast<char>(day.year() - 2000),
                                            static_cast<char>(day.month()),
                                            static_cast<char>(day.day()),
                                            static_cast<char>(minute / 60 % 24),
                                            static_cast<char>(minute % 60),
                                            0,
                                            static_cast<char>(3 + minute / 60 % 5),
                                            static_cast<char>(minute % 10),
                                            20,
                                            static_cast<char>(minute / 10 % 10)};
    return QByteArray(record, HistoryRecordSize);
}

// A complete download of `recorder`'s readings from `firstMinute` on, made an hour after the
// last of them.
void AddDownload(THistoryArchive& local, const QString& recorder, int firstMinute) {
    TDownloadStart start;
    start.Started = QDateTime(QDate(2026, 1, 1), QTime(1, 0), Qt::UTC)
                        .addSecs(60LL * (firstMinute + DownloadRecords));
    start.Port = QStringLiteral("COM1");
    start.Device = QStringLiteral("/dev/ttyS0");
    start.FirmwareVersion = QStringLiteral("TC-8 v 1.5");
    start.Config.TC8Typ = QStringLiteral("TC-8");
    start.Config.TC8name = recorder;
    start.ConfigFromRecorder = true;
    QList<QByteArray> records;
    records.reserve(DownloadRecords);
    for (int i = 0; i < DownloadRecords; ++i)
        records << Record(firstMinute + i);
    const std::optional<qint64> id = local.BeginDownload(start);
    if (!id || !local.AddRecords(*id, records, DownloadRecords) ||
        !local.EndDownload(*id, TDownloadEnd::Complete, start.Started.addSecs(60)))
        throw std::runtime_error("local archive: " + local.Problem().toStdString());
}

// A company archive set up in a new database `name`.
QString NewCompanyArchive(TPostgresServer& server, const QString& name) {
    if (!server.Sql(QStringLiteral("CREATE DATABASE %1").arg(name)))
        throw std::runtime_error("CREATE DATABASE: " + server.Problem().toStdString());
    const QString uri = server.Uri(name);
    TCompanyArchive company(uri);
    if (!company.Init())
        throw std::runtime_error(company.Problem().toStdString());
    return uri;
}

void Push(TPostgresServer& server, THistoryArchive& local, int run, BenchOutput& output) {
    // A new company archive, to which everything in the local archive is unsent.
    const QString uri = NewCompanyArchive(server, QStringLiteral("push%1").arg(run));
    TCompanyArchive company(uri);
    const std::int64_t start = NowNs();
    const std::optional<int> pushed = company.Push(local);
    const double ms = MsSince(start);
    if (!pushed)
        throw std::runtime_error("push: " + company.Problem().toStdString());
    const qsizetype stored = TCompanyArchive(uri).Downloads().size();
    if (*pushed != PushDownloads || stored != PushDownloads)
        throw std::runtime_error(QStringLiteral("push: %1 downloads sent, %2 in the archive, "
                                                "%3 expected")
                                     .arg(*pushed)
                                     .arg(stored)
                                     .arg(PushDownloads)
                                     .toStdString());
    output.Figure(QStringLiteral("company.push_s"), ms / 1000);
}

void ReadYear(const QString& uri, BenchOutput& output) {
    TArchiveFilter filter;
    filter.Recorder = QStringLiteral("TC-8 : ") + Recorder;
    filter.From = QDateTime(QDate(2026, 1, 1), QTime(0, 0));
    filter.To = QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59));
    const std::int64_t start = NowNs();
    TCompanyArchive company(uri);
    const QList<TDownloadSummary> downloads = company.Downloads(filter);
    const double listMs = MsSince(start);
    const std::optional<QStringList> lines = ArchivedLines(company, downloads);
    const double ms = MsSince(start);
    if (!lines || !company.Problem().isEmpty())
        throw std::runtime_error("year read: " + company.Problem().toStdString());
    if (downloads.size() != YearDownloads || lines->size() != YearMinutes ||
        lines->front() != HistoryLine(Record(0)) ||
        lines->back() != HistoryLine(Record(YearMinutes - 1)))
        throw std::runtime_error(QStringLiteral("year read: %1 downloads and %2 lines, "
                                                "%3 and %4 expected")
                                     .arg(downloads.size())
                                     .arg(lines->size())
                                     .arg(YearDownloads)
                                     .arg(YearMinutes)
                                     .toStdString());
    output.Figure(QStringLiteral("company.year_list_ms"), listMs);
    output.Figure(QStringLiteral("company.year_read_ms"), ms);
}

} // namespace

int main(int argc, char** argv) {
    return RunBench(argc, argv, [](const BenchOptions& options, BenchOutput& output) {
        TPostgresServer server;
        if (!server.Problem().isEmpty())
            throw std::runtime_error(server.Problem().toStdString());
        const StopServerOnSignal stopOnSignal(server);
        const QTemporaryDir folder;

        if (options.Wants(QStringLiteral("company.push"))) {
            THistoryArchive local(folder.filePath(QStringLiteral("push.sqlite")));
            for (int i = 0; i < PushDownloads; ++i)
                AddDownload(local, Recorder, i * DownloadRecords);
            for (int run = 0; run < options.Runs; ++run)
                Push(server, local, run, output);
        }

        if (options.Wants(QStringLiteral("company.year"))) {
            THistoryArchive local(folder.filePath(QStringLiteral("year.sqlite")));
            for (int i = 0; i < YearDownloads; ++i)
                AddDownload(local, Recorder,
                            std::min(i * (DownloadRecords - 1), YearMinutes - DownloadRecords));
            for (int i = 0; i < NoiseDownloads; ++i)
                AddDownload(local, OtherRecorder, i * 5000);
            const QString uri = NewCompanyArchive(server, QStringLiteral("year"));
            TCompanyArchive company(uri);
            if (company.Push(local) != YearDownloads + NoiseDownloads)
                throw std::runtime_error("year push: " + company.Problem().toStdString());
            output.Figure(QStringLiteral("company.year_downloads"), YearDownloads);
            output.Figure(QStringLiteral("company.year_readings"), YearMinutes);
            // The read is short: two runs more than the push.
            for (int run = 0; run < options.Runs + 2; ++run)
                ReadYear(uri, output);
        }
    });
}
