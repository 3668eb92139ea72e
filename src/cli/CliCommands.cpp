// tc8-cli's commands: each one the window's steps for the same thing, on the same session.
#include "cli/CliCommands.h"

#include "archive/CompanyArchive.h"
#include "archive/HistoryArchive.h"
#include "cli/CliOutput.h"
#include "cli/CliSession.h"
#include "cli/CliTerminal.h"
#include "cli/CliTrace.h"
#include "config/ConfigFields.h"
#include "config/ConfigFile.h"
#include "config/Container.h"
#include "config/WholeFile.h"
#include "core/ErrorFunnel.h"
#include "core/Errors.h"
#include "firmware/FirmwareBlocks.h"
#include "operations/HistoryCsv.h"
#include "operations/HistoryFile.h"
#include "operations/HistoryReadings.h"
#include "protocol/AnsiCodec.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "protocol/TRecorderSession.h"
#include "report/HistoryReport.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QScopeGuard>

namespace {

const QString HistoryEndLine = QStringLiteral("Koniec historii");
// How long a clock setting may wait for its acknowledgement: as long as a request's wait
// with all its re-sends.
constexpr int ClockAcknowledgementMs = 4 * Cmd::ShortTimeout * 100;

void PrintJson(TCliTerminal& terminal, const QJsonDocument& document) {
    terminal.DataBytes(document.toJson(QJsonDocument::Compact) + '\n');
}

void PrintLines(TCliTerminal& terminal, const QStringList& lines) {
    for (const QString& line : lines)
        terminal.Data(line);
}

[[noreturn]] void EndWith(TCliTerminal& terminal, CliExit code, const QString& message) {
    terminal.Error(message);
    throw TCliEnd{code};
}

// An output file is replaced whole or not at all; one that cannot be written is found out
// before the recorder is asked for anything.
void CheckWritable(TCliTerminal& terminal, const QString& path) {
    if (path.isEmpty() || path == u'-')
        return;
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir() || !folder.isWritable() || file.isDir() ||
        (file.exists() && !file.isWritable()))
        EndWith(terminal, CliExit::FileRefused, QStringLiteral("Błąd zapisu: %1").arg(path));
}

void WriteOutput(TCliTerminal& terminal, const QString& path, const QByteArray& bytes,
                 const QString& savedMessage) {
    if (path.isEmpty() || path == u'-') {
        terminal.DataBytes(bytes);
        return;
    }
    if (!WriteWholeFile(path, bytes))
        EndWith(terminal, CliExit::FileRefused, QStringLiteral("Błąd zapisu: %1").arg(path));
    terminal.Message(QStringLiteral("%1: %2").arg(savedMessage, path));
}

// A configuration or firmware file as the window reads it: the container's faults said as
// the window says them, each on its line.
QByteArray ReadContainer(TCliTerminal& terminal, const QString& path, QByteArrayView tag) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        EndWith(terminal, CliExit::FileRefused,
                QStringLiteral("Nie można otworzyć pliku %1: %2").arg(path, FileReadProblem(file)));
    file.close();
    ContainerFile container;
    try {
        container = ReadContainerImage(path, tag);
    } catch (const EInOutError&) {
        EndWith(terminal, CliExit::FileRefused,
                QStringLiteral("Nie można odczytać pliku %1").arg(path));
    }
    for (const ContainerFault fault : container.Faults)
        terminal.Error(ContainerFaultMessage(fault));
    if (!container.Faults.isEmpty())
        throw TCliEnd{CliExit::FileRefused};
    return container.Image;
}

ConfigFileContents ReadConfigFile(TCliTerminal& terminal, const QString& path) {
    const std::optional<ConfigFileContents> contents =
        ParseConfigFile(ReadContainer(terminal, path, ConfigFileTag));
    if (!contents)
        EndWith(terminal, CliExit::FileRefused, ContainerFaultMessage(ContainerFault::WrongFormat));
    return *contents;
}

// A command that cannot be undone runs when the person says so, or with --yes.
void Confirm(const CliOptions& options, TCliSession& cli, const QString& question) {
    TCliTerminal& terminal = cli.Terminal();
    if (options.Yes)
        return;
    if (!terminal.CanAsk())
        EndWith(terminal, CliExit::Usage,
                QStringLiteral("Bez terminala polecenie „%1” wykonuje się tylko z --yes.")
                    .arg(CommandWords(options.Command)));
    if (!terminal.Ask(question, cli.InterruptFd()))
        EndWith(terminal, CliExit::Interrupted, QStringLiteral("Nic nie zrobiono."));
}

CliExit Ports(const CliOptions& options, TCliTerminal& terminal) {
    TPortDirectory ports;
    ports.Refresh();
    if (options.Json)
        PrintJson(terminal, QJsonDocument(PortsJson(ports.Table())));
    else
        PrintLines(terminal, PortLines(ports.Table()));
    return CliExit::Done;
}

CliExit ConfigShow(const CliOptions& options, TCliTerminal& terminal) {
    const ConfigFileContents contents = ReadConfigFile(terminal, options.Argument);
    if (options.Json)
        PrintJson(terminal, QJsonDocument(ConfigJson(contents.Record, contents.Password)));
    else
        PrintLines(terminal, ConfigLines(contents.Record, contents.Password));
    return CliExit::Done;
}

CliExit Status(const CliOptions& options, TCliSession& cli) {
    TCliTerminal& terminal = cli.Terminal();
    cli.Open(true);
    if (!options.Watch) {
        const StatusTexts status = cli.NextStatus();
        if (options.Json)
            PrintJson(terminal, QJsonDocument(StatusJson(status)));
        else
            PrintLines(terminal, StatusLines(status));
        cli.Close(true);
        return CliExit::Done;
    }
    QObject::connect(&cli, &TCliSession::StatusArrived, &cli, [&](const StatusTexts& status) {
        if (options.Json)
            PrintJson(terminal, QJsonDocument(StatusJson(status)));
        else
            terminal.Data(StatusWatchLine(status));
    });
    // Watching ends with Ctrl+C: that is its normal end.
    cli.SetInterruptMode(TInterruptMode::EndWatch);
    cli.WaitUntil([&] { return cli.Interrupted() || !cli.Session().IsLoggedOn(); });
    const bool ended = cli.Interrupted();
    cli.SetInterruptMode(TInterruptMode::Abort);
    if (!ended)
        cli.EndWithoutStatus();
    cli.EndOnFailure();
    cli.Close(true);
    return CliExit::Done;
}

CliExit ConfigRead(const CliOptions& options, TCliSession& cli) {
    TCliTerminal& terminal = cli.Terminal();
    CheckWritable(terminal, options.Output);
    cli.Open(true);
    cli.Session().ReadConfig();
    cli.EndOnFailure();
    terminal.EndProgress();
    const ConfigRecord& record = cli.Session().Config();
    if (!options.Output.isEmpty()) {
        // Saved as the window saves it: with the password of the logon.
        const ConfigFileImage built = BuildConfigFile(options.Password, record);
        if (built.Fault != RecordFault::None)
            EndWith(terminal, CliExit::FileRefused, RecordFaultMessage(built.Fault));
        WriteOutput(terminal, options.Output, built.Image,
                    QStringLiteral("Zapisano plik konfiguracji"));
    } else if (options.Json) {
        PrintJson(terminal, QJsonDocument(ConfigJson(record)));
    } else {
        PrintLines(terminal, ConfigLines(record));
    }
    cli.Close(true);
    return CliExit::Done;
}

CliExit ConfigWrite(const CliOptions& options, TCliSession& cli) {
    TCliTerminal& terminal = cli.Terminal();
    const ConfigFileContents contents = ReadConfigFile(terminal, options.Argument);
    // The whole record is checked before anything goes out.
    if (const RecordFault fault = FindRecordFault(contents.Record, MaxRequestPayload);
        fault != RecordFault::None)
        EndWith(terminal, CliExit::FileRefused, RecordFaultMessage(fault));
    cli.Open(true);
    TRecorderSession& session = cli.Session();
    for (const ConfigField field : ConfigFileOrder) {
        const ConfigFieldRow& row = RowOf(field);
        if (row.Kind == FieldKind::RawByte)
            session.SetConfigByte(field, contents.Record.*row.Byte);
        else
            session.SetConfigText(field, contents.Record.*row.Text);
    }
    session.WriteConfig();
    cli.EndOnFailure();
    terminal.EndProgress();
    cli.Close(true);
    return CliExit::Done;
}

CliExit Clock(const CliOptions& options, TCliSession& cli) {
    cli.Open(true);
    const StatusTexts status = cli.NextStatus();
    if (options.Json)
        PrintJson(cli.Terminal(), QJsonDocument(ClockJson(status)));
    else
        cli.Terminal().Data(ClockLine(status));
    cli.Close(true);
    return CliExit::Done;
}

CliExit ClockSet(const CliOptions& options, TCliSession& cli) {
    if (options.At)
        cli.SetClock(*options.At);
    cli.Open(true);
    cli.Session().SetClock();
    // The recorder acknowledges whenever it does; the window waits for ever, a script cannot.
    const QDeadlineTimer limit(ClockAcknowledgementMs);
    cli.WaitUntil([&] {
        return cli.Reported(TSessionReport::ClockSet) || !cli.Session().IsLoggedOn() ||
               limit.hasExpired();
    });
    cli.EndOnFailure();
    if (!cli.Reported(TSessionReport::ClockSet))
        EndWith(cli.Terminal(), CliExit::NoAnswer,
                SessionReportText(TSessionReport::NoAnswer).Text);
    cli.Close(true);
    return CliExit::Done;
}

// What a download brought, and how it ended.
struct TDownloaded {
    QStringList Lines;
    bool Complete = false;
    bool Stopped = false; // by Ctrl+C
};

TDownloaded DownloadHistory(TCliSession& cli) {
    TCliTerminal& terminal = cli.Terminal();
    TRecorderSession& session = cli.Session();
    cli.Open(true);
    // The configuration first, as a technician reads it before START: the archive then knows
    // which recorder the download came from.
    session.ReadConfig();
    cli.EndOnFailure();
    terminal.EndProgress();

    TDownloaded downloaded;
    QStringList& lines = downloaded.Lines;
    QObject::connect(&session, &TRecorderSession::HistoryStarted, &cli, [&] { lines.clear(); });
    QObject::connect(&session, &TRecorderSession::HistoryLines, &cli,
                     [&](const QStringList& delivered) { lines << delivered; });
    cli.SetInterruptMode(TInterruptMode::StopDownload);
    session.StartHistoryDownload();
    cli.WaitUntil([&] { return !session.HistoryDownloadRunning(); });
    session.FlushHistoryLines();
    downloaded.Stopped = cli.Interrupted();
    cli.SetInterruptMode(TInterruptMode::Abort);
    terminal.EndProgress();
    downloaded.Complete = !lines.isEmpty() && lines.back() == HistoryEndLine;
    return downloaded;
}

// A download ends the command as it ended: what arrived has been written by then.
CliExit EndOfDownload(TCliSession& cli, const TDownloaded& downloaded) {
    if (downloaded.Complete || downloaded.Stopped) {
        cli.Close(true);
        return downloaded.Complete ? CliExit::Done : CliExit::Interrupted;
    }
    cli.EndOnFailure();
    // The line went away under the download without a wait to say so.
    EndWith(cli.Terminal(), CliExit::NoAnswer, SessionReportText(TSessionReport::NoAnswer).Text);
}

CliExit History(const CliOptions& options, TCliSession& cli) {
    TCliTerminal& terminal = cli.Terminal();
    CheckWritable(terminal, options.Output);
    const TDownloaded downloaded = DownloadHistory(cli);
    // What arrived is kept; nothing at all replaces no file.
    if (!downloaded.Lines.isEmpty()) {
        const QString text = downloaded.Lines.join(u'\n');
        const QByteArray bytes = options.Format == HistoryFormat::Csv
                                     ? HistoryCsvBytes(ParseHistory(text).Readings)
                                     : HistoryFileBytes(text, HistoryTextEnd::LineOfDownload);
        WriteOutput(terminal, options.Output, bytes,
                    options.Format == HistoryFormat::Csv
                        ? QStringLiteral("Zapisano plik CSV")
                        : QStringLiteral("Zapisano plik historii"));
    }
    return EndOfDownload(cli, downloaded);
}

const QString NoReadingsText = QStringLiteral("Brak odczytów temperatury do raportu");

void WriteReport(const CliOptions& options, TCliTerminal& terminal, THistoryReportInput input) {
    input.DelayMinutes = options.DelayMinutes;
    input.IncludeReadings = options.Readings;
    input.ReportDate = QDateTime::currentDateTime();
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    if (!WriteHistoryReportPdf(input, pdf))
        EndWith(terminal, CliExit::Failed, QStringLiteral("Nie udało się utworzyć raportu PDF"));
    WriteOutput(terminal, options.Output, pdf.data(), QStringLiteral("Zapisano raport PDF"));
}

// The report of a download made now, with the configuration read before it.
CliExit Report(const CliOptions& options, TCliSession& cli) {
    CheckWritable(cli.Terminal(), options.Output);
    const TDownloaded downloaded = DownloadHistory(cli);
    const std::optional<TDownloadStart>& start = cli.Session().LastDownloadStart();
    THistoryReportInput input =
        start ? DownloadReportInput(*start, downloaded.Lines) : THistoryReportInput{};
    if (!downloaded.Complete)
        input.Incomplete =
            DownloadEndText(downloaded.Stopped ? TDownloadEnd::Stopped : TDownloadEnd::LineLost);
    if (!input.Readings.empty()) {
        WriteReport(options, cli.Terminal(), input);
    } else if (downloaded.Complete) {
        cli.Close(true);
        EndWith(cli.Terminal(), CliExit::Failed, NoReadingsText);
    }
    return EndOfDownload(cli, downloaded);
}

// The archive's words as a sentence of tc8-cli's own.
QString Sentence(const QString& problem) {
    return problem.left(1).toUpper() + problem.mid(1);
}

// The archive, if there is one: a command that only reads it does not create it. One found
// damaged (set aside by the opening) has nothing to read: said, as the window says it.
std::unique_ptr<THistoryArchive> OpenArchive(TCliTerminal& terminal) {
    auto archive = std::make_unique<THistoryArchive>(THistoryArchive::DefaultPath());
    if (!QFileInfo::exists(archive->Path()))
        return nullptr;
    if (!archive->Open())
        EndWith(terminal, CliExit::FileRefused, Sentence(archive->Problem()));
    if (const QString aside = archive->TakeSetAside(); !aside.isEmpty())
        EndWith(terminal, CliExit::FileRefused, THistoryArchive::SetAsideText(aside));
    return archive;
}

// The archive a command reads: the company's (--from), or this PC's when there is one.
std::unique_ptr<TDownloadArchive> OpenReadArchive(const CliOptions& options,
                                                  TCliTerminal& terminal) {
    if (options.Company.isEmpty())
        return OpenArchive(terminal);
    auto company = std::make_unique<TCompanyArchive>(options.Company);
    if (!company->Open())
        EndWith(terminal, CliExit::Failed, Sentence(company->Problem()));
    return company;
}

// The downloads the options choose, newest first: the one numbered --archive, or those of
// --recorder in the period of --since and --until.
QList<TDownloadSummary> ChosenDownloads(const CliOptions& options, TCliTerminal& terminal,
                                        TDownloadArchive* archive) {
    TArchiveFilter filter;
    filter.Recorder = options.Recorder;
    if (options.Since)
        filter.From = QDateTime(*options.Since, QTime(0, 0));
    if (options.Until)
        filter.To = QDateTime(*options.Until, QTime(23, 59, 59));
    QList<TDownloadSummary> downloads =
        archive ? archive->Downloads(filter) : QList<TDownloadSummary>();
    if (archive && !archive->Problem().isEmpty())
        EndWith(terminal, CliExit::FileRefused, Sentence(archive->Problem()));
    if (options.ArchiveId) {
        erase_if(downloads, [&](const TDownloadSummary& d) { return d.Id != *options.ArchiveId; });
        if (downloads.isEmpty())
            EndWith(terminal, CliExit::FileRefused,
                    QStringLiteral("Nie ma w archiwum pobrania nr %1").arg(*options.ArchiveId));
    }
    return downloads;
}

// The history lines of the chosen downloads, merged when there are several.
QStringList ChosenLines(TCliTerminal& terminal, TDownloadArchive& archive,
                        const QList<TDownloadSummary>& downloads) {
    const std::optional<QStringList> lines = ArchivedLines(archive, downloads);
    if (!lines)
        EndWith(
            terminal, CliExit::FileRefused,
            QStringLiteral("Nie można odczytać pobrania z archiwum: %1").arg(archive.Problem()));
    return *lines;
}

// The report of a saved history file or of an archived download: no recorder needed.
CliExit ReportOffline(const CliOptions& options, TCliTerminal& terminal) {
    CheckWritable(terminal, options.Output);
    TDownloadStart start;
    QStringList lines;
    QString incomplete;
    if (options.ArchiveId) {
        const std::unique_ptr<TDownloadArchive> archive = OpenReadArchive(options, terminal);
        const QList<TDownloadSummary> chosen = ChosenDownloads(options, terminal, archive.get());
        start = chosen.front().Start;
        lines = ChosenLines(terminal, *archive, chosen);
        incomplete = IncompleteEndText(chosen);
    } else {
        // The header and the band of the recorder the file came from, as its file holds them.
        start.Config = ReadConfigFile(terminal, options.ConfigFile).Record;
        start.ConfigFromRecorder = true;
        // As the window opens it, the window's words said on one line; a file that cannot be
        // read named as every file is.
        const OpenedHistoryFile opened = OpenHistoryFile(options.FromFile);
        if (!opened.Problem.isEmpty())
            EndWith(terminal, CliExit::FileRefused,
                    opened.Detail.isEmpty() ? opened.Problem
                                            : QStringLiteral("Nie można otworzyć pliku %1: %2")
                                                  .arg(options.FromFile, opened.Detail));
        lines = opened.Text.split(u'\n');
    }
    THistoryReportInput input = DownloadReportInput(start, lines);
    input.Incomplete = incomplete;
    if (input.Readings.empty())
        EndWith(terminal, CliExit::FileRefused, NoReadingsText);
    WriteReport(options, terminal, input);
    return CliExit::Done;
}

CliExit ArchiveList(const CliOptions& options, TCliTerminal& terminal) {
    const std::unique_ptr<TDownloadArchive> archive = OpenReadArchive(options, terminal);
    const QList<TDownloadSummary> downloads = ChosenDownloads(options, terminal, archive.get());
    if (options.Json)
        PrintJson(terminal, QJsonDocument(ArchiveJson(downloads)));
    else
        PrintLines(terminal, ArchiveLines(downloads, !options.Company.isEmpty()));
    return CliExit::Done;
}

CliExit ArchiveExport(const CliOptions& options, TCliTerminal& terminal) {
    CheckWritable(terminal, options.Output);
    const std::unique_ptr<TDownloadArchive> archive = OpenReadArchive(options, terminal);
    const QList<TDownloadSummary> chosen = ChosenDownloads(options, terminal, archive.get());
    if (chosen.isEmpty())
        EndWith(terminal, CliExit::FileRefused,
                QStringLiteral("Nie ma w archiwum pobrań rejestratora %1 z tego okresu")
                    .arg(options.Recorder));
    const QString text = ChosenLines(terminal, *archive, chosen).join(u'\n');
    const bool csv = options.Format == HistoryFormat::Csv;
    WriteOutput(terminal, options.Output,
                csv ? HistoryCsvBytes(ParseHistory(text).Readings)
                    : HistoryFileBytes(text, HistoryTextEnd::LineOfDownload),
                csv ? QStringLiteral("Zapisano plik CSV")
                    : QStringLiteral("Zapisano plik historii"));
    return CliExit::Done;
}

CliExit ArchiveInit(const CliOptions& options, TCliTerminal& terminal) {
    TCompanyArchive company(options.Company);
    if (!company.Init())
        EndWith(terminal, CliExit::Failed, Sentence(company.Problem()));
    terminal.Message(QStringLiteral("Archiwum firmy jest gotowe"));
    return CliExit::Done;
}

CliExit ArchivePush(const CliOptions& options, TCliTerminal& terminal) {
    const std::unique_ptr<THistoryArchive> local = OpenArchive(terminal);
    TCompanyArchive company(options.Company);
    // Reached even with nothing to send: a wrong address is said now, not after a download.
    if (!company.Open())
        EndWith(terminal, CliExit::Failed, Sentence(company.Problem()));
    const std::optional<int> sent =
        local ? company.Push(*local,
                             [&terminal](int done, int total) {
                                 terminal.Progress(QStringLiteral("Wysyłanie do archiwum firmy"),
                                                   done, total);
                                 return true;
                             })
              : 0;
    terminal.EndProgress();
    if (!sent)
        EndWith(terminal, CliExit::Failed, Sentence(company.Problem()));
    terminal.Message(QStringLiteral("Wysłano do archiwum firmy: %1").arg(DownloadsText(*sent)));
    return CliExit::Done;
}

CliExit HistoryClear(const CliOptions& options, TCliSession& cli) {
    Confirm(options, cli, QStringLiteral("Skasować całą historię temperatury w rejestratorze?"));
    cli.Open(true);
    cli.Session().ClearHistory();
    cli.EndOnFailure();
    cli.Close(true);
    return CliExit::Done;
}

CliExit Restart(TCliSession& cli) {
    cli.Open(true);
    cli.Session().Restart();
    cli.Terminal().Step(QStringLiteral("Rejestrator restartuje się"));
    // The recorder is gone until it has started again: there is no one to log off from.
    cli.Close(false);
    return CliExit::Done;
}

CliExit Password(const CliOptions& options, TCliSession& cli) {
    TRecorderSession& session = cli.Session();
    cli.Open(true);
    // The steps of the window's password dialog.
    session.BeginOperation();
    session.DisableDeviceControls();
    if (!session.ChangePassword(ToAnsi(options.Argument))) {
        cli.EndOnFailure();
        return CliExit::NoAnswer;
    }
    cli.Terminal().Message(QStringLiteral("Hasło zmienione"));
    session.EnterLoggedOn();
    cli.Close(true);
    return CliExit::Done;
}

CliExit Firmware(const CliOptions& options, TCliSession& cli) {
    TCliTerminal& terminal = cli.Terminal();
    const QList<FirmwareBlock> blocks =
        FirmwareBlocks(ReadContainer(terminal, options.Argument, FirmwareFileTag));
    if (blocks.isEmpty())
        EndWith(terminal, CliExit::FileRefused,
                QStringLiteral("Plik %1 nie zawiera oprogramowania").arg(options.Argument));
    // The warning comes with the question, before the answer.
    Confirm(options, cli,
            QStringLiteral("%1. Aktualizować oprogramowanie rejestratora z pliku %2?")
                .arg(SessionReportText(TSessionReport::FirmwareStarting).Text, options.Argument));
    // No logon: the update begins with a restart into the boot loader, which a recorder left
    // there by a failed update also takes.
    cli.Open(false);
    TRecorderSession& session = cli.Session();
    session.BeginOperation();
    session.DisableDeviceControls();
    session.StopStatusPoll();
    cli.SetInterruptMode(TInterruptMode::Refuse);
    const bool finished = session.UpdateFirmware(blocks);
    cli.SetInterruptMode(TInterruptMode::Abort);
    session.DisableDeviceControls();
    session.EnterLoggedOff();
    cli.Close(false);
    return finished ? CliExit::Done : CliExit::NoAnswer;
}

CliExit RunOnRecorder(const CliOptions& options, TCliTerminal& terminal) {
    // Opened first and closed last: the session traces into it until it is gone.
    std::unique_ptr<TCliTraceFile> trace;
    if (!options.Trace.isEmpty()) {
        trace = std::make_unique<TCliTraceFile>(options.Trace);
        if (!trace->IsOpen())
            EndWith(terminal, CliExit::FileRefused,
                    QStringLiteral("Błąd zapisu: %1").arg(options.Trace));
    }
    TCliSession cli(options, terminal);
    cli.Session().SetTraceSink(trace.get());
    // Errors inside event handlers are the session's to judge, as in the window.
    auto* funnel = dynamic_cast<TErrorFunnel*>(QCoreApplication::instance());
    if (funnel)
        funnel->OnException = [&cli](const std::exception& error) { cli.HandleError(error); };
    const auto restored = qScopeGuard([funnel] {
        if (funnel)
            funnel->OnException = nullptr;
    });
    switch (options.Command) {
    case CliCommand::Status:
        return Status(options, cli);
    case CliCommand::ConfigRead:
        return ConfigRead(options, cli);
    case CliCommand::ConfigWrite:
        return ConfigWrite(options, cli);
    case CliCommand::Clock:
        return Clock(options, cli);
    case CliCommand::ClockSet:
        return ClockSet(options, cli);
    case CliCommand::History:
        return History(options, cli);
    case CliCommand::Report:
        return Report(options, cli);
    case CliCommand::HistoryClear:
        return HistoryClear(options, cli);
    case CliCommand::Restart:
        return Restart(cli);
    case CliCommand::Password:
        return Password(options, cli);
    case CliCommand::Firmware:
        return Firmware(options, cli);
    default:
        return CliExit::Usage;
    }
}

} // namespace

CliExit RunCommand(const CliOptions& options, TCliTerminal& terminal) {
    switch (options.Command) {
    case CliCommand::Ports:
        return Ports(options, terminal);
    case CliCommand::ConfigShow:
        return ConfigShow(options, terminal);
    case CliCommand::ArchiveList:
        return ArchiveList(options, terminal);
    case CliCommand::ArchiveExport:
        return ArchiveExport(options, terminal);
    case CliCommand::ArchiveInit:
        return ArchiveInit(options, terminal);
    case CliCommand::ArchivePush:
        return ArchivePush(options, terminal);
    case CliCommand::Report:
        if (!options.FromFile.isEmpty() || options.ArchiveId)
            return ReportOffline(options, terminal);
        return RunOnRecorder(options, terminal);
    default:
        return RunOnRecorder(options, terminal);
    }
}
