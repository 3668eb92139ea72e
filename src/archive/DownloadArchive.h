#pragma once

#include "operations/ArchivedHistory.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

// Which downloads to list: of one recorder (its RecorderLabel), with readings in a period.
struct TArchiveFilter {
    QString Recorder; // empty: every recorder
    QDateTime From;   // invalid: no lower bound
    QDateTime To;     // invalid: no upper bound
};

// What the archive window and tc8-cli read from an archive of downloads: this PC's own, or
// the company's that gathers many PCs'.
class TDownloadArchive {
public:
    virtual ~TDownloadArchive() = default;
    // The downloads that match, newest first.
    virtual QList<TDownloadSummary> Downloads(const TArchiveFilter& filter = {}) = 0;
    // The records of a download in the order received.
    virtual QList<QByteArray> Records(qint64 id) = 0;
    // Why the last step failed, in Polish; empty after a step that succeeded.
    virtual const QString& Problem() const = 0;
};

// The columns both archives keep of a download under the same names, from how it ended to
// its last reading, in the order ReadDownloadColumns takes them.
extern const QString DownloadColumns;
// Fills `download` from those columns, each value given by `next` in turn.
void ReadDownloadColumns(const std::function<QVariant()>& next, TDownloadSummary& download);

// A filter's period bound as a RecordTime compares with it; empty for no bound.
QString FilterBound(const QDateTime& time);

// The history lines of downloads of one recorder: one download as it came, several merged
// into one series (a record in more than one of them once, no end line). Nothing when a
// download cannot be read whole; the archive's Problem() says why.
std::optional<QStringList> ArchivedLines(TDownloadArchive& archive,
                                         const QList<TDownloadSummary>& downloads);

// "1 pobranie", "3 pobrania", "5 pobrań".
QString DownloadsText(qsizetype count);
