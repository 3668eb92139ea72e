#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

// What a run of tc8-cli ends with; scripts rely on these numbers.
enum class CliExit {
    Done = 0,
    Failed = 1,          // anything not below
    Usage = 2,           // wrong usage
    PortUnavailable = 3, // the port cannot be opened
    PasswordRefused = 4,
    NoAnswer = 5,    // the recorder did not answer, or stopped answering
    FileRefused = 6, // a file cannot be read, is of the wrong kind, or cannot be written
    Interrupted = 7,
};

// The commands, each with its words on the command line.
enum class CliCommand {
    Help,
    Ports,
    Status,
    ConfigRead,
    ConfigWrite,
    ConfigShow,
    Clock,
    ClockSet,
    History,
    HistoryClear,
    Restart,
    Password,
    Firmware,
    Report,
    ArchiveList,
    ArchiveExport,
    ArchiveInit,
    ArchivePush,
};

enum class HistoryFormat { Text, Csv };

struct CliOptions {
    CliCommand Command = CliCommand::Help;
    // The commands whose help was asked for (help COMMAND, COMMAND --help): one, or all of
    // a group ("help config").
    QList<CliCommand> HelpFor;
    bool Version = false;

    QString Port = QStringLiteral("COM1");
    QString Password = QStringLiteral("0157");
    bool Json = false;
    bool Quiet = false;
    bool Verbose = false;
    bool Yes = false;
    QString Trace; // --trace: the line's frames into this file, "-" onto standard error

    bool Watch = false;
    QString Output; // -o; empty: standard output
    HistoryFormat Format = HistoryFormat::Text;
    std::optional<QDateTime> At;
    QString Argument; // the file of config write/show and firmware, the new password

    // Where a report's readings come from: a history file with the configuration file of its
    // recorder, an archived download, or (neither) a download from the recorder.
    QString FromFile;
    QString ConfigFile;
    std::optional<qint64> ArchiveId;
    // The company archive (--to for init and push, --from for reading): a connection URI or
    // "service=NAME"; empty: this PC's archive.
    QString Company;
    // Which archived downloads: of one recorder (its label as archive list shows it), with
    // readings in a period of whole days.
    QString Recorder;
    std::optional<QDate> Since;
    std::optional<QDate> Until;
    int DelayMinutes = 0;
    bool Readings = false; // the report with the table of every reading

    // COM1 ... COM8, 0 for a device given by its path.
    int PortNumber() const;
};

struct ParsedCommandLine {
    CliOptions Options;
    QString Error; // why the command line is wrong; empty when it is right
};

// Reads the arguments (without the program's name). `environmentPassword` is TC8_PASSWORD,
// null when it is not set; --password wins over it.
ParsedCommandLine ParseCommandLine(const QStringList& arguments,
                                   const QString& environmentPassword = {});

// The words of a command as typed: "config read".
QString CommandWords(CliCommand command);

// The commands whose words begin with `word` ("config": read, write, show).
QList<CliCommand> CommandGroup(const QString& word);

// A logon password the recorder's logon field could take: four digits.
bool IsFourDigitPassword(const QString& password);
