#pragma once

#include "archive/DownloadArchive.h"
#include "config/ConfigRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>
#include <memory>
#include <optional>
#include <utility>

// The archive of history downloads: one SQLite file, written as records arrive (one
// transaction per delivery, write-ahead logged), so that a crash or a kill keeps what was
// shown. A file it cannot use (locked, read-only, full, corrupt, of a newer program) is
// never overwritten: it says why and writes nothing; a corrupt file is set aside first.
class THistoryArchive : public TDownloadArchive {
public:
    explicit THistoryArchive(QString path);
    ~THistoryArchive() override;
    THistoryArchive(const THistoryArchive&) = delete;
    THistoryArchive& operator=(const THistoryArchive&) = delete;

    // $XDG_DATA_HOME/tc8-configurator/archiwum.sqlite (see ProgramDataFolder).
    static QString DefaultPath();
    const QString& Path() const { return path_; }

    // Opens the file, creating or migrating its tables; true when it can be used. Opening
    // again after a failure tries again.
    bool Open();
    // This PC's installation: a UUID in the file "instalacja" beside the archive, made at
    // the first Open; null before it.
    const QUuid& Installation() const { return installation_; }
    bool IsOpen() const { return open_; }
    // Why the last step failed, in Polish; empty after a step that succeeded.
    const QString& Problem() const override { return problem_; }
    // Where a corrupt file found at Open was set aside, once; empty otherwise.
    QString TakeSetAside() { return std::exchange(setAside_, QString()); }
    // What the person is told of it.
    static QString SetAsideText(const QString& aside) {
        return QStringLiteral(
                   "Archiwum pobrań było uszkodzone: odłożono je jako %1 i zaczęto nowe.")
            .arg(aside);
    }

    // ---- Writing, as a download runs ----
    // `uuid` names the download in every archive it goes to.
    std::optional<qint64> BeginDownload(const TDownloadStart& start,
                                        const QUuid& uuid = QUuid::createUuid());
    // The records of one delivery (10 bytes each are kept; shorter ones are left out), and the
    // announced length when it came, in one transaction.
    bool AddRecords(qint64 id, const QList<QByteArray>& records, std::optional<int> announced);
    bool EndDownload(qint64 id, TDownloadEnd end, const QDateTime& ended);

    // ---- Reading ----
    QList<TDownloadSummary> Downloads(const TArchiveFilter& filter = {}) override;
    QList<QByteArray> Records(qint64 id) override;
    bool Delete(qint64 id);

    // ---- Sending to a company archive (identified by its UUID) ----
    // The downloads not yet sent to that archive, oldest first.
    QList<qint64> Unsent(const QUuid& archive);
    // The download is in that archive: recorded after the commit there, so a send cut short
    // is sent again (the company archive stores it once).
    bool MarkSent(qint64 id, const QUuid& archive, const QDateTime& at);

    // The schema version this program writes.
    static constexpr int SchemaVersion = 3;
    // Tests stand in for a file the system refuses to write (root may write any file) and
    // for a full disk (SQLite's own limit of the file's pages), from the next Open on.
    void OpenReadOnlyForTests() { readOnlyForTests_ = true; }
    void LimitPagesForTests(int pages) { pageLimitForTests_ = pages; }

private:
    bool Fail(const class QSqlError& error);
    bool Exec(const QString& statement);
    bool UseWriteAheadLog();
    bool Migrate();
    bool LoadInstallation();
    bool SetCorruptFileAside();
    void Close();

    struct DeliveryStatements;
    std::unique_ptr<DeliveryStatements> delivery_;
    const QString path_;
    const QString connection_;
    bool open_ = false;
    bool readOnlyForTests_ = false;
    int pageLimitForTests_ = 0;
    QString problem_;
    QString setAside_;
    QUuid installation_;
};
