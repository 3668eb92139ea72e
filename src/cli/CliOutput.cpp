#include "cli/CliOutput.h"

#include "config/ConfigFields.h"
#include "config/Encodings.h"
#include "operations/StatusRendering.h"
#include "protocol/PortDirectory.h"

namespace {

const QString PasswordName = QStringLiteral("haslo");

// Name and value pairs in the order printed.
QList<std::pair<QString, QString>> ConfigPairs(const ConfigRecord& record,
                                               const QString& password) {
    QList<std::pair<QString, QString>> pairs;
    if (!password.isNull())
        pairs.append({PasswordName, password});
    for (const ConfigField field : ConfigFileOrder)
        pairs.append({ConfigFieldName(field), ConfigFieldText(record, field)});
    return pairs;
}

QString Line(const QString& name, const QString& value) {
    return name + QStringLiteral(" = ") + value;
}

} // namespace

QStringList ConfigLines(const ConfigRecord& record, const QString& password) {
    QStringList lines;
    for (const auto& [name, value] : ConfigPairs(record, password))
        lines << Line(name, value);
    return lines;
}

QJsonObject ConfigJson(const ConfigRecord& record, const QString& password) {
    QJsonObject object;
    for (const auto& [name, value] : ConfigPairs(record, password))
        object.insert(name, value);
    return object;
}

QStringList StatusLines(const StatusTexts& status) {
    return {Line(QStringLiteral("T1"), status.Temp), Line(QStringLiteral("T2"), status.Temp2),
            Line(QStringLiteral("Zasilanie"), status.Udc),
            Line(QStringLiteral("Data"), status.Data), Line(QStringLiteral("Czas"), status.czas)};
}

QJsonObject StatusJson(const StatusTexts& status) {
    return {
        {QStringLiteral("T1"), status.Temp},       {QStringLiteral("T2"), status.Temp2},
        {QStringLiteral("Zasilanie"), status.Udc}, {QStringLiteral("ZasilanieOk"), status.SupplyOk},
        {QStringLiteral("Data"), status.Data},     {QStringLiteral("Czas"), status.czas}};
}

QString StatusWatchLine(const StatusTexts& status) {
    return QStringLiteral("%1 %2  T1 %3  T2 %4  %5")
        .arg(status.Data, status.czas, status.Temp, status.Temp2, status.Udc);
}

QString ClockLine(const StatusTexts& status) {
    return status.Data + u' ' + status.czas;
}

QJsonObject ClockJson(const StatusTexts& status) {
    return {{QStringLiteral("Data"), status.Data}, {QStringLiteral("Czas"), status.czas}};
}

QStringList PortLines(const TPortTable& ports) {
    QStringList lines;
    for (int i = 0; i < PortCount; ++i)
        lines << QStringLiteral("COM%1   %2").arg(i + 1).arg(PortListDetail(ports[i]));
    return lines;
}

QJsonArray PortsJson(const TPortTable& ports) {
    QJsonArray array;
    for (int i = 0; i < PortCount; ++i) {
        const TPortChoice& choice = ports[i];
        QJsonObject port{{QStringLiteral("port"), QStringLiteral("COM%1").arg(i + 1)},
                         {QStringLiteral("detail"), PortListDetail(choice)}};
        if (choice.Port) {
            port.insert(QStringLiteral("device"), choice.Port->Device);
            port.insert(QStringLiteral("description"), choice.Port->Description);
            port.insert(QStringLiteral("present"), choice.Port->Present);
            port.insert(QStringLiteral("accessible"), choice.Port->Accessible);
        } else {
            port.insert(QStringLiteral("device"), QJsonValue::Null);
        }
        array.append(port);
    }
    return array;
}

namespace {

QString LocalTimeText(const QDateTime& time) {
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          : QString();
}

} // namespace

QStringList ArchiveLines(const QList<TDownloadSummary>& downloads, bool withHost) {
    int idWidth = 1;
    for (const TDownloadSummary& download : downloads)
        idWidth = std::max(idWidth, static_cast<int>(QString::number(download.Id).size()));
    QStringList lines;
    for (const TDownloadSummary& d : downloads) {
        const QString readings = d.FirstReading.isEmpty()
                                     ? QStringLiteral("bez odczytów")
                                     : QStringLiteral("%1 … %2").arg(d.FirstReading, d.LastReading);
        lines << QStringLiteral("%1  %2  %3  %4  %5  %6")
                     .arg(d.Id, idWidth)
                     .arg(LocalTimeText(d.Start.Started),
                          RecorderLabel(d.Start.Config, d.Start.ConfigFromRecorder), readings)
                     .arg(d.Records)
                     .arg(DownloadEndText(d.End));
        if (withHost)
            lines.back() += QStringLiteral("  ") + d.Host;
    }
    return lines;
}

QJsonArray ArchiveJson(const QList<TDownloadSummary>& downloads) {
    QJsonArray list;
    for (const TDownloadSummary& d : downloads) {
        QJsonObject download{
            {QStringLiteral("id"), d.Id},
            {QStringLiteral("started"), d.Start.Started.toUTC().toString(Qt::ISODate)},
            {QStringLiteral("ended"),
             d.Ended.isValid() ? QJsonValue(d.Ended.toUTC().toString(Qt::ISODate)) : QJsonValue()},
            {QStringLiteral("recorder"), RecorderLabel(d.Start.Config, d.Start.ConfigFromRecorder)},
            {QStringLiteral("port"), d.Start.Port},
            {QStringLiteral("device"), d.Start.Device},
            {QStringLiteral("firmware"), d.Start.FirmwareVersion},
            {QStringLiteral("records"), d.Records},
            {QStringLiteral("announced"), d.Announced ? QJsonValue(*d.Announced) : QJsonValue()},
            {QStringLiteral("firstReading"), d.FirstReading},
            {QStringLiteral("lastReading"), d.LastReading},
            {QStringLiteral("end"), DownloadEndText(d.End)},
            {QStringLiteral("uuid"), d.Uuid.toString(QUuid::WithoutBraces)},
            {QStringLiteral("installation"), d.Installation.toString(QUuid::WithoutBraces)},
            {QStringLiteral("host"), d.Host}};
        list.append(download);
    }
    return list;
}
