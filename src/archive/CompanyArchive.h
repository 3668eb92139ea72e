#pragma once

#include <QString>
#include <QUuid>

// libpq's keyword/value connection string for a target: a URI
// ("postgresql://user@host:port/db?sslmode=require") taken apart, or keyword/value pairs
// ("service=NAME") as they are. Empty, with `problem` set, for a target that is neither or
// that holds a password (which belongs in ~/.pgpass, PGPASSWORD or the service file).
QString CompanyConnectionString(const QString& target, QString* problem);

// The company's archive of downloads from many PCs: a PostgreSQL database that the company
// runs, reached by a connection URI ("postgresql://user@host/db") or a service name
// ("service=NAME"), with libpq's own ways to the password (~/.pgpass, PGPASSWORD, the
// service file) and to TLS. Everything of the program lives in the schema "tc8", so the
// role needs no rights beyond it.
class TCompanyArchive {
public:
    explicit TCompanyArchive(QString target);
    ~TCompanyArchive();
    TCompanyArchive(const TCompanyArchive&) = delete;
    TCompanyArchive& operator=(const TCompanyArchive&) = delete;

    // The schema version this program writes.
    static constexpr int SchemaVersion = 1;

    // Creates the schema on a database that has none; an archive already there is kept.
    // True when the archive can then be used.
    bool Init();
    // Connects and checks the schema; true when the archive can be used.
    bool Open();
    // The archive's own UUID, by which each PC remembers what it sent there; null until
    // opened.
    const QUuid& Id() const { return id_; }
    // Why the last step failed, in Polish; empty after one that succeeded.
    const QString& Problem() const { return problem_; }

private:
    bool Connect();
    bool Fail(const class QSqlError& error);
    void Close();

    const QString target_;
    const QString connection_;
    QUuid id_;
    QString problem_;
};
