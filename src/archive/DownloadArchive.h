#pragma once

#include "operations/ArchivedHistory.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

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

// A filter's period bound as a RecordTime compares with it; empty for no bound.
QString FilterBound(const QDateTime& time);
