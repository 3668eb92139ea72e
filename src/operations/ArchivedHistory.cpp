#include "operations/ArchivedHistory.h"

#include "operations/HistoryRendering.h"

#include <QSet>
#include <algorithm>
#include <vector>

QString DownloadEndText(TDownloadEnd end) {
    switch (end) {
    case TDownloadEnd::CutOff:
        return QStringLiteral("przerwane");
    case TDownloadEnd::Complete:
        return QStringLiteral("całe");
    case TDownloadEnd::Stopped:
        return QStringLiteral("zatrzymane");
    case TDownloadEnd::LineLost:
        return QStringLiteral("zerwane połączenie");
    case TDownloadEnd::NoAnswer:
        return QStringLiteral("brak odpowiedzi");
    }
    return {};
}

QString RecordTime(const QByteArray& record) {
    if (record.size() < HistoryRecordSize)
        return {};
    const auto byte = [&record](int offset) { return static_cast<quint8>(record[offset]); };
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", 2000 + byte(0), byte(1), byte(2),
                             byte(3), byte(4), byte(5));
}

QStringList DownloadLines(const QList<QByteArray>& records, TDownloadEnd end) {
    QStringList lines;
    lines.reserve(records.size() + 1);
    for (const QByteArray& record : records)
        if (const std::optional<QString> line = HistoryLine(record))
            lines << *line;
    if (end == TDownloadEnd::Complete)
        lines << QStringLiteral("Koniec historii");
    return lines;
}

QList<QByteArray> MergeDownloads(const QList<QList<QByteArray>>& downloads) {
    std::vector<std::pair<QString, QByteArray>> timed;
    QSet<QByteArray> seen;
    for (const QList<QByteArray>& records : downloads)
        for (const QByteArray& record : records)
            if (!seen.contains(record)) {
                seen.insert(record);
                timed.emplace_back(RecordTime(record), record);
            }
    // Records of one moment keep the order in which they came.
    std::stable_sort(timed.begin(), timed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<QByteArray> merged;
    merged.reserve(static_cast<qsizetype>(timed.size()));
    for (auto& [time, record] : timed)
        merged << record;
    return merged;
}

QString RecorderLabel(const ConfigRecord& config, bool fromRecorder) {
    if (!fromRecorder)
        return QStringLiteral("nieznany");
    QString label = QStringLiteral("%1 : %2").arg(config.TC8Typ, config.TC8name);
    if (!config.TC8Nazwa.isEmpty())
        label += QStringLiteral(" · ") + config.TC8Nazwa;
    return label;
}
