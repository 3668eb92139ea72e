#include "archive/CompanyArchive.h"

#include "archive/HistoryArchive.h"
#include "config/WholeFile.h"
#include "operations/HistoryRendering.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>
#include <algorithm>

namespace {

// Long enough for a VPN that is slow to answer, short enough that a technician in a truck
// hears soon that the company is out of reach.
constexpr int ConnectTimeoutSeconds = 10;

// libpq's code for a relation that does not exist: the archive has not been set up.
const QString UndefinedTable = QStringLiteral("42P01");

// The key of the lock that setting the archive up is done under ("tc8" and a 1).
constexpr qint64 SetUpLock = 0x7463'3800'0000'0001;

const QString NotSetUp = QStringLiteral("archiwum firmy nie jest założone (tc8-cli archive init)");

// Each step takes the schema from the version before it to its own.
struct Migration {
    int Version;
    QStringList Statements;
};

const QList<Migration>& Migrations() {
    static const QList<Migration> steps{
        {1,
         {QStringLiteral("CREATE TABLE tc8.downloads ("
                         " id bigserial PRIMARY KEY," // the company's number of the download
                         " uuid uuid NOT NULL UNIQUE,"
                         " installation uuid NOT NULL, host text NOT NULL,"
                         " started timestamptz NOT NULL, ended timestamptz,"
                         " outcome integer NOT NULL," // TDownloadEnd
                         " port text NOT NULL, device text NOT NULL, firmware text NOT NULL,"
                         " config_from_recorder boolean NOT NULL,"
                         " tc8_typ text NOT NULL, tc8_name text NOT NULL, tc8_nazwa text NOT NULL,"
                         " tc8_nazwa2 text NOT NULL, tc8_nazwa3 text NOT NULL,"
                         " temp_min smallint NOT NULL, temp_max smallint NOT NULL,"
                         " temp_korekta smallint NOT NULL, temp_korekta2 smallint NOT NULL,"
                         " temp_zapisz text NOT NULL, ile_druk text NOT NULL,"
                         " announced integer, records integer NOT NULL,"
                         " first_reading text, last_reading text," // RecordTime
                         " recorder text NOT NULL," // RecorderLabel, what the filter asks for
                         // The records, 10 bytes each, in the order received: a download is
                         // read whole, and one value of 20 kB is what the server keeps best.
                         " payload bytea NOT NULL,"
                         " received timestamptz NOT NULL DEFAULT now())"),
          // A recorder's downloads over a period, the archive's usual question.
          QStringLiteral("CREATE INDEX downloads_by_recorder"
                         " ON tc8.downloads (recorder, last_reading)"),
          QStringLiteral("CREATE INDEX downloads_by_start ON tc8.downloads (started)")}},
    };
    return steps;
}

// What the company archive keeps of a download, in the order Push binds it. (A function:
// DownloadColumns is another file's, made in no order known before this file's.)
QString CompanyColumns() {
    return QStringLiteral("uuid, installation, host, started, ended, ") + DownloadColumns;
}
QString Utc(const QDateTime& time) {
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QVariant Optional(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// What the server or libpq said, without Qt's own words when there is more.
QString Said(const QSqlError& error) {
    const QString database = error.databaseText().trimmed();
    return (database.isEmpty() ? error.driverText() : database).simplified();
}

// A value as libpq reads it between single quotes.
QString Quoted(QString value) {
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    value.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

// A keyword libpq knows is lower-case letters and underscores; anything else in an address
// would reach libpq as more than one keyword (a password among them).
bool PlainKeyword(const QString& keyword) {
    static const QRegularExpression plain(QStringLiteral("^[a-z_]+$"));
    return plain.match(keyword).hasMatch();
}

bool NamesAPassword(const QString& keyword) {
    return keyword.contains(QStringLiteral("password"));
}

QString Decoded(QStringView part) {
    return QUrl::fromPercentEncoding(part.toUtf8());
}

// The hosts and ports of a URI's "host[:port],host[:port]…" as libpq's host= and port= lists
// (a host may be "[an:ipv6::address]" or a percent-encoded socket folder). Empty lists when
// the part is not well formed.
std::optional<std::pair<QStringList, QStringList>> HostsAndPorts(QStringView hostSpec) {
    QStringList hosts;
    QStringList ports;
    if (hostSpec.isEmpty())
        return std::pair{hosts, ports};
    for (QStringView item : hostSpec.split(u',')) {
        QStringView host = item;
        QStringView port;
        if (item.startsWith(u'[')) {
            const qsizetype close = item.indexOf(u']');
            if (close < 0)
                return std::nullopt;
            host = item.mid(1, close - 1);
            const QStringView after = item.mid(close + 1);
            if (!after.isEmpty() && !after.startsWith(u':'))
                return std::nullopt;
            port = after.mid(after.isEmpty() ? 0 : 1);
        } else if (const qsizetype colon = item.indexOf(u':'); colon >= 0) {
            host = item.first(colon);
            port = item.mid(colon + 1);
        }
        for (const QChar c : port)
            if (!c.isDigit())
                return std::nullopt;
        hosts << Decoded(host);
        ports << port.toString();
    }
    return std::pair{hosts, ports};
}

} // namespace

QString CompanyConnectionString(const QString& target, QString* problem) {
    const QString trimmed = target.trimmed();
    const QString noPassword =
        QStringLiteral("hasło nie może być w adresie archiwum firmy (użyj ~/.pgpass)");
    const QString malformed = QStringLiteral(
        "niepoprawny adres archiwum firmy (postgresql://użytkownik@serwer:port/baza)");
    QStringView rest(trimmed);
    for (const QString& scheme : {QStringLiteral("postgresql://"), QStringLiteral("postgres://")})
        if (rest.startsWith(scheme))
            rest = rest.mid(scheme.size());
    if (rest.size() == trimmed.size()) {
        if (!trimmed.contains(QLatin1Char('='))) {
            *problem = QStringLiteral("adres archiwum firmy to postgresql://… albo service=…");
            return {};
        }
        if (NamesAPassword(trimmed)) {
            *problem = noPassword;
            return {};
        }
        return trimmed;
    }
    // libpq's own URI form: postgresql://[user[:password]@][hosts][/dbname][?key=value&…].
    // (Qt's URL parser refuses a list of hosts and a percent-encoded socket folder, both of
    // which libpq takes.)
    QStringView query;
    if (const qsizetype mark = rest.indexOf(u'?'); mark >= 0) {
        query = rest.mid(mark + 1);
        rest = rest.first(mark);
    }
    QStringView database;
    if (const qsizetype slash = rest.indexOf(u'/'); slash >= 0) {
        database = rest.mid(slash + 1);
        rest = rest.first(slash);
    }
    QStringView user;
    if (const qsizetype at = rest.indexOf(u'@'); at >= 0) {
        user = rest.first(at);
        rest = rest.mid(at + 1);
        if (user.contains(u':')) {
            *problem = noPassword;
            return {};
        }
    }
    const auto hostsAndPorts = HostsAndPorts(rest);
    if (!hostsAndPorts) {
        *problem = malformed;
        return {};
    }
    const auto& [hosts, ports] = *hostsAndPorts;
    QStringList pairs;
    const auto add = [&pairs](const QString& keyword, const QString& value) {
        if (!value.isEmpty())
            pairs << keyword + QLatin1Char('=') + Quoted(value);
    };
    // A list of empty items ("host=,") says nothing: left out, libpq uses its defaults.
    const auto addList = [&add](const QString& keyword, const QStringList& items) {
        if (std::any_of(items.cbegin(), items.cend(),
                        [](const QString& i) { return !i.isEmpty(); }))
            add(keyword, items.join(QLatin1Char(',')));
    };
    addList(QStringLiteral("host"), hosts);
    addList(QStringLiteral("port"), ports);
    add(QStringLiteral("user"), Decoded(user));
    add(QStringLiteral("dbname"), Decoded(database));
    for (QStringView item : query.split(u'&', Qt::SkipEmptyParts)) {
        const qsizetype equals = item.indexOf(u'=');
        const QString keyword = Decoded(item.first(std::max<qsizetype>(equals, 0)));
        if (equals < 0 || !PlainKeyword(keyword)) {
            *problem = malformed;
            return {};
        }
        if (NamesAPassword(keyword)) {
            *problem = noPassword;
            return {};
        }
        add(keyword, Decoded(item.mid(equals + 1)));
    }
    return pairs.join(QLatin1Char(' '));
}

QString CompanyTargetSetting(const QString& dataFolder) {
    QFile file(dataFolder + QStringLiteral("/archiwum-firmy"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString target = QString::fromUtf8(file.readLine()).trimmed();
    QString problem;
    return CompanyConnectionString(target, &problem).isEmpty() ? QString() : target;
}

bool SaveCompanyTargetSetting(const QString& dataFolder, const QString& target) {
    const QString path = dataFolder + QStringLiteral("/archiwum-firmy");
    if (target.trimmed().isEmpty())
        return !QFile::exists(path) || QFile::remove(path);
    QString problem;
    return !CompanyConnectionString(target, &problem).isEmpty() && QDir().mkpath(dataFolder) &&
           WriteWholeFile(path, target.trimmed().toUtf8() + '\n');
}

TCompanyArchive::TCompanyArchive(QString target)
    : target_(std::move(target)),
      connection_(QStringLiteral("tc8-company-%1").arg(reinterpret_cast<quintptr>(this))) {
}

TCompanyArchive::~TCompanyArchive() {
    Close();
}

void TCompanyArchive::Close() {
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

bool TCompanyArchive::Fail(const QSqlError& error) {
    problem_ = QStringLiteral("archiwum firmy: %1").arg(Said(error));
    return false;
}

bool TCompanyArchive::Connect() {
    problem_.clear();
    if (QSqlDatabase::contains(connection_) && QSqlDatabase::database(connection_, false).isOpen())
        return true;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        problem_ = QStringLiteral("brak sterownika PostgreSQL (pakiet libqt6sql6-psql)");
        return false;
    }
    QSqlDatabase db = QSqlDatabase::contains(connection_)
                          ? QSqlDatabase::database(connection_, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection_);
    const QString connection = CompanyConnectionString(target_, &problem_);
    if (connection.isEmpty())
        return false;
    // Qt passes its connection options to libpq as they are, after its own (none here). A
    // network that goes quiet mid-push (a VPN dropped in a truck) ends the push within about
    // half a minute instead of leaving it waiting for TCP's own timeout of many minutes. The
    // server's administrator sees the program's connections by their name.
    db.setConnectOptions(
        QStringLiteral("connect_timeout=%1 application_name=tc8 keepalives_idle=10 "
                       "keepalives_interval=5 keepalives_count=3 "
                       "tcp_user_timeout=30000 %2")
            .arg(ConnectTimeoutSeconds)
            .arg(connection));
    if (!db.open()) {
        problem_ =
            QStringLiteral("nie można połączyć się z archiwum firmy: %1").arg(Said(db.lastError()));
        return false;
    }
    return true;
}

bool TCompanyArchive::Open() {
    id_ = QUuid();
    if (!Connect())
        return false;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("SELECT id, version FROM tc8.archive"))) {
        if (query.lastError().nativeErrorCode() != UndefinedTable)
            return Fail(query.lastError());
        problem_ = NotSetUp;
        return false;
    }
    if (!query.next()) {
        problem_ = NotSetUp;
        return false;
    }
    const int version = query.value(1).toInt();
    if (version > SchemaVersion) {
        problem_ = QStringLiteral("archiwum firmy pochodzi z nowszej wersji programu");
        return false;
    }
    if (version < SchemaVersion) {
        problem_ = QStringLiteral("archiwum firmy wymaga uaktualnienia (tc8-cli archive init)");
        return false;
    }
    id_ = QUuid(query.value(0).toString());
    return true;
}

bool TCompanyArchive::Init() {
    if (!Connect())
        return false;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction())
        return Fail(db.lastError());
    if (!Migrate()) {
        db.rollback();
        return false;
    }
    if (!db.commit())
        return Fail(db.lastError());
    return Open();
}

bool TCompanyArchive::Migrate() {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    const auto run = [&query](const QString& statement) { return query.exec(statement); };
    // Two PCs setting up at once: the second waits here (until the first commits) and finds
    // the first's work done. A lock of the archive's own, as there is no table yet to lock.
    if (!run(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(SetUpLock)))
        return Fail(query.lastError());
    // CREATE SCHEMA asks for a right on the database even when the schema is there: a role
    // given only the schema made for it by the database's owner sets the archive up too.
    if (!run(QStringLiteral("SELECT 1 FROM pg_namespace WHERE nspname = 'tc8'")))
        return Fail(query.lastError());
    const bool schemaThere = query.next();
    if ((!schemaThere && !run(QStringLiteral("CREATE SCHEMA tc8"))) ||
        !run(QStringLiteral("CREATE TABLE IF NOT EXISTS tc8.archive ("
                            " id uuid NOT NULL,"
                            " version integer NOT NULL,"
                            " created timestamptz NOT NULL DEFAULT now(),"
                            " only_one boolean PRIMARY KEY DEFAULT true CHECK (only_one))")) ||
        !run(QStringLiteral("SELECT version FROM tc8.archive")))
        return Fail(query.lastError());
    int version = 0;
    if (query.next()) {
        version = query.value(0).toInt();
    } else {
        query.prepare(QStringLiteral("INSERT INTO tc8.archive (id, version) VALUES (?, 0)"));
        query.addBindValue(QUuid::createUuid().toString(QUuid::WithoutBraces));
        if (!query.exec())
            return Fail(query.lastError());
    }
    if (version > SchemaVersion) {
        problem_ = QStringLiteral("archiwum firmy pochodzi z nowszej wersji programu");
        return false;
    }
    for (const Migration& step : Migrations()) {
        if (step.Version <= version)
            continue;
        for (const QString& statement : step.Statements)
            if (!run(statement))
                return Fail(query.lastError());
        if (!run(QStringLiteral("UPDATE tc8.archive SET version = %1").arg(step.Version)))
            return Fail(query.lastError());
    }
    return true;
}

std::optional<int> TCompanyArchive::Push(THistoryArchive& local, const Progress& progress) {
    if (!Open())
        return std::nullopt;
    const QList<qint64> unsent = local.Unsent(id_);
    QHash<qint64, TDownloadSummary> summaries;
    if (!unsent.isEmpty())
        for (const TDownloadSummary& d : local.Downloads())
            summaries.insert(d.Id, d);
    if (!local.Problem().isEmpty()) {
        problem_ = local.Problem();
        return std::nullopt;
    }
    QSqlQuery insert(QSqlDatabase::database(connection_, false));
    // One statement a download, which the server runs as one transaction. A download that
    // is here already is completed when it has grown since, and otherwise left as it is.
    if (!insert.prepare(
            QStringLiteral(
                "INSERT INTO tc8.downloads (%1, recorder, payload) VALUES (%2)"
                " ON CONFLICT (uuid) DO UPDATE SET ended = excluded.ended,"
                " outcome = excluded.outcome, announced = excluded.announced,"
                " records = excluded.records, first_reading = excluded.first_reading,"
                " last_reading = excluded.last_reading, payload = excluded.payload"
                " WHERE tc8.downloads.ended IS NULL"
                " AND (excluded.ended IS NOT NULL OR excluded.records > tc8.downloads.records)")
                .arg(CompanyColumns(), QStringList(27, QStringLiteral("?")).join(u',')))) {
        Fail(insert.lastError());
        return std::nullopt;
    }
    int stored = 0;
    for (int done = 0; done < unsent.size(); ++done) {
        if (progress && !progress(done, static_cast<int>(unsent.size())))
            break;
        const auto found = summaries.constFind(unsent[done]);
        if (found == summaries.cend())
            continue; // deleted meanwhile
        const TDownloadSummary& d = *found;
        QList<QByteArray> records = local.Records(d.Id);
        if (!local.Problem().isEmpty()) {
            problem_ = local.Problem();
            return std::nullopt;
        }
        // Records only come and go with their download: fewer than listed, it was deleted
        // meanwhile; more, it is still growing, and the rest goes with the next push.
        if (records.size() < d.Records)
            continue;
        records.resize(d.Records);
        // Also a download with no records (the recorder did not answer) is stored: an empty
        // join is a null array, which would reach the server as NULL.
        QByteArray payload = records.join();
        if (payload.isNull())
            payload = QByteArray("");
        const ConfigRecord& c = d.Start.Config;
        for (const QVariant& value : {QVariant(d.Uuid.toString(QUuid::WithoutBraces)),
                                      QVariant(d.Installation.toString(QUuid::WithoutBraces)),
                                      QVariant(d.Host),
                                      QVariant(Utc(d.Start.Started)),
                                      d.Ended.isValid() ? QVariant(Utc(d.Ended)) : QVariant(),
                                      QVariant(static_cast<int>(d.End)),
                                      QVariant(d.Start.Port),
                                      QVariant(d.Start.Device),
                                      QVariant(d.Start.FirmwareVersion),
                                      QVariant(d.Start.ConfigFromRecorder),
                                      QVariant(c.TC8Typ),
                                      QVariant(c.TC8name),
                                      QVariant(c.TC8Nazwa),
                                      QVariant(c.TC8Nazwa2),
                                      QVariant(c.TC8Nazwa3),
                                      QVariant(int{c.TempMin}),
                                      QVariant(int{c.TempMax}),
                                      QVariant(int{c.TempKorekta}),
                                      QVariant(int{c.TempKorekta2}),
                                      QVariant(c.TempZapisz),
                                      QVariant(c.IleDruk),
                                      d.Announced ? QVariant(*d.Announced) : QVariant(),
                                      QVariant(d.Records),
                                      Optional(d.FirstReading),
                                      Optional(d.LastReading),
                                      QVariant(RecorderLabel(c, d.Start.ConfigFromRecorder)),
                                      QVariant(payload)})
            insert.addBindValue(value);
        if (!insert.exec()) {
            Fail(insert.lastError());
            return std::nullopt;
        }
        if (insert.numRowsAffected() > 0)
            ++stored;
        // One still growing is sent again by the next push.
        if (d.Ended.isValid() && !local.MarkSent(d.Id, id_, QDateTime::currentDateTimeUtc())) {
            problem_ = local.Problem();
            return std::nullopt;
        }
    }
    return stored;
}

QList<TDownloadSummary> TCompanyArchive::Downloads(const TArchiveFilter& filter) {
    QList<TDownloadSummary> downloads;
    if (id_.isNull() && !Open())
        return downloads;
    problem_.clear();
    QStringList conditions;
    QVariantList values;
    if (!filter.Recorder.isEmpty()) {
        conditions << QStringLiteral("recorder = ?");
        values << filter.Recorder;
    }
    // A download is in the period when any of its readings is.
    if (filter.From.isValid()) {
        conditions << QStringLiteral("last_reading >= ?");
        values << FilterBound(filter.From);
    }
    if (filter.To.isValid()) {
        conditions << QStringLiteral("first_reading <= ?");
        values << FilterBound(filter.To);
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT id, uuid, installation, host, %1,"
                                 " (extract(epoch FROM started) * 1000)::bigint,"
                                 " (extract(epoch FROM ended) * 1000)::bigint"
                                 " FROM tc8.downloads %2 ORDER BY started DESC, id DESC")
                      .arg(DownloadColumns, conditions.isEmpty()
                                                ? QString()
                                                : QStringLiteral("WHERE ") +
                                                      conditions.join(QStringLiteral(" AND "))));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        Fail(query.lastError());
        return downloads;
    }
    const auto time = [](const QVariant& milliseconds) {
        return milliseconds.isNull()
                   ? QDateTime()
                   : QDateTime::fromMSecsSinceEpoch(milliseconds.toLongLong()).toLocalTime();
    };
    while (query.next()) {
        TDownloadSummary d;
        int column = 0;
        const auto next = [&] { return query.value(column++); };
        d.Id = next().toLongLong();
        d.Uuid = QUuid(next().toString());
        d.Installation = QUuid(next().toString());
        d.Host = next().toString();
        ReadDownloadColumns(next, d);
        // The times come last, as milliseconds.
        d.Start.Started = time(next());
        d.Ended = time(next());
        downloads << d;
    }
    return downloads;
}

QList<QByteArray> TCompanyArchive::Records(qint64 id) {
    QList<QByteArray> records;
    if (id_.isNull() && !Open())
        return records;
    problem_.clear();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT payload FROM tc8.downloads WHERE id = ?"));
    query.addBindValue(id);
    if (!query.exec()) {
        Fail(query.lastError());
        return records;
    }
    if (!query.next())
        return records;
    const QByteArray payload = query.value(0).toByteArray();
    records.reserve(payload.size() / HistoryRecordSize);
    for (qsizetype at = 0; at + HistoryRecordSize <= payload.size(); at += HistoryRecordSize)
        records << payload.mid(at, HistoryRecordSize);
    return records;
}
