#include "archive/HistoryArchive.h"

#include "core/DataFolder.h"
#include "operations/HistoryRendering.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryFile>
#include <QThread>
#include <QVariant>

namespace {

// The year, month, day, hour, minute and second that lead a record.
constexpr qsizetype RecordTimeBytes = 6;

// Long enough for another configurator's transaction of one delivery, short enough that a
// lock held for good costs the window no more than a moment, once.
constexpr int BusyTimeoutMs = 500;

// Each step takes the schema from the version before it to its own: its statements, then
// what it fills in row by row.
struct Migration {
    int Version;
    QStringList Statements;
    bool (*Fill)(QSqlDatabase& db, const QUuid& installation) = nullptr;
};

// Downloads archived before they had an identity get one, and this PC as their maker.
bool GiveIdentities(QSqlDatabase& db, const QUuid& installation) {
    QSqlQuery missing(db);
    missing.setForwardOnly(true);
    if (!missing.exec(QStringLiteral("SELECT id FROM downloads WHERE uuid IS NULL")))
        return false;
    QList<qint64> ids;
    while (missing.next())
        ids << missing.value(0).toLongLong();
    QSqlQuery update(db);
    update.prepare(
        QStringLiteral("UPDATE downloads SET uuid = ?, installation = ?, host = ? WHERE id = ?"));
    for (const qint64 id : ids) {
        update.addBindValue(QUuid::createUuid().toString(QUuid::WithoutBraces));
        update.addBindValue(installation.toString(QUuid::WithoutBraces));
        update.addBindValue(QSysInfo::machineHostName());
        update.addBindValue(id);
        if (!update.exec())
            return false;
    }
    return true;
}

const QList<Migration>& Migrations() {
    static const QList<Migration> steps{
        {1,
         {QStringLiteral("CREATE TABLE downloads ("
                         " id INTEGER PRIMARY KEY,"
                         " started TEXT NOT NULL," // UTC, ISO 8601
                         " ended TEXT,"            // NULL: running, or the program ended first
                         " outcome INTEGER NOT NULL DEFAULT 0," // TDownloadEnd
                         " port TEXT NOT NULL, device TEXT NOT NULL, firmware TEXT NOT NULL,"
                         " config_from_recorder INTEGER NOT NULL,"
                         " tc8_typ TEXT NOT NULL, tc8_name TEXT NOT NULL, tc8_nazwa TEXT NOT NULL,"
                         " tc8_nazwa2 TEXT NOT NULL, tc8_nazwa3 TEXT NOT NULL,"
                         " temp_min INTEGER NOT NULL, temp_max INTEGER NOT NULL,"
                         " temp_korekta INTEGER NOT NULL, temp_korekta2 INTEGER NOT NULL,"
                         " temp_zapisz TEXT NOT NULL, ile_druk TEXT NOT NULL,"
                         " announced INTEGER,"
                         " records INTEGER NOT NULL DEFAULT 0,"
                         " first_reading TEXT, last_reading TEXT)"), // RecordTime
          QStringLiteral("CREATE TABLE records ("
                         " download INTEGER NOT NULL REFERENCES downloads(id) ON DELETE CASCADE,"
                         " seq INTEGER NOT NULL,"
                         " payload BLOB NOT NULL,"
                         " PRIMARY KEY (download, seq)) WITHOUT ROWID"),
          QStringLiteral("CREATE INDEX downloads_by_recorder"
                         " ON downloads (tc8_typ, tc8_name, tc8_nazwa, started)")}},
        {2,
         {QStringLiteral("ALTER TABLE downloads ADD COLUMN uuid TEXT"),
          QStringLiteral("ALTER TABLE downloads ADD COLUMN installation TEXT"),
          QStringLiteral("ALTER TABLE downloads ADD COLUMN host TEXT"),
          QStringLiteral("CREATE UNIQUE INDEX downloads_by_uuid ON downloads (uuid)")},
         GiveIdentities},
        {3,
         {QStringLiteral("CREATE TABLE sent ("
                         " download INTEGER NOT NULL REFERENCES downloads(id) ON DELETE CASCADE,"
                         " archive TEXT NOT NULL," // the company archive's UUID
                         " at TEXT NOT NULL,"      // UTC, ISO 8601, after the commit there
                         " PRIMARY KEY (download, archive)) WITHOUT ROWID")}},
    };
    return steps;
}

// A text as a column that is never NULL takes it: an empty text is not a missing one.
QVariant Text(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QString Utc(const QDateTime& time) {
    return time.isValid() ? time.toUTC().toString(Qt::ISODateWithMs) : QString();
}

QDateTime Local(const QVariant& value) {
    if (value.isNull())
        return {};
    QDateTime time = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
    time.setTimeSpec(Qt::UTC);
    return time.toLocalTime();
}

// SQLite's primary result code of an error.
int ResultCode(const QSqlError& error) {
    return error.nativeErrorCode().toInt() & 0xFF;
}

bool IsCorrupt(const QSqlError& error) {
    const int code = ResultCode(error);
    return code == 11 /* SQLITE_CORRUPT */ || code == 26 /* SQLITE_NOTADB */;
}

} // namespace

// What each delivery runs, prepared once per opening: a download of 2,047 records comes in
// dozens of deliveries, and preparing and binding per record cost more than SQLite's work.
struct THistoryArchive::DeliveryStatements {
    explicit DeliveryStatements(const QSqlDatabase& db)
        : Begin(db), Commit(db), Sequence(db), Insert(db), Update(db) {}
    bool Prepare() {
        return Begin.prepare(QStringLiteral("BEGIN")) && Commit.prepare(QStringLiteral("COMMIT")) &&
               Sequence.prepare(QStringLiteral("SELECT records FROM downloads WHERE id = ?")) &&
               // A delivery's records as one blob of 10-byte pieces, cut into rows by SQLite:
               // one statement and four values however many records came.
               Insert.prepare(QStringLiteral(
                   "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < ?)"
                   " INSERT INTO records (download, seq, payload)"
                   " SELECT ?, ? + i, substr(?, i * 10 + 1, 10) FROM n")) &&
               Update.prepare(QStringLiteral(
                   "UPDATE downloads SET records = ?, announced = coalesce(?, announced),"
                   " first_reading = min(coalesce(first_reading, ?), ?),"
                   " last_reading = max(coalesce(last_reading, ?), ?) WHERE id = ?"));
    }
    QSqlQuery Begin, Commit, Sequence, Insert, Update;
};

THistoryArchive::THistoryArchive(QString path)
    : path_(std::move(path)),
      connection_(QStringLiteral("tc8-archive-%1").arg(reinterpret_cast<quintptr>(this))) {
}

THistoryArchive::~THistoryArchive() {
    Close();
}

QString THistoryArchive::DefaultPath() {
    return ProgramDataFolder() + QStringLiteral("/archiwum.sqlite");
}

void THistoryArchive::Close() {
    delivery_.reset();
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
    open_ = false;
}

bool THistoryArchive::Fail(const QSqlError& error) {
    switch (ResultCode(error)) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        problem_ = QStringLiteral("archiwum jest zajęte przez inny program");
        break;
    case 8: // SQLITE_READONLY
        problem_ = QStringLiteral("archiwum jest tylko do odczytu");
        break;
    case 13: // SQLITE_FULL
        problem_ = QStringLiteral("brak miejsca na dysku");
        break;
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        problem_ = QStringLiteral("archiwum jest uszkodzone");
        break;
    case 14: // SQLITE_CANTOPEN
        problem_ = QStringLiteral("nie można otworzyć pliku %1").arg(path_);
        break;
    default:
        problem_ = error.text();
        break;
    }
    return false;
}

bool THistoryArchive::Exec(const QString& statement) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (query.exec(statement))
        return true;
    return Fail(query.lastError());
}

bool THistoryArchive::Open() {
    if (open_)
        return true;
    problem_.clear();
    setAside_.clear();
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) {
        problem_ =
            QStringLiteral("nie można założyć folderu %1").arg(QFileInfo(path_).absolutePath());
        return false;
    }
    // A corrupt file is set aside once and a new one begun.
    for (int attempt = 0; attempt < 2; ++attempt) {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
            db.setDatabaseName(path_);
            QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs);
            if (readOnlyForTests_)
                options += QStringLiteral(";QSQLITE_OPEN_READONLY");
            db.setConnectOptions(options);
            if (!db.open()) {
                Fail(db.lastError());
                db = {};
                Close();
                return false;
            }
            QSqlQuery version(db);
            if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next()) {
                const QSqlError error = version.lastError();
                version.finish();
                if (IsCorrupt(error) && attempt == 0) {
                    db = {};
                    Close();
                    if (!SetCorruptFileAside())
                        return false;
                    continue;
                }
                Fail(error);
                db = {};
                Close();
                return false;
            }
            if (version.value(0).toInt() > SchemaVersion) {
                problem_ = QStringLiteral("archiwum pochodzi z nowszej wersji programu");
                version.finish();
                db = {};
                Close();
                return false;
            }
        }
        // Write-ahead logging: a commit survives the program's end at once, and readers
        // (the archive window, a second configurator) never wait for a download.
        if (!readOnlyForTests_ &&
            (!UseWriteAheadLog() || !Exec(QStringLiteral("PRAGMA synchronous = NORMAL")))) {
            Close();
            return false;
        }
        if (pageLimitForTests_ > 0 &&
            !Exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pageLimitForTests_))) {
            Close();
            return false;
        }
        if (!LoadInstallation() || !Exec(QStringLiteral("PRAGMA foreign_keys = ON")) ||
            !Migrate()) {
            Close();
            return false;
        }
        auto statements =
            std::make_unique<DeliveryStatements>(QSqlDatabase::database(connection_, false));
        if (!statements->Prepare()) {
            Fail(statements->Insert.lastError().isValid() ? statements->Insert.lastError()
                                                          : statements->Update.lastError());
            statements.reset();
            Close();
            return false;
        }
        delivery_ = std::move(statements);
        open_ = true;
        return true;
    }
    return false;
}

bool THistoryArchive::UseWriteAheadLog() {
    // SQLite refuses the switch at once, without waiting, while another connection is making
    // the same new file: it is tried again for as long as a lock is waited for.
    const QDeadlineTimer deadline(BusyTimeoutMs);
    for (;;) {
        QSqlQuery query(QSqlDatabase::database(connection_, false));
        if (query.exec(QStringLiteral("PRAGMA journal_mode = WAL")))
            return true;
        if (ResultCode(query.lastError()) != 5 /* SQLITE_BUSY */ || deadline.hasExpired())
            return Fail(query.lastError());
        QThread::msleep(5);
    }
}

bool THistoryArchive::Migrate() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    const auto version = [this, &db]() -> std::optional<int> {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
            Fail(query.lastError());
            return std::nullopt;
        }
        return query.value(0).toInt();
    };
    const std::optional<int> found = version();
    if (!found)
        return false;
    for (const Migration& step : Migrations()) {
        if (step.Version <= *found)
            continue;
        // Another program, or this one's company link, may be making the same new file at
        // this moment: each step takes the write lock first and reads the version under it,
        // so that it is made once.
        if (!Exec(QStringLiteral("BEGIN IMMEDIATE")))
            return false;
        const std::optional<int> current = version();
        bool done = current.has_value();
        if (done && *current < step.Version) {
            for (const QString& statement : step.Statements)
                done = done && Exec(statement);
            if (done && step.Fill != nullptr && !step.Fill(db, installation_))
                done = Fail(db.lastError().isValid() ? db.lastError() : QSqlQuery(db).lastError());
            done = done && Exec(QStringLiteral("PRAGMA user_version = %1").arg(step.Version));
        }
        if (!done || !db.commit()) {
            if (done)
                Fail(db.lastError());
            db.rollback();
            return false;
        }
    }
    return true;
}

bool THistoryArchive::LoadInstallation() {
    const QString file = QFileInfo(path_).absolutePath() + QStringLiteral("/instalacja");
    const auto read = [&file] {
        QFile stored(file);
        return stored.open(QIODevice::ReadOnly) ? QUuid(stored.readLine().trimmed()) : QUuid();
    };
    installation_ = read();
    if (!installation_.isNull())
        return true;
    // Made once per PC. Two programs starting at once may both make one: a rename does not
    // replace a file that is there, so the first to land is kept and both read it back.
    QTemporaryFile made(file + QStringLiteral(".XXXXXX"));
    if (made.open()) {
        made.write(QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + '\n');
        made.close();
        if (made.rename(file))
            made.setAutoRemove(false);
    }
    installation_ = read();
    if (installation_.isNull()) {
        problem_ = QStringLiteral("nie można zapisać pliku %1").arg(file);
        return false;
    }
    return true;
}

bool THistoryArchive::SetCorruptFileAside() {
    const QString aside = path_ + QStringLiteral(".uszkodzone-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(path_, aside)) {
        problem_ = QStringLiteral("archiwum jest uszkodzone i nie można go odłożyć");
        return false;
    }
    // The journal files belong to the file set aside and go with it.
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")})
        if (QFile::exists(path_ + suffix))
            QFile::rename(path_ + suffix, aside + suffix);
    setAside_ = aside;
    return true;
}

std::optional<qint64> THistoryArchive::BeginDownload(const TDownloadStart& start,
                                                     const QUuid& uuid) {
    if (!Open())
        return std::nullopt;
    problem_.clear();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral(
        "INSERT INTO downloads (started, port, device, firmware, config_from_recorder,"
        " tc8_typ, tc8_name, tc8_nazwa, tc8_nazwa2, tc8_nazwa3, temp_min, temp_max,"
        " temp_korekta, temp_korekta2, temp_zapisz, ile_druk, uuid, installation, host)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const ConfigRecord& c = start.Config;
    for (const QVariant& value :
         {Text(Utc(start.Started)), Text(start.Port), Text(start.Device),
          Text(start.FirmwareVersion), QVariant(start.ConfigFromRecorder ? 1 : 0), Text(c.TC8Typ),
          Text(c.TC8name), Text(c.TC8Nazwa), Text(c.TC8Nazwa2), Text(c.TC8Nazwa3),
          QVariant(c.TempMin), QVariant(c.TempMax), QVariant(c.TempKorekta),
          QVariant(c.TempKorekta2), Text(c.TempZapisz), Text(c.IleDruk),
          QVariant(uuid.toString(QUuid::WithoutBraces)),
          QVariant(installation_.toString(QUuid::WithoutBraces)),
          Text(QSysInfo::machineHostName())})
        query.addBindValue(value);
    if (!query.exec()) {
        Fail(query.lastError());
        return std::nullopt;
    }
    return query.lastInsertId().toLongLong();
}

bool THistoryArchive::AddRecords(qint64 id, const QList<QByteArray>& records,
                                 std::optional<int> announced) {
    if (!Open())
        return false;
    problem_.clear();
    // The time fields lead a record, most significant first: their bytes compare as the
    // times do, so only the earliest and the latest are formatted.
    QByteArray payloads;
    payloads.reserve(records.size() * HistoryRecordSize);
    const QByteArray* earliest = nullptr;
    const QByteArray* latest = nullptr;
    for (const QByteArray& record : records) {
        if (record.size() < HistoryRecordSize)
            continue; // the session drops such records whole
        payloads += QByteArrayView(record).first(HistoryRecordSize);
        const QByteArrayView time = QByteArrayView(record).first(RecordTimeBytes);
        if (earliest == nullptr || time < QByteArrayView(*earliest).first(RecordTimeBytes))
            earliest = &record;
        if (latest == nullptr || time > QByteArrayView(*latest).first(RecordTimeBytes))
            latest = &record;
    }
    const int count = static_cast<int>(payloads.size() / HistoryRecordSize);
    const QString first = earliest != nullptr ? RecordTime(*earliest) : QString();
    const QString last = latest != nullptr ? RecordTime(*latest) : QString();

    DeliveryStatements& st = *delivery_;
    if (!st.Begin.exec())
        return Fail(st.Begin.lastError());
    const auto failed = [&](const QSqlError& error) {
        st.Sequence.finish();
        QSqlDatabase::database(connection_, false).rollback();
        return Fail(error);
    };
    st.Sequence.bindValue(0, id);
    if (!st.Sequence.exec())
        return failed(st.Sequence.lastError());
    if (!st.Sequence.next()) {
        failed({});
        problem_ = QStringLiteral("pobranie usunięto z archiwum");
        return false;
    }
    int sequence = st.Sequence.value(0).toInt();
    st.Sequence.finish();
    if (count > 0) {
        st.Insert.bindValue(0, count);
        st.Insert.bindValue(1, id);
        st.Insert.bindValue(2, sequence);
        st.Insert.bindValue(3, payloads);
        if (!st.Insert.exec())
            return failed(st.Insert.lastError());
        sequence += count;
    }
    st.Update.bindValue(0, sequence);
    st.Update.bindValue(1, announced ? QVariant(*announced) : QVariant());
    int position = 2;
    for (const QString& time : {first, first, last, last})
        st.Update.bindValue(position++, time.isEmpty() ? QVariant() : QVariant(time));
    st.Update.bindValue(position, id);
    if (!st.Update.exec())
        return failed(st.Update.lastError());
    if (!st.Commit.exec())
        return failed(st.Commit.lastError());
    return true;
}

bool THistoryArchive::EndDownload(qint64 id, TDownloadEnd end, const QDateTime& ended) {
    if (!Open())
        return false;
    problem_.clear();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("UPDATE downloads SET ended = ?, outcome = ? WHERE id = ?"));
    query.addBindValue(Utc(ended));
    query.addBindValue(static_cast<int>(end));
    query.addBindValue(id);
    return query.exec() || Fail(query.lastError());
}

QList<TDownloadSummary> THistoryArchive::Downloads(const TArchiveFilter& filter) {
    QList<TDownloadSummary> downloads;
    if (!Open())
        return downloads;
    problem_.clear();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT id, started, ended, %1, uuid, installation, host"
                                   " FROM downloads ORDER BY started DESC, id DESC")
                        .arg(DownloadColumns))) {
        Fail(query.lastError());
        return downloads;
    }
    const QString from = FilterBound(filter.From);
    const QString to = FilterBound(filter.To);
    while (query.next()) {
        TDownloadSummary d;
        int column = 0;
        const auto next = [&] { return query.value(column++); };
        d.Id = next().toLongLong();
        d.Start.Started = Local(next());
        d.Ended = Local(next());
        ReadDownloadColumns(next, d);
        d.Uuid = QUuid(next().toString());
        d.Installation = QUuid(next().toString());
        d.Host = next().toString();

        if (!filter.Recorder.isEmpty() &&
            RecorderLabel(d.Start.Config, d.Start.ConfigFromRecorder) != filter.Recorder)
            continue;
        // A download is in the period when any of its readings is.
        if (!from.isEmpty() && (d.LastReading.isEmpty() || d.LastReading < from))
            continue;
        if (!to.isEmpty() && (d.FirstReading.isEmpty() || d.FirstReading > to))
            continue;
        downloads << d;
    }
    return downloads;
}

QList<QByteArray> THistoryArchive::Records(qint64 id) {
    QList<QByteArray> records;
    if (!Open())
        return records;
    problem_.clear();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT payload FROM records WHERE download = ? ORDER BY seq"));
    query.addBindValue(id);
    if (!query.exec()) {
        Fail(query.lastError());
        return records;
    }
    while (query.next())
        records << query.value(0).toByteArray();
    return records;
}

QList<qint64> THistoryArchive::Unsent(const QUuid& archive) {
    QList<qint64> ids;
    if (!Open())
        return ids;
    problem_.clear();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT id FROM downloads WHERE id NOT IN"
                                 " (SELECT download FROM sent WHERE archive = ?) ORDER BY id"));
    query.addBindValue(archive.toString(QUuid::WithoutBraces));
    if (!query.exec()) {
        Fail(query.lastError());
        return ids;
    }
    while (query.next())
        ids << query.value(0).toLongLong();
    return ids;
}

bool THistoryArchive::MarkSent(qint64 id, const QUuid& archive, const QDateTime& at) {
    if (!Open())
        return false;
    problem_.clear();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(
        QStringLiteral("INSERT OR IGNORE INTO sent (download, archive, at) VALUES (?, ?, ?)"));
    query.addBindValue(id);
    query.addBindValue(archive.toString(QUuid::WithoutBraces));
    query.addBindValue(Utc(at));
    return query.exec() || Fail(query.lastError());
}

bool THistoryArchive::Delete(qint64 id) {
    if (!Open())
        return false;
    problem_.clear();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("DELETE FROM downloads WHERE id = ?"));
    query.addBindValue(id);
    return query.exec() || Fail(query.lastError());
}
