#include "PostgresServer.h"

#include <QDir>
#include <QProcess>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>
#include <unistd.h>

namespace {

// The newest server Debian installed: /usr/lib/postgresql/<version>/bin.
QString ServerBin() {
    QStringList versions =
        QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
    for (auto it = versions.crbegin(); it != versions.crend(); ++it) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(*it);
        if (QFile::exists(bin + QStringLiteral("/initdb")))
            return bin;
    }
    return {};
}

} // namespace

TPostgresServer::TPostgresServer() {
    bin_ = ServerBin();
    if (bin_.isEmpty()) {
        problem_ = QStringLiteral("no PostgreSQL server installed (Debian's postgresql)");
        return;
    }
    const bool root = geteuid() == 0;
    user_ = root ? QStringLiteral("postgres")
                 : qEnvironmentVariable("USER", QStringLiteral("postgres"));
    if (root && !Run(QStringLiteral("chown"), {user_, folder_.path()}))
        return;
    const QString data = folder_.filePath(QStringLiteral("data"));
    if (!Run(bin_ + QStringLiteral("/initdb"),
             {QStringLiteral("-D"), data, QStringLiteral("-U"), user_, QStringLiteral("-A"),
              QStringLiteral("trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
              QStringLiteral("--no-sync")}))
        return;
    started_ = Control(QStringLiteral("start"));
}

bool TPostgresServer::Control(const QString& action) {
    const QString options = QStringLiteral("-c listen_addresses='' -c unix_socket_directories='%1' "
                                           "-c fsync=off")
                                .arg(folder_.path());
    return Run(bin_ + QStringLiteral("/pg_ctl"),
               {QStringLiteral("-D"), folder_.filePath(QStringLiteral("data")),
                QStringLiteral("-l"), folder_.filePath(QStringLiteral("server.log")),
                QStringLiteral("-w"), QStringLiteral("-o"), options, action});
}

TPostgresServer::~TPostgresServer() {
    if (started_)
        Run(bin_ + QStringLiteral("/pg_ctl"),
            {QStringLiteral("-D"), folder_.filePath(QStringLiteral("data")), QStringLiteral("-m"),
             QStringLiteral("immediate"), QStringLiteral("stop")});
}

bool TPostgresServer::Run(const QString& program, const QStringList& arguments, QString* output) {
    QProcess process;
    if (geteuid() == 0 && program != QStringLiteral("chown")) {
        process.setProgram(QStringLiteral("runuser"));
        process.setArguments(
            QStringList{QStringLiteral("-u"), user_, QStringLiteral("--"), program} + arguments);
    } else {
        process.setProgram(program);
        process.setArguments(arguments);
    }
    process.setWorkingDirectory(folder_.path());
    process.start();
    const bool done = process.waitForFinished(120000) &&
                      process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output != nullptr)
        *output = QString::fromUtf8(process.readAllStandardOutput());
    if (!done)
        problem_ = QStringLiteral("%1 failed: %2")
                       .arg(program, QString::fromUtf8(process.readAllStandardError()));
    return done;
}

QString TPostgresServer::Uri(const QString& database, const QString& role) const {
    QUrl uri;
    uri.setScheme(QStringLiteral("postgresql"));
    uri.setUserName(role.isEmpty() ? user_ : role);
    uri.setPath(QLatin1Char('/') + database);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("host"), folder_.path());
    uri.setQuery(query);
    return uri.toString();
}

bool TPostgresServer::RequirePasswords() {
    QFile rules(folder_.filePath(QStringLiteral("data/pg_hba.conf")));
    if (!rules.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        problem_ = rules.errorString();
        return false;
    }
    rules.write(
        QStringLiteral("local all %1 trust\nlocal all all scram-sha-256\n").arg(user_).toUtf8());
    rules.close();
    // A reload is taken in the server's own time; a restart is done when it returns.
    return Control(QStringLiteral("restart"));
}

qint64 TPostgresServer::Pid() const {
    QFile file(folder_.filePath(QStringLiteral("data/postmaster.pid")));
    if (!started_ || !file.open(QIODevice::ReadOnly))
        return 0;
    return file.readLine().trimmed().toLongLong();
}

bool TPostgresServer::Sql(const QString& statements, const QString& database) {
    return Run(bin_ + QStringLiteral("/psql"),
               {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"), folder_.path(),
                QStringLiteral("-U"), user_, QStringLiteral("-d"), database, QStringLiteral("-c"),
                statements});
}
