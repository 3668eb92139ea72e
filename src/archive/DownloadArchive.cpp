#include "archive/DownloadArchive.h"

QString FilterBound(const QDateTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

std::optional<QStringList> ArchivedLines(TDownloadArchive& archive,
                                         const QList<TDownloadSummary>& downloads) {
    QList<QList<QByteArray>> records;
    for (const TDownloadSummary& download : downloads) {
        records << archive.Records(download.Id);
        if (records.back().size() < download.Records)
            return std::nullopt;
    }
    if (records.isEmpty())
        return QStringList();
    return downloads.size() == 1 ? DownloadLines(records.front(), downloads.front().End)
                                 : DownloadLines(MergeDownloads(records), TDownloadEnd::Stopped);
}

QString DownloadsText(qsizetype count) {
    const qsizetype tens = count % 100;
    const qsizetype ones = count % 10;
    const char* word = count == 1                                           ? "pobranie"
                       : ones >= 2 && ones <= 4 && (tens < 12 || tens > 14) ? "pobrania"
                                                                            : "pobrań";
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(word));
}
