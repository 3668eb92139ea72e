// The company archive against a real PostgreSQL server of the test's own (Unix socket only).
#include "CliProcess.h"
#include "PostgresServer.h"
#include "WaitFor.h"
#include "archive/CompanyArchive.h"
#include "archive/CompanyLink.h"
#include "archive/HistoryArchive.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A record of 1 December 2026 (day 1) or a later day, `minute` minutes after midnight.
QByteArray Reading(int day, int minute, int temperature) {
    return QByteArray::fromRawData("\x1a\x0c\x01\x00\x00\x00\x15\x05\x80\x03", 10)
        .replace(2, 1, QByteArray(1, char(day)))
        .replace(3, 1, QByteArray(1, char(minute / 60)))
        .replace(4, 1, QByteArray(1, char(minute % 60)))
        .replace(6, 1, QByteArray(1, char(temperature)));
}

// A PC: its data folder with the local archive, in which downloads are made as a session
// makes them.
struct TPc {
    // In a folder of its own, or in `path` (this user's archive, which tc8-cli uses).
    explicit TPc(const QString& path = {})
        : archive(path.isEmpty() ? folder.filePath(QStringLiteral("archiwum.sqlite")) : path) {}

    QTemporaryDir folder;
    THistoryArchive archive;

    // A download of `records` readings of recorder `name` on `day`; ended unless `running`.
    qint64 Download(const QString& name, int day, int records, bool running = false) {
        TDownloadStart start;
        start.Started = QDateTime(QDate(2026, 12, day), QTime(23, 0), Qt::UTC);
        start.Port = QStringLiteral("COM1");
        start.Device = QStringLiteral("/dev/ttyS0");
        start.FirmwareVersion = QStringLiteral("TC-8 v 1.5");
        start.Config.TC8Typ = QStringLiteral("TC-8");
        start.Config.TC8name = name;
        start.ConfigFromRecorder = true;
        const qint64 id = archive.BeginDownload(start).value_or(0);
        QList<QByteArray> readings;
        for (int i = 0; i < records; ++i)
            readings << Reading(day, i % 1440, i % 50);
        EXPECT_TRUE(id > 0 && archive.AddRecords(id, readings, records))
            << archive.Problem().toStdString();
        if (!running) {
            EXPECT_TRUE(archive.EndDownload(id, TDownloadEnd::Complete, start.Started.addSecs(60)));
        }
        return id;
    }
};

} // namespace

class CompanyArchive : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Problem().isEmpty()) << server.Problem().toStdString();
        ASSERT_TRUE(server.Sql(QStringLiteral("CREATE DATABASE firma")));
    }
    QString Firma() const { return server.Uri(QStringLiteral("firma")); }
    // The company's downloads by UUID, as many times as each is there.
    QMap<QUuid, int> Stored() {
        QMap<QUuid, int> stored;
        TCompanyArchive company(Firma());
        for (const TDownloadSummary& d : company.Downloads())
            ++stored[d.Uuid];
        return stored;
    }
    TPostgresServer server;
};

TEST_F(CompanyArchive, IsSetUpOnceOnAnEmptyDatabaseAlsoByThreePcsAtOnce) {
    TCompanyArchive before(server.Uri(QStringLiteral("firma")));
    EXPECT_FALSE(before.Open());
    EXPECT_EQ(before.Problem(),
              QStringLiteral("archiwum firmy nie jest założone (tc8-cli archive init)"));

    // Three PCs set it up at once: one does, the others wait and find it done.
    QList<QUuid> ids(3);
    QList<QThread*> inits;
    for (QUuid& id : ids)
        inits << QThread::create([this, &id] {
            TCompanyArchive archive(Firma());
            EXPECT_TRUE(archive.Init()) << archive.Problem().toStdString();
            id = archive.Id();
        });
    for (QThread* init : inits)
        init->start();
    for (QThread* init : inits) {
        init->wait();
        delete init;
    }
    EXPECT_FALSE(ids[0].isNull());
    EXPECT_EQ(ids, QList<QUuid>(3, ids[0]));
    TCompanyArchive again(server.Uri(QStringLiteral("firma")));
    ASSERT_TRUE(again.Init()) << again.Problem().toStdString();
    EXPECT_EQ(again.Id(), ids[0]);
}

// What a PC pushes reads back from the company as from its own archive; pushed again it is
// stored once, and a download still running is completed by the push after its end.
TEST_F(CompanyArchive, PushedDownloadsReadBackOnceAndGrowUntilTheyEnd) {
    TCompanyArchive company(Firma());
    ASSERT_TRUE(company.Init()) << company.Problem().toStdString();
    TPc pc;
    pc.Download(QStringLiteral("Chłodnia 1"), 1, 2047);
    pc.Download(QStringLiteral("Chłodnia 2"), 2, 30);
    const qint64 running = pc.Download(QStringLiteral("Chłodnia 1"), 3, 10, true);
    EXPECT_EQ(company.Push(pc.archive), 3) << company.Problem().toStdString();

    const QList<TDownloadSummary> local = pc.archive.Downloads();
    const QList<TDownloadSummary> stored = company.Downloads();
    ASSERT_EQ(stored.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const TDownloadSummary& l = local[i];
        const TDownloadSummary& c = stored[i];
        EXPECT_EQ(c.Uuid, l.Uuid);
        EXPECT_EQ(c.Installation, pc.archive.Installation());
        EXPECT_EQ(c.Host, l.Host);
        EXPECT_EQ(c.Start.Started, l.Start.Started);
        EXPECT_EQ(c.Ended, l.Ended);
        EXPECT_EQ(c.End, l.End);
        EXPECT_EQ(c.Start.Config, l.Start.Config);
        EXPECT_EQ(c.Start.FirmwareVersion, l.Start.FirmwareVersion);
        EXPECT_EQ(c.Records, l.Records);
        EXPECT_EQ(c.Announced, l.Announced);
        EXPECT_EQ(c.FirstReading, l.FirstReading);
        EXPECT_EQ(c.LastReading, l.LastReading);
        EXPECT_EQ(company.Records(c.Id), pc.archive.Records(l.Id));
    }
    const QList<TDownloadSummary> ofOne = company.Downloads(
        {QStringLiteral("TC-8 : Chłodnia 1"), QDateTime(QDate(2026, 12, 1), QTime(12, 0)), {}});
    ASSERT_EQ(ofOne.size(), 2);
    EXPECT_EQ(company
                  .Downloads({QStringLiteral("TC-8 : Chłodnia 1"),
                              {},
                              QDateTime(QDate(2026, 12, 1), QTime(12, 0))})
                  .size(),
              1);

    EXPECT_EQ(company.Push(pc.archive), 0) << "only the running one goes again, unchanged";
    ASSERT_TRUE(pc.archive.AddRecords(running, {Reading(3, 10, 7)}, std::nullopt));
    ASSERT_TRUE(
        pc.archive.EndDownload(running, TDownloadEnd::Stopped, QDateTime::currentDateTime()));
    EXPECT_EQ(company.Push(pc.archive), 1);
    EXPECT_EQ(company.Downloads().front().Records, 11);
    EXPECT_EQ(company.Downloads().front().End, TDownloadEnd::Stopped);
    EXPECT_TRUE(pc.archive.Unsent(company.Id()).isEmpty());
    EXPECT_EQ(Stored().size(), 3);
}

// A download without records (the recorder did not answer) is stored like any other, and one
// deleted here while a push runs is left out: neither stops the downloads after it.
TEST_F(CompanyArchive, NeitherAnEmptyDownloadNorOneDeletedMeanwhileHoldsThePushUp) {
    TCompanyArchive company(Firma());
    ASSERT_TRUE(company.Init()) << company.Problem().toStdString();
    TPc pc;
    pc.Download(QStringLiteral("Chłodnia 1"), 1, 0);
    const qint64 deleted = pc.Download(QStringLiteral("Chłodnia 1"), 2, 10);
    pc.Download(QStringLiteral("Chłodnia 1"), 3, 10);
    const auto deleting = [&](int done, int) { return done != 1 || pc.archive.Delete(deleted); };
    EXPECT_EQ(company.Push(pc.archive, deleting), 2) << company.Problem().toStdString();
    EXPECT_TRUE(pc.archive.Unsent(company.Id()).isEmpty());
    const QList<TDownloadSummary> stored = company.Downloads();
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored.back().Records, 0);
    EXPECT_TRUE(company.Records(stored.back().Id).isEmpty());
}

// Two PCs push at once, one of them holding a copy of the other's archive: every download
// is stored once.
TEST_F(CompanyArchive, TwoPcsPushingAtOnceStoreEachDownloadOnce) {
    ASSERT_TRUE(TCompanyArchive(Firma()).Init());
    TPc first;
    TPc second;
    for (int day = 1; day <= 20; ++day) {
        first.Download(QStringLiteral("Chłodnia 1"), day, 200);
        second.Download(QStringLiteral("Chłodnia 2"), day, 200);
    }
    TPc copy;
    ASSERT_TRUE(QFile::copy(first.archive.Path(), copy.archive.Path()));
    std::atomic<int> pushed = 0;
    QList<QThread*> pushes;
    for (TPc* pc : {&first, &second, &copy})
        pushes << QThread::create([this, pc, &pushed] {
            // Connections belong to the thread that makes them.
            THistoryArchive local(pc->archive.Path());
            TCompanyArchive company(Firma());
            pushed += company.Push(local).value_or(-1000);
        });
    for (QThread* push : pushes)
        push->start();
    for (QThread* push : pushes) {
        push->wait();
        delete push;
    }
    EXPECT_EQ(pushed, 40);
    const QMap<QUuid, int> stored = Stored();
    EXPECT_EQ(stored.size(), 40);
    for (const int times : stored)
        EXPECT_EQ(times, 1);
}

// A role that logs on with a password: refused without one, with nothing changed in the
// local archive; with the password in its file (as ~/.pgpass), it pushes with no rights
// beyond the archive's schema.
TEST_F(CompanyArchive, ARefusedLoginChangesNothingAndAPasswordFileLetsIn) {
    ASSERT_TRUE(TCompanyArchive(Firma()).Init());
    ASSERT_TRUE(server.Sql(QStringLiteral("CREATE ROLE technik LOGIN PASSWORD 'tajne1';"
                                          "GRANT USAGE ON SCHEMA tc8 TO technik;"
                                          "GRANT SELECT, INSERT, UPDATE ON ALL TABLES IN SCHEMA "
                                          "tc8 TO technik;"
                                          "GRANT USAGE ON ALL SEQUENCES IN SCHEMA tc8 TO technik"),
                           QStringLiteral("firma")));
    ASSERT_TRUE(server.RequirePasswords());
    TPc pc;
    pc.Download(QStringLiteral("Chłodnia 1"), 1, 100);
    const QString uri = server.Uri(QStringLiteral("firma"), QStringLiteral("technik"));
    const QTemporaryDir home;
    const QString passwords = home.filePath(QStringLiteral("pgpass"));
    qputenv("PGPASSFILE", passwords.toUtf8());
    {
        TCompanyArchive refused(uri);
        EXPECT_FALSE(refused.Push(pc.archive));
        EXPECT_TRUE(refused.Problem().startsWith(
            QStringLiteral("nie można połączyć się z archiwum firmy: ")))
            << refused.Problem().toStdString();
    }
    TCompanyArchive owner(Firma());
    ASSERT_TRUE(owner.Open());
    EXPECT_EQ(pc.archive.Unsent(owner.Id()).size(), 1);
    EXPECT_TRUE(Stored().isEmpty());
    QFile file(passwords);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("*:*:*:technik:tajne1\n");
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    file.close();
    TCompanyArchive company(uri);
    EXPECT_EQ(company.Push(pc.archive), 1) << company.Problem().toStdString();
    qunsetenv("PGPASSFILE");
}

// tc8-cli sets the archive up, pushes, and reads it back as it reads this PC's archive. A
// push killed while the server holds it (after some downloads went) leaves the rest for the
// next one, which stores everything once.
TEST_F(CompanyArchive, TheCommandLinePushesResumesAfterAKillAndReadsBack) {
    const QStringList to{QStringLiteral("--to"), Firma()};
    const CliResult init = RunCli(QStringList{"archive", "init"} + to);
    ASSERT_EQ(init.Exit, 0) << init.Error.toStdString();
    EXPECT_TRUE(init.Error.contains(QStringLiteral("Archiwum firmy jest gotowe")));
    TPc pc(THistoryArchive::DefaultPath());
    for (int day = 1; day <= 12; ++day)
        pc.Download(QStringLiteral("Chłodnia 1"), day, 1440);
    const QUuid fifth = pc.archive.Downloads()[12 - 5].Uuid;

    // The test's own transaction holds the fifth download's key: the push waits there.
    QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "holder");
    holder.setConnectOptions(CompanyConnectionString(Firma(), nullptr));
    ASSERT_TRUE(holder.open()) << holder.lastError().text().toStdString();
    // What the server is doing, seen from outside the transaction (which sees one snapshot).
    QSqlDatabase watcher = QSqlDatabase::cloneDatabase(holder, "watcher");
    ASSERT_TRUE(watcher.open());
    ASSERT_TRUE(holder.transaction());
    QSqlQuery hold(holder);
    ASSERT_TRUE(hold.exec(
        QStringLiteral("INSERT INTO tc8.downloads (uuid, installation, host, started, outcome,"
                       " port, device, firmware, config_from_recorder, tc8_typ, tc8_name,"
                       " tc8_nazwa, tc8_nazwa2, tc8_nazwa3, temp_min, temp_max, temp_korekta,"
                       " temp_korekta2, temp_zapisz, ile_druk, records, recorder, payload)"
                       " VALUES ('%1', '%1', '', now(), 0, '', '', '', false, '', '', '', '',"
                       " '', 0, 0, 0, 0, '', '', 0, '', '')")
            .arg(fifth.toString(QUuid::WithoutBraces))))
        << hold.lastError().text().toStdString();
    {
        CliProcess push(QStringList{"archive", "push"} + to);
        QSqlQuery waiting(watcher);
        ASSERT_TRUE(WaitFor([&] {
            return waiting.exec(QStringLiteral("SELECT count(*) FROM pg_stat_activity"
                                               " WHERE wait_event_type = 'Lock'")) &&
                   waiting.next() && waiting.value(0).toInt() > 0;
        }));
        push.Signal(SIGKILL);
        EXPECT_EQ(push.Finish(), -1);
    }
    ASSERT_TRUE(holder.rollback());
    TCompanyArchive company(Firma());
    ASSERT_TRUE(company.Open());
    EXPECT_EQ(pc.archive.Unsent(company.Id()).size(), 8) << "the four before it were sent";

    const CliResult again = RunCli(QStringList{"archive", "push"} + to);
    EXPECT_EQ(again.Exit, 0) << again.Error.toStdString();
    EXPECT_TRUE(pc.archive.Unsent(company.Id()).isEmpty());
    const QMap<QUuid, int> stored = Stored();
    EXPECT_EQ(stored.size(), 12);
    for (const int times : stored)
        EXPECT_EQ(times, 1);

    const QStringList from{QStringLiteral("--from"), Firma()};
    const CliResult listed = RunCli(
        QStringList{"archive", "list", "--json", "--since", "2026-12-03", "--until", "2026-12-04"} +
        from);
    EXPECT_EQ(listed.Exit, 0) << listed.Error.toStdString();
    EXPECT_EQ(listed.Output.count("\"id\""), 2) << listed.Output.toStdString();
    EXPECT_TRUE(
        listed.Output.contains(pc.archive.Downloads()[9].Uuid.toByteArray(QUuid::WithoutBraces)))
        << "the third day's download, by its identity";
    const QTemporaryDir out;
    const CliResult exported =
        RunCli(QStringList{"archive", "export", "--recorder", "TC-8 : Chłodnia 1", "--format",
                           "csv", "-o", out.filePath("rok.csv")} +
               from);
    EXPECT_EQ(exported.Exit, 0) << exported.Error.toStdString();
    QFile csv(out.filePath("rok.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count('\n'), 1 + 12 * 1440) << "a header and every reading once";
    const CliResult report = RunCli(QStringList{"report", "-o", out.filePath("r.pdf"), "--archive",
                                                QString::number(company.Downloads().front().Id)} +
                                    from);
    EXPECT_EQ(report.Exit, 0) << report.Error.toStdString();
    holder = watcher = {};
    QSqlDatabase::removeDatabase("holder");
    QSqlDatabase::removeDatabase("watcher");
}

TEST_F(CompanyArchive, OfANewerProgramIsRefusedAndLeftAlone) {
    TCompanyArchive archive(server.Uri(QStringLiteral("firma")));
    ASSERT_TRUE(archive.Init()) << archive.Problem().toStdString();
    ASSERT_TRUE(
        server.Sql(QStringLiteral("UPDATE tc8.archive SET version = 99"), QStringLiteral("firma")));
    TCompanyArchive older(server.Uri(QStringLiteral("firma")));
    EXPECT_FALSE(older.Init());
    EXPECT_EQ(older.Problem(), QStringLiteral("archiwum firmy pochodzi z nowszej wersji programu"));
}

TEST_F(CompanyArchive, AServerOutOfReachIsSaidInPolish) {
    TCompanyArchive archive(QStringLiteral("postgresql://postgres@/firma?host=/nonexistent"));
    EXPECT_FALSE(archive.Open());
    EXPECT_TRUE(
        archive.Problem().startsWith(QStringLiteral("nie można połączyć się z archiwum firmy: ")))
        << archive.Problem().toStdString();
}

// The link's steps run on its own thread and answer on the asking one, each in turn, also
// when the server is out of reach; a push asked for while one runs runs once more after.
// (No server here: it would be started through a child process, after which the thread
// sanitizer no longer sees this thread's locks.)
TEST(CompanyLink, AnswersEveryStepOnTheAskingThreadAndEndsCleanly) {
    TPc pc;
    pc.Download(QStringLiteral("Chłodnia 1"), 1, 10);
    QStringList answers;
    {
        TCompanyLink link(QStringLiteral("postgresql://postgres@/firma?host=/nonexistent"),
                          pc.archive.Path());
        const auto said = [&answers](const QString& what, const QString& problem) {
            EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
            EXPECT_TRUE(problem.startsWith(QStringLiteral("nie można połączyć się")))
                << problem.toStdString();
            answers << what;
        };
        QObject::connect(&link, &TCompanyLink::PushFinished,
                         [&](int, const QString& problem) { said("push", problem); });
        QObject::connect(
            &link, &TCompanyLink::Browsed,
            [&](const auto&, const auto&, const QString& problem) { said("browse", problem); });
        QObject::connect(
            &link, &TCompanyLink::LinesRead,
            [&](const auto&, const std::optional<QStringList>& lines, const QString& problem) {
                EXPECT_FALSE(lines);
                said("lines", problem);
            });
        link.Push();
        link.Push();
        EXPECT_TRUE(link.Pushing());
        link.Browse({});
        link.ReadLines(pc.archive.Downloads());
        ASSERT_TRUE(WaitFor([&] { return answers.size() == 3; }));
        EXPECT_FALSE(link.Pushing());
        link.Push(); // still under way when the link goes
    }
    // The push asked for again went after the steps asked meanwhile, and ended once.
    EXPECT_EQ(answers, (QStringList{"browse", "lines", "push"}));
}

// A link that goes while a server that never answers holds its step waits for that step
// only: the steps asked for after it are dropped, not each made to wait for the server too.
TEST(CompanyLink, GoingWaitsForTheStepUnderWayOnly) {
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 8), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    TPc pc;
    {
        // The silent server holds each step for the connection's own time-out.
        TCompanyLink link(QStringLiteral("postgresql://tc8@127.0.0.1:%1/firma?connect_timeout=5"
                                         "&sslmode=disable&gssencmode=disable")
                              .arg(ntohs(address.sin_port)),
                          pc.archive.Path());
        for (int step = 0; step < 3; ++step)
            link.Browse({});
        ASSERT_TRUE(WaitFor([&] {
            pollfd connecting{listener, POLLIN, 0};
            return poll(&connecting, 1, 0) > 0;
        }));
    }
    int connections = 0;
    for (int accepted; (accepted = accept(listener, nullptr, nullptr)) >= 0; ++connections)
        close(accepted);
    EXPECT_EQ(connections, 1);
    close(listener);
}

// The address as libpq reads it (host lists, socket folders, IPv6); a password, however it is
// slipped in, is refused without being repeated.
TEST(CompanyConnectionString, TakesAUriApartAndRefusesAPassword) {
    struct Row {
        const char* Target;
        const char* Expected; // empty: refused
    };
    for (const Row& row : {
             Row{"postgresql://tech@db.firma.pl:5433/archiwum?sslmode=require",
                 "host='db.firma.pl' port='5433' user='tech' dbname='archiwum' sslmode='require'"},
             Row{"postgresql://tech@/archiwum?host=/run/pg%20sock",
                 "user='tech' dbname='archiwum' host='/run/pg sock'"},
             Row{"postgresql://tech@h1:5432,h2:5433/archiwum",
                 "host='h1,h2' port='5432,5433' user='tech' dbname='archiwum'"},
             Row{"postgresql://tech@%2Frun%2Fpostgresql/archiwum",
                 "host='/run/postgresql' user='tech' dbname='archiwum'"},
             Row{"postgresql://[::1]:5433/archiwum", "host='::1' port='5433' dbname='archiwum'"},
             Row{"service=firma", "service=firma"},
             Row{"postgresql://tech:tajne@db/archiwum", ""},
             Row{"postgresql://tech:tajne@h1,h2/archiwum", ""},
             Row{"postgresql://tech@db/archiwum?password=tajne", ""},
             Row{"postgresql://tech@db/archiwum?password%20=tajne", ""},
             Row{"postgresql://tech@db/archiwum?sslmode%3Drequire%20password=tajne", ""},
             Row{"postgresql://tech@db/archiwum?sslpassword=tajne", ""},
             Row{"postgresql://db:54x/archiwum", ""},
             Row{"firma", ""},
         }) {
        QString problem;
        EXPECT_EQ(CompanyConnectionString(QString::fromUtf8(row.Target), &problem),
                  QString::fromUtf8(row.Expected))
            << row.Target;
        EXPECT_EQ(problem.isEmpty(), *row.Expected != '\0') << row.Target;
        EXPECT_FALSE(problem.contains(QStringLiteral("tajne"))) << problem.toStdString();
    }
}
