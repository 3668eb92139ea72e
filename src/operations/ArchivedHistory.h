#pragma once

#include "config/ConfigRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

// Downloads as the archive keeps them: each record as its 10 payload bytes in the order
// received, and how the download ended.

enum class TDownloadEnd {
    CutOff = 0,   // the program ended while it ran (a crash, a kill, a power cut)
    Complete = 1, // up to the recorder's end marker
    Stopped = 2,  // STOP, or another operation that ended it
    LineLost = 3, // the records stopped coming, or the device went away
    NoAnswer = 4, // the start request was not answered
};

// What is known of a download when it starts.
struct TDownloadStart {
    QDateTime Started;               // the PC's clock
    QString Port;                    // "COM1", or the device path asked for
    QString Device;                  // the device opened, "/dev/ttyUSB0"
    QString FirmwareVersion;         // "TC-8 v 1.5" from the logon; empty when not known
    ConfigRecord Config;             // as the window showed it at the start
    bool ConfigFromRecorder = false; // read from (or written to) this recorder in this logon
};

// A download as the archive lists it.
struct TDownloadSummary {
    qint64 Id = 0;
    // Who it is wherever the archive is copied or sent: its own UUID, and the installation
    // (a UUID kept in the data folder) and host name of the PC that made it.
    QUuid Uuid;
    QUuid Installation;
    QString Host;
    TDownloadStart Start;
    QDateTime Ended; // invalid while running, or when the program ended first
    TDownloadEnd End = TDownloadEnd::CutOff;
    std::optional<int> Announced; // the length the recorder announced
    int Records = 0;
    QString FirstReading; // RecordTime of the earliest and the latest record
    QString LastReading;
};

// How a download ended, as the archive window says it.
QString DownloadEndText(TDownloadEnd end);
// How the one download chosen ended when it did not come whole; empty for a whole download
// and for several merged (which one recorder's downloads make whole together).
QString IncompleteEndText(const QList<TDownloadSummary>& chosen);

// The recorder's clock at a record, "2026-12-07 01:30:05", which sorts as the time does
// (also for a date that does not exist, such as month 0).
QString RecordTime(const QByteArray& record);

// The history box's lines of a download: a line per record, and "Koniec historii" after a
// complete one.
QStringList DownloadLines(const QList<QByteArray>& records, TDownloadEnd end);

// Several downloads of one recorder as one series: the records in the order of their time,
// a record present in more than one download (the same 10 bytes) once.
QList<QByteArray> MergeDownloads(const QList<QList<QByteArray>>& downloads);

// The recorder a download came from, "TC-8 : Rejestrator nr.1 · Chłodnia 2", or "nieznany"
// when its configuration was not read from it.
QString RecorderLabel(const ConfigRecord& config, bool fromRecorder);
