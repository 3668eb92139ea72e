#pragma once

#include <QString>
#include <QTemporaryDir>

// A PostgreSQL server of the test's own: a cluster made by initdb in a temporary folder,
// listening on a Unix socket in that folder and on no network, stopped and removed with the
// object. As root (CI) the cluster belongs to the system's postgres user, since the server
// refuses to run as root.
class TPostgresServer {
public:
    TPostgresServer();
    ~TPostgresServer();
    TPostgresServer(const TPostgresServer&) = delete;
    TPostgresServer& operator=(const TPostgresServer&) = delete;

    // Empty when the server runs; otherwise why it does not.
    const QString& Problem() const { return problem_; }
    // A connection URI for `database` as `role` (the superuser when empty).
    QString Uri(const QString& database = QStringLiteral("postgres"),
                const QString& role = {}) const;
    // From now on every role but the superuser logs on with its password.
    bool RequirePasswords();
    // Runs SQL as the superuser (through psql); false when it fails.
    bool Sql(const QString& statements, const QString& database = QStringLiteral("postgres"));
    // The server's main process, from its pid file; 0 when it does not run.
    qint64 Pid() const;

private:
    bool Control(const QString& action);
    bool Run(const QString& program, const QStringList& arguments, QString* output = nullptr);

    QTemporaryDir folder_;
    QString bin_;
    QString user_;
    QString problem_;
    bool started_ = false;
};
