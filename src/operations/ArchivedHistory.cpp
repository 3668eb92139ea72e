#include "operations/ArchivedHistory.h"

#include "operations/HistoryRendering.h"

#include <algorithm>
#include <tuple>
#include <utility>
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

QString IncompleteEndText(const QList<TDownloadSummary>& chosen) {
    return chosen.size() == 1 && chosen.front().End != TDownloadEnd::Complete
               ? DownloadEndText(chosen.front().End)
               : QString();
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
    // A year of records is half a million: each is sorted as a key of its first ten bytes
    // (most significant first, as they compare) and where it came, rather than hashed or
    // given a time text.
    struct Arrival {
        quint64 Head = 0; // bytes 0-7: the time in the first six
        quint16 Tail = 0; // bytes 8-9
        qsizetype Size = 0;
        quint32 Index = 0; // the order of arrival
        const QByteArray* Record = nullptr;
    };
    std::vector<Arrival> arrivals;
    for (const QList<QByteArray>& records : downloads)
        for (const QByteArray& record : records) {
            // A record is its ten bytes, as the archive keeps it.
            Arrival arrival{0, 0, std::min<qsizetype>(record.size(), HistoryRecordSize),
                            static_cast<quint32>(arrivals.size()), &record};
            for (qsizetype i = 0; i < HistoryRecordSize; ++i) {
                const quint8 byte = i < record.size() ? static_cast<quint8>(record[i]) : 0;
                if (i < 8)
                    arrival.Head |= quint64{byte} << (8 * (7 - i));
                else
                    arrival.Tail = static_cast<quint16>(arrival.Tail << 8 | byte);
            }
            arrivals.push_back(arrival);
        }
    // The same bytes side by side, the first to arrive first: the others are left out.
    const auto sameKey = [](const Arrival& a, const Arrival& b) {
        return a.Head == b.Head && a.Tail == b.Tail && a.Size == b.Size;
    };
    std::sort(arrivals.begin(), arrivals.end(), [](const Arrival& a, const Arrival& b) {
        return std::tie(a.Head, a.Tail, a.Size, a.Index) <
               std::tie(b.Head, b.Tail, b.Size, b.Index);
    });
    std::vector<Arrival> kept;
    kept.reserve(arrivals.size());
    for (std::size_t i = 0; i < arrivals.size(); ++i)
        if (i == 0 || !sameKey(arrivals[i], arrivals[i - 1]))
            kept.push_back(arrivals[i]);
    // The time fields lead a record, most significant first, so their bytes compare as the
    // times do; a record too short to have a time goes first, as RecordTime's empty text
    // would. Records of one moment keep the order in which they came.
    const auto time = [](const Arrival& a) {
        return a.Size < HistoryRecordSize ? 0 : (a.Head >> 16) + 1;
    };
    std::sort(kept.begin(), kept.end(), [&time](const Arrival& a, const Arrival& b) {
        return std::pair(time(a), a.Index) < std::pair(time(b), b.Index);
    });
    QList<QByteArray> merged;
    merged.reserve(static_cast<qsizetype>(kept.size()));
    for (const Arrival& arrival : kept)
        merged << *arrival.Record;
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
