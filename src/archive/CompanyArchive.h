#pragma once

#include "archive/DownloadArchive.h"

#include <QString>
#include <QUuid>
#include <functional>
#include <optional>

class THistoryArchive;

// libpq's keyword/value connection string for a target: a URI
// ("postgresql://user@host:port/db?sslmode=require") taken apart, or keyword/value pairs
// ("service=NAME") as they are. Empty, with `problem` set, for a target that is neither or
// that holds a password (which belongs in ~/.pgpass, PGPASSWORD or the service file).
QString CompanyConnectionString(const QString& target, QString* problem);

// The address of the company archive this PC sends to, kept in the file "archiwum-firmy" in
// `dataFolder` (beside the local archive); empty when none is set up. No password is ever
// kept there: an address with one is refused.
QString CompanyTargetSetting(const QString& dataFolder);
bool SaveCompanyTargetSetting(const QString& dataFolder, const QString& target);

// The company's archive of downloads from many PCs: a PostgreSQL database that the company
// runs, reached by a connection URI ("postgresql://user@host/db") or a service name
// ("service=NAME"), with libpq's own ways to the password (~/.pgpass, PGPASSWORD, the
// service file) and to TLS. Everything of the program lives in the schema "tc8", so the
// role needs no rights beyond it. A download is kept once, by its UUID, whoever sends it.
// Like every Qt SQL connection, an object is used only in the thread that made it.
class TCompanyArchive : public TDownloadArchive {
public:
    explicit TCompanyArchive(QString target);
    ~TCompanyArchive() override;
    TCompanyArchive(const TCompanyArchive&) = delete;
    TCompanyArchive& operator=(const TCompanyArchive&) = delete;

    // The schema version this program writes.
    static constexpr int SchemaVersion = 1;

    const QString& Target() const { return target_; }
    // Creates the schema on a database that has none, or brings an older one up to date;
    // an archive already there keeps its identity and its downloads. True when the archive
    // can then be used.
    bool Init();
    // Connects and checks the schema; true when the archive can be used.
    bool Open();
    // The archive's own UUID, by which each PC remembers what it sent there; null until
    // opened.
    const QUuid& Id() const { return id_; }
    const QString& Problem() const override { return problem_; }

    // Tells, before each download is sent, how many of how many are done; false stops.
    using Progress = std::function<bool(int done, int total)>;
    // Sends what `local` has not yet sent here, oldest first, each download in a
    // transaction of its own, marked sent in `local` only after the commit: a push cut short
    // anywhere sends the rest next time, and what was sent twice is kept once. A download
    // still running (or cut off by the program's end) is sent as far as it came and again
    // when it has grown. The number of downloads stored or completed here; nothing when the
    // push stopped on a problem (those before it stay sent).
    std::optional<int> Push(THistoryArchive& local, const Progress& progress = {});

    // Every PC's downloads, newest first.
    QList<TDownloadSummary> Downloads(const TArchiveFilter& filter = {}) override;
    QList<QByteArray> Records(qint64 id) override;

private:
    bool Connect();
    bool Fail(const class QSqlError& error);
    bool Migrate();
    void Close();

    const QString target_;
    const QString connection_;
    QUuid id_;
    QString problem_;
};
