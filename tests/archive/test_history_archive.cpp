// The archive of downloads against real SQLite files: what the session writes as a download
// arrives, what a killed program leaves, databases that are not well, merged downloads.
#include "SessionOnLine.h"
#include "archive/HistoryArchive.h"
#include "operations/ArchivedHistory.h"
#include "operations/HistoryRendering.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

QByteArray Record(int day, int hour, int minute, int t1) {
    return QByteArray::fromRawData("\x1a\x0c\x07\x01\x1e\x05\x15\x05\x80\x03", 10)
        .replace(2, 1, QByteArray(1, char(day)))
        .replace(3, 1, QByteArray(1, char(hour)))
        .replace(4, 1, QByteArray(1, char(minute)))
        .replace(6, 1, QByteArray(1, char(t1)));
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs statements on the file through a connection of the test's own.
void OnFile(const QString& path, const std::function<void(QSqlQuery&)>& work) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "test");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        work(query);
    }
    QSqlDatabase::removeDatabase("test");
}

// A download with the session on the simulated line, its lines as the box shows them.
class ArchiveOnLine : public ::testing::Test {
protected:
    void Start(tc8sim::SimulatedRecorder::Settings settings = SessionOnLine::DefaultSettings()) {
        line = std::make_unique<SessionOnLine>(std::move(settings));
        QObject::connect(line->session.get(), &TRecorderSession::HistoryLines,
                         [this](const QStringList& delivered) {
                             shown << delivered;
                             if (OnShown)
                                 OnShown();
                         });
        ASSERT_TRUE(line->LogOn());
    }
    void Download() {
        SessionOnLine::Later([this] { line->session->StartHistoryDownload(); });
    }
    bool Complete() const { return !shown.isEmpty() && shown.back() == "Koniec historii"; }

    std::unique_ptr<SessionOnLine> line;
    QStringList shown;
    std::function<void()> OnShown;
};

TEST_F(ArchiveOnLine, ADownloadReadsBackAsTheBoxShowedIt) {
    Start();
    // "Odczyt", then START, as a technician does.
    SessionOnLine::Later([this] {
        line->session->ReadConfig();
        line->session->StartHistoryDownload();
    });
    ASSERT_TRUE(WaitFor([&] { return Complete(); }));

    THistoryArchive archive(line->session->Archive()->Path());
    const QList<TDownloadSummary> downloads = archive.Downloads();
    ASSERT_EQ(downloads.size(), 1);
    const TDownloadSummary& d = downloads.front();
    EXPECT_EQ(d.End, TDownloadEnd::Complete);
    EXPECT_EQ(d.Records, 200);
    EXPECT_EQ(d.Announced, 200 * HistoryGaugeStep);
    EXPECT_EQ(d.Start.Port, QStringLiteral("COM1"));
    EXPECT_EQ(d.Start.Device,
              QFileInfo(QString::fromStdString(line->sim->SlavePath())).canonicalFilePath());
    EXPECT_EQ(d.Start.FirmwareVersion, QStringLiteral("TC-8 v 1.5"));
    EXPECT_TRUE(d.Start.ConfigFromRecorder);
    EXPECT_EQ(d.Start.Config, line->session->Config());
    EXPECT_TRUE(d.Ended.isValid());
    EXPECT_EQ(DownloadLines(archive.Records(d.Id), d.End), shown);
    EXPECT_EQ(d.FirstReading, RecordTime(line->Recorder().HistoryRecords.front()));
    EXPECT_TRUE(line->Log.isEmpty()) << line->Log.join(u'\n').toStdString();
}

// The session going while a download runs (the program's end) ends the download as cut off,
// with its time: it reads as over, and a company archive is sent it once.
TEST_F(ArchiveOnLine, ADownloadTheSessionsEndCutsOffIsEndedAsSuch) {
    tc8sim::SimulatedRecorder::Settings settings = SessionOnLine::DefaultSettings();
    settings.Paced = true;
    settings.Recorder.HistoryRecords = 400;
    Start(std::move(settings));
    Download();
    ASSERT_TRUE(WaitFor([&] { return shown.size() >= 20; }));
    const std::optional<QUuid> running = line->session->ArchivedDownloadUuid();
    const QString path = line->session->Archive()->Path();
    line->session.reset();

    THistoryArchive archive(path);
    const QList<TDownloadSummary> downloads = archive.Downloads();
    ASSERT_EQ(downloads.size(), 1);
    EXPECT_EQ(downloads.front().Uuid, running) << "the running download, by its identity";
    EXPECT_EQ(downloads.front().End, TDownloadEnd::CutOff);
    EXPECT_TRUE(downloads.front().Ended.isValid());
    EXPECT_GE(downloads.front().Records, 20);
}

// The program killed mid-download: run as a child process by the test below, archiving
// into the file it names.
TEST(ArchiveChild, DownloadsUntilKilled) {
    const QString archivePath = qEnvironmentVariable("TC8_ARCHIVE_CHILD");
    if (archivePath.isEmpty())
        GTEST_SKIP() << "run by AKilledProgramKeepsEveryRecordItShowed";
    tc8sim::SimulatedRecorder::Settings settings = SessionOnLine::DefaultSettings();
    settings.Paced = true;
    settings.Recorder.HistoryRecords = 400;
    SessionOnLine line(std::move(settings));
    line.session->SetArchive(std::make_unique<THistoryArchive>(archivePath));
    int shown = 0;
    QObject::connect(line.session.get(), &TRecorderSession::HistoryLines,
                     [&](const QStringList& delivered) {
                         shown += static_cast<int>(delivered.size());
                         std::printf("shown %d\n", shown);
                         std::fflush(stdout);
                     });
    ASSERT_TRUE(line.LogOn());
    SessionOnLine::Later([&] { line.session->StartHistoryDownload(); });
    WaitFor([] { return false; }, 600000);
}

TEST(ArchiveKill, AKilledProgramKeepsEveryRecordItShowed) {
    QTemporaryDir folder;
    const QString archivePath = folder.filePath(QStringLiteral("archiwum.sqlite"));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TC8_ARCHIVE_CHILD"), archivePath);
    // What the killed child leaves in its temporary folders goes with this one.
    environment.insert(QStringLiteral("TMPDIR"), folder.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=ArchiveChild.DownloadsUntilKilled")});
    ASSERT_TRUE(child.waitForStarted());
    int shown = 0;
    QByteArray output;
    const auto readLines = [&] {
        output += child.readAllStandardOutput();
        for (const QByteArray& text : output.split('\n'))
            if (text.startsWith("shown "))
                shown = std::max(shown, text.mid(6).toInt());
    };
    const bool running = WaitFor(
        [&] {
            child.waitForReadyRead(50);
            readLines();
            return shown >= 30 || child.state() == QProcess::NotRunning;
        },
        60000);
    ASSERT_TRUE(running && child.state() == QProcess::Running)
        << output.toStdString() << child.readAllStandardError().toStdString();
    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    child.waitForFinished();
    readLines(); // every line the child showed before it died

    THistoryArchive archive(archivePath);
    const QList<TDownloadSummary> downloads = archive.Downloads();
    ASSERT_EQ(downloads.size(), 1) << archive.Problem().toStdString();
    EXPECT_EQ(downloads.front().End, TDownloadEnd::CutOff);
    EXPECT_FALSE(downloads.front().Ended.isValid());
    EXPECT_GE(archive.Records(downloads.front().Id).size(), shown);
}

TEST_F(ArchiveOnLine, ADatabaseOfANewerProgramCostsNoDownloadAndIsLeftAlone) {
    Start();
    const QString path = line->session->Archive()->Path();
    {
        THistoryArchive older(path);
        ASSERT_TRUE(older.Open());
    }
    OnFile(path, [](QSqlQuery& query) { ASSERT_TRUE(query.exec("PRAGMA user_version = 99")); });
    const QByteArray before = FileBytes(path);

    Download();
    ASSERT_TRUE(WaitFor([&] { return Complete() && !line->Log.isEmpty(); }));
    EXPECT_EQ(shown.size(), 201);
    EXPECT_EQ(line->Log,
              QStringList{"Warning: Pobieranie nie jest archiwizowane: archiwum pochodzi "
                          "z nowszej wersji programu."});
    EXPECT_EQ(FileBytes(path), before);
}

// Every download carries its own UUID and this PC's installation, kept beside the archive;
// downloads of an archive from before identities get theirs when it is opened.
TEST(ArchiveIdentity, EveryDownloadHasOneThatSurvivesReopeningAndMigration) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("archiwum.sqlite"));
    OnFile(path, [](QSqlQuery& query) {
        ASSERT_TRUE(query.exec(
            "CREATE TABLE downloads (id INTEGER PRIMARY KEY, started TEXT NOT NULL, ended TEXT,"
            " outcome INTEGER NOT NULL DEFAULT 0, port TEXT NOT NULL, device TEXT NOT NULL,"
            " firmware TEXT NOT NULL, config_from_recorder INTEGER NOT NULL,"
            " tc8_typ TEXT NOT NULL, tc8_name TEXT NOT NULL, tc8_nazwa TEXT NOT NULL,"
            " tc8_nazwa2 TEXT NOT NULL, tc8_nazwa3 TEXT NOT NULL, temp_min INTEGER NOT NULL,"
            " temp_max INTEGER NOT NULL, temp_korekta INTEGER NOT NULL,"
            " temp_korekta2 INTEGER NOT NULL, temp_zapisz TEXT NOT NULL, ile_druk TEXT NOT NULL,"
            " announced INTEGER, records INTEGER NOT NULL DEFAULT 0, first_reading TEXT,"
            " last_reading TEXT)"));
        ASSERT_TRUE(query.exec("CREATE TABLE records (download INTEGER NOT NULL, seq INTEGER"
                               " NOT NULL, payload BLOB NOT NULL, PRIMARY KEY (download, seq))"));
        for (int i = 0; i < 2; ++i)
            ASSERT_TRUE(query.exec("INSERT INTO downloads (started, port, device, firmware,"
                                   " config_from_recorder, tc8_typ, tc8_name, tc8_nazwa,"
                                   " tc8_nazwa2, tc8_nazwa3, temp_min, temp_max, temp_korekta,"
                                   " temp_korekta2, temp_zapisz, ile_druk) VALUES"
                                   " ('2026-12-01T10:00:00.000Z', 'COM1', '/dev/ttyS0', '', 0,"
                                   " '', '', '', '', '', 0, 0, 0, 0, '1', '1')"));
        ASSERT_TRUE(query.exec("PRAGMA user_version = 1"));
    });

    QUuid installation;
    {
        THistoryArchive archive(path);
        ASSERT_TRUE(archive.Open()) << archive.Problem().toStdString();
        installation = archive.Installation();
        EXPECT_FALSE(installation.isNull());
        ASSERT_TRUE(archive.BeginDownload(TDownloadStart{}));
    }
    THistoryArchive reopened(path);
    const QList<TDownloadSummary> downloads = reopened.Downloads();
    ASSERT_EQ(downloads.size(), 3) << reopened.Problem().toStdString();
    EXPECT_EQ(reopened.Installation(), installation);
    QSet<QUuid> uuids;
    for (const TDownloadSummary& download : downloads) {
        EXPECT_FALSE(download.Uuid.isNull());
        uuids.insert(download.Uuid);
        EXPECT_EQ(download.Installation, installation);
        EXPECT_EQ(download.Host, QSysInfo::machineHostName());
    }
    EXPECT_EQ(uuids.size(), 3);
}

// Two programs (or the window's company link beside the session) opening a file that is not
// there yet both make it, once, and both use it.
TEST(ArchiveIdentity, TwoOpeningANewFileAtOnceBothUseIt) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        const QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("archiwum.sqlite"));
        std::atomic<int> opened = 0;
        QList<QThread*> programs;
        for (int program = 0; program < 2; ++program)
            programs << QThread::create([&path, &opened] {
                THistoryArchive archive(path);
                opened += archive.Open() && archive.BeginDownload(TDownloadStart{}).has_value();
            });
        for (QThread* program : programs)
            program->start();
        for (QThread* program : programs) {
            program->wait();
            delete program;
        }
        ASSERT_EQ(opened, 2) << "attempt " << attempt;
        EXPECT_EQ(THistoryArchive(path).Downloads().size(), 2);
    }
}

// What has been sent is remembered per company archive, and goes with its download.
TEST(ArchiveIdentity, SentDownloadsAreRememberedPerCompanyArchive) {
    const QTemporaryDir folder;
    THistoryArchive archive(folder.filePath(QStringLiteral("archiwum.sqlite")));
    const qint64 first = archive.BeginDownload(TDownloadStart{}).value_or(0);
    const qint64 second = archive.BeginDownload(TDownloadStart{}).value_or(0);
    ASSERT_TRUE(first > 0 && second > 0) << archive.Problem().toStdString();
    const QUuid company = QUuid::createUuid();
    const QUuid other = QUuid::createUuid();
    EXPECT_EQ(archive.Unsent(company), (QList<qint64>{first, second}));

    EXPECT_TRUE(archive.MarkSent(first, company, QDateTime::currentDateTime()));
    EXPECT_TRUE(archive.MarkSent(first, company, QDateTime::currentDateTime())) << "twice";
    EXPECT_EQ(archive.Unsent(company), QList<qint64>{second});
    EXPECT_EQ(archive.Unsent(other), (QList<qint64>{first, second}));

    EXPECT_TRUE(archive.Delete(second));
    EXPECT_TRUE(archive.Unsent(company).isEmpty());
}

// The archive module alone: each way a file can be unwell, said in words, nothing lost.
TEST(UnwellArchive, SaysWhyAndOverwritesNothing) {
    QTemporaryDir folder;
    const QString path = folder.filePath("archiwum.sqlite");
    const QList<QByteArray> records{Record(7, 1, 30, 21), Record(7, 1, 31, 22)};
    qint64 kept = 0;
    {
        THistoryArchive archive(path);
        kept = *archive.BeginDownload({});
        ASSERT_TRUE(archive.AddRecords(kept, records, 32));
    }
    const auto keptIntact = [&] {
        THistoryArchive archive(path);
        return archive.Records(kept) == records;
    };

    {
        // Another program holds the write lock for as long as it likes.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "holder");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("BEGIN EXCLUSIVE");
        THistoryArchive archive(path);
        EXPECT_FALSE(archive.BeginDownload({}));
        EXPECT_EQ(archive.Problem(), QStringLiteral("archiwum jest zajęte przez inny program"));
        QSqlQuery(db).exec("ROLLBACK");
    }
    QSqlDatabase::removeDatabase("holder");

    {
        THistoryArchive archive(path);
        archive.OpenReadOnlyForTests();
        EXPECT_FALSE(archive.BeginDownload({}));
        EXPECT_EQ(archive.Problem(), QStringLiteral("archiwum jest tylko do odczytu"));
    }
    {
        THistoryArchive archive(path);
        archive.LimitPagesForTests(1); // no room beyond what the file has
        const std::optional<qint64> id = archive.BeginDownload({});
        ASSERT_TRUE(id);
        EXPECT_FALSE(archive.AddRecords(*id, QList<QByteArray>(5000, Record(8, 2, 0, 20)), {}));
        EXPECT_EQ(archive.Problem(), QStringLiteral("brak miejsca na dysku"));
    }
    EXPECT_TRUE(keptIntact());

    QFile::remove(path);
    QFile garbage(path);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    THistoryArchive archive(path);
    ASSERT_TRUE(archive.Open()) << archive.Problem().toStdString();
    const QString aside = archive.TakeSetAside();
    EXPECT_TRUE(aside.startsWith(path + QStringLiteral(".uszkodzone-"))) << aside.toStdString();
    EXPECT_EQ(FileBytes(aside), QByteArray(4096, 'x'));
    EXPECT_TRUE(archive.BeginDownload({}));
    EXPECT_TRUE(archive.TakeSetAside().isEmpty());
}

TEST(ArchivedHistory, DownloadsOfOneRecorderMergeIntoOneSeriesInTimeOrder) {
    const QByteArray a = Record(7, 1, 30, 21), b = Record(7, 1, 31, 22), c = Record(7, 1, 32, 23);
    const QByteArray bOther = Record(7, 1, 31, 25); // the same moment, another reading
    const QByteArray earlier = Record(6, 23, 59, 20);
    EXPECT_EQ(MergeDownloads({{b, c}, {earlier, a, b}, {bOther}}),
              (QList<QByteArray>{earlier, a, b, bOther, c}));
    EXPECT_EQ(DownloadLines({a}, TDownloadEnd::Complete).back(), QStringLiteral("Koniec historii"));
    EXPECT_EQ(DownloadLines({a}, TDownloadEnd::Stopped), QStringList{*HistoryLine(a)});
}

} // namespace
