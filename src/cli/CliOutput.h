#pragma once

#include "config/ConfigRecord.h"
#include "operations/ArchivedHistory.h"
#include "serial/PortTable.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

struct StatusTexts;

// What tc8-cli prints: the same data as lines for a person ("name = value") and as JSON for
// a program, under the same names (the window's field names).

// The configuration in the order of a configuration file; with a password (a file's), that
// comes first as "haslo".
QStringList ConfigLines(const ConfigRecord& record, const QString& password = {});
QJsonObject ConfigJson(const ConfigRecord& record, const QString& password = {});

// The live status once: T1, T2, Zasilanie, Data, Czas; JSON adds ZasilanieOk.
QStringList StatusLines(const StatusTexts& status);
QJsonObject StatusJson(const StatusTexts& status);
// One poll of a watch on one line: "2026.12.07 01:30:05  T1 +21.5  T2 -3.0  +12,5V".
QString StatusWatchLine(const StatusTexts& status);

// The recorder's clock: "2026.12.07 01:30:05"; JSON: Data and Czas.
QString ClockLine(const StatusTexts& status);
QJsonObject ClockJson(const StatusTexts& status);

// COM1 ... COM8 as the window's list shows them: "COM1   ttyUSB0 · FT232R USB UART".
QStringList PortLines(const TPortTable& ports);
QJsonArray PortsJson(const TPortTable& ports);

// The archive's downloads, one a line: "12  2026-12-07 03:00:12  TC-8 : Rejestrator nr.1
// 2026-12-01 00:00:00 … 2026-12-07 02:59:00  2047  całe", and the PC that made it when the
// list is of many PCs'; JSON names each field, the download's identity and its PC included.
QStringList ArchiveLines(const QList<TDownloadSummary>& downloads, bool withHost = false);
QJsonArray ArchiveJson(const QList<TDownloadSummary>& downloads);
