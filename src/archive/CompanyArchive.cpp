#include "archive/CompanyArchive.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>
#include <QVariant>

namespace {

// Long enough for a VPN that is slow to answer, short enough that a technician in a truck
// hears soon that the company is out of reach.
constexpr int ConnectTimeoutSeconds = 10;

// libpq's code for a relation that does not exist: the archive has not been set up.
const QString UndefinedTable = QStringLiteral("42P01");

const QString NotSetUp = QStringLiteral("archiwum firmy nie jest założone (tc8-cli archive init)");

// What the server or libpq said, without Qt's own words when there is more.
QString Said(const QSqlError& error) {
    const QString database = error.databaseText().trimmed();
    return database.isEmpty() ? error.driverText().trimmed() : database;
}

// A value as libpq reads it between single quotes.
QString Quoted(QString value) {
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    value.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

} // namespace

QString CompanyConnectionString(const QString& target, QString* problem) {
    const QString trimmed = target.trimmed();
    const QString noPassword =
        QStringLiteral("hasło nie może być w adresie archiwum firmy (użyj ~/.pgpass)");
    if (!trimmed.startsWith(QStringLiteral("postgresql://")) &&
        !trimmed.startsWith(QStringLiteral("postgres://"))) {
        if (!trimmed.contains(QLatin1Char('='))) {
            *problem = QStringLiteral("adres archiwum firmy to postgresql://… albo service=…");
            return {};
        }
        if (trimmed.contains(QStringLiteral("password"))) {
            *problem = noPassword;
            return {};
        }
        return trimmed;
    }
    const QUrl uri(trimmed);
    if (!uri.isValid()) {
        *problem = QStringLiteral("niepoprawny adres archiwum firmy: %1").arg(uri.errorString());
        return {};
    }
    if (!uri.password().isEmpty()) {
        *problem = noPassword;
        return {};
    }
    QStringList pairs;
    const auto add = [&pairs](const QString& keyword, const QString& value) {
        if (!value.isEmpty())
            pairs << keyword + QLatin1Char('=') + Quoted(value);
    };
    add(QStringLiteral("host"), uri.host());
    if (uri.port() != -1)
        add(QStringLiteral("port"), QString::number(uri.port()));
    add(QStringLiteral("user"), uri.userName());
    add(QStringLiteral("dbname"), uri.path().mid(1));
    for (const auto& [keyword, value] : QUrlQuery(uri).queryItems(QUrl::FullyDecoded)) {
        if (keyword == QStringLiteral("password")) {
            *problem = noPassword;
            return {};
        }
        add(keyword, value);
    }
    return pairs.join(QLatin1Char(' '));
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
    // Qt passes its connection options to libpq as they are, after its own (none here).
    db.setConnectOptions(
        QStringLiteral("connect_timeout=%1 %2").arg(ConnectTimeoutSeconds).arg(connection));
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
    if (query.value(1).toInt() > SchemaVersion) {
        problem_ = QStringLiteral("archiwum firmy pochodzi z nowszej wersji programu");
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
    QSqlQuery query(db);
    bool done = query.exec(QStringLiteral("CREATE SCHEMA IF NOT EXISTS tc8")) &&
                query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS tc8.archive ("
                                          " id uuid NOT NULL,"
                                          " version integer NOT NULL,"
                                          " created timestamptz NOT NULL DEFAULT now(),"
                                          " only_one boolean PRIMARY KEY DEFAULT true"
                                          " CHECK (only_one))"));
    if (done) {
        query.prepare(QStringLiteral("INSERT INTO tc8.archive (id, version) VALUES (?, ?)"
                                     " ON CONFLICT (only_one) DO NOTHING"));
        query.addBindValue(QUuid::createUuid().toString(QUuid::WithoutBraces));
        query.addBindValue(SchemaVersion);
        done = query.exec();
    }
    if (!done) {
        const QSqlError error = query.lastError();
        db.rollback();
        return Fail(error);
    }
    if (!db.commit())
        return Fail(db.lastError());
    return Open();
}
