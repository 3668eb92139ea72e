#include "archive/DownloadArchive.h"

const QString DownloadColumns = QStringLiteral(
    "outcome, port, device, firmware, config_from_recorder, tc8_typ, tc8_name, tc8_nazwa,"
    " tc8_nazwa2, tc8_nazwa3, temp_min, temp_max, temp_korekta, temp_korekta2, temp_zapisz,"
    " ile_druk, announced, records, first_reading, last_reading");

void ReadDownloadColumns(const std::function<QVariant()>& next, TDownloadSummary& d) {
    d.End = static_cast<TDownloadEnd>(next().toInt());
    d.Start.Port = next().toString();
    d.Start.Device = next().toString();
    d.Start.FirmwareVersion = next().toString();
    d.Start.ConfigFromRecorder = next().toBool();
    ConfigRecord& c = d.Start.Config;
    c.TC8Typ = next().toString();
    c.TC8name = next().toString();
    c.TC8Nazwa = next().toString();
    c.TC8Nazwa2 = next().toString();
    c.TC8Nazwa3 = next().toString();
    c.TempMin = static_cast<quint8>(next().toInt());
    c.TempMax = static_cast<quint8>(next().toInt());
    c.TempKorekta = static_cast<quint8>(next().toInt());
    c.TempKorekta2 = static_cast<quint8>(next().toInt());
    c.TempZapisz = next().toString();
    c.IleDruk = next().toString();
    const QVariant announced = next();
    if (!announced.isNull())
        d.Announced = announced.toInt();
    d.Records = next().toInt();
    d.FirstReading = next().toString();
    d.LastReading = next().toString();
}

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
