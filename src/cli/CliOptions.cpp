#include "cli/CliOptions.h"

#include "archive/CompanyArchive.h"

#include <QRegularExpression>
#include <array>

namespace {

// What each option needs; a command takes only the options that mean something to it.
enum OptionBit : unsigned {
    TakesWatch = 1u << 0,
    TakesOutput = 1u << 1,
    TakesFormat = 1u << 2,
    TakesAt = 1u << 3,
    TakesFromFile = 1u << 4,
    TakesArchive = 1u << 5,
    TakesConfig = 1u << 6,
    TakesDelay = 1u << 7,
    TakesReadings = 1u << 8,
    TakesTo = 1u << 9,
    TakesFrom = 1u << 10,
    TakesRecorder = 1u << 11,
    TakesPeriod = 1u << 12,
};

constexpr unsigned ReportOptions = TakesOutput | TakesFromFile | TakesArchive | TakesFrom |
                                   TakesConfig | TakesDelay | TakesReadings;
constexpr unsigned ArchiveChoice = TakesFrom | TakesRecorder | TakesPeriod;
// The longest delay the chart window's field takes: a week.
constexpr int MaxDelayMinutes = 7 * 24 * 60;

struct CommandRow {
    CliCommand Command;
    const char* Words;
    const char* ArgumentName; // nullptr: takes no argument
    unsigned Options;
};

constexpr std::array<CommandRow, 18> Commands{{
    {CliCommand::Help, "help", nullptr, 0},
    {CliCommand::Ports, "ports", nullptr, 0},
    {CliCommand::Status, "status", nullptr, TakesWatch},
    {CliCommand::ConfigRead, "config read", nullptr, TakesOutput},
    {CliCommand::ConfigWrite, "config write", "PLIK.rcf", 0},
    {CliCommand::ConfigShow, "config show", "PLIK.rcf", 0},
    {CliCommand::Clock, "clock", nullptr, 0},
    {CliCommand::ClockSet, "clock set", nullptr, TakesAt},
    {CliCommand::History, "history", nullptr, TakesOutput | TakesFormat},
    {CliCommand::HistoryClear, "history clear", nullptr, 0},
    {CliCommand::Restart, "restart", nullptr, 0},
    {CliCommand::Password, "password", "NOWE", 0},
    {CliCommand::Firmware, "firmware", "PLIK.rfr", 0},
    {CliCommand::Report, "report", nullptr, ReportOptions},
    {CliCommand::ArchiveList, "archive list", nullptr, ArchiveChoice},
    {CliCommand::ArchiveExport, "archive export", nullptr,
     ArchiveChoice | TakesArchive | TakesOutput | TakesFormat},
    {CliCommand::ArchiveInit, "archive init", nullptr, TakesTo},
    {CliCommand::ArchivePush, "archive push", nullptr, TakesTo},
}};

const CommandRow& RowOf(CliCommand command) {
    for (const CommandRow& row : Commands)
        if (row.Command == command)
            return row;
    return Commands.front();
}

// The command named by the first words; how many words it took.
std::optional<std::pair<CliCommand, int>> FindCommand(const QStringList& words) {
    std::optional<std::pair<CliCommand, int>> found;
    for (const CommandRow& row : Commands) {
        const QStringList own = QString::fromLatin1(row.Words).split(u' ');
        if (words.size() >= own.size() && words.mid(0, own.size()) == own &&
            (!found || own.size() > found->second))
            found = std::pair{row.Command, static_cast<int>(own.size())};
    }
    return found;
}

QString Quoted(const QString& text) {
    return QStringLiteral("„%1”").arg(text);
}

const QString HelpHint = QStringLiteral(" Pomoc: tc8-cli --help");

// What is wrong with a report's options; fills in the delay.
QString ReportUsageError(CliOptions& o, unsigned given, const QString& delay) {
    if (o.Output.isEmpty())
        return QStringLiteral("Polecenie „report” wymaga -o PLIK.pdf.");
    if ((given & TakesFromFile) && (given & TakesArchive))
        return QStringLiteral("Podaj jedno źródło odczytów: --from-file albo --archive.");
    if ((given & TakesFromFile) && !(given & TakesConfig))
        return QStringLiteral("Raport z pliku historii wymaga --config PLIK.rcf: z niego "
                              "pochodzą nagłówek i zakres temperatur.");
    if ((given & TakesConfig) && !(given & TakesFromFile))
        return QStringLiteral("Opcja --config dotyczy tylko raportu z pliku historii "
                              "(--from-file).");
    if ((given & TakesFrom) && !(given & TakesArchive))
        return QStringLiteral("Opcja --from dotyczy tylko raportu z archiwum (--archive).");
    bool ok = true;
    if (given & TakesDelay) {
        o.DelayMinutes = delay.toInt(&ok);
        if (!ok || o.DelayMinutes < 0 || o.DelayMinutes > MaxDelayMinutes)
            return QStringLiteral("Nieprawidłowe opóźnienie %1: podaj minuty od 0 do %2.")
                .arg(Quoted(delay))
                .arg(MaxDelayMinutes);
    }
    return {};
}

// What is wrong with the options that choose archived downloads; fills them in.
QString ArchiveUsageError(CliOptions& o, unsigned given, const QString& archiveId,
                          const QString& since, const QString& until) {
    if (given & TakesArchive) {
        bool ok = false;
        const qint64 id = archiveId.toLongLong(&ok);
        if (!ok || id <= 0)
            return QStringLiteral("Nieprawidłowy numer pobrania %1: podaj numer z "
                                  "„tc8-cli archive list”.")
                .arg(Quoted(archiveId));
        o.ArchiveId = id;
    }
    for (const auto& [text, date] : {std::pair{&since, &o.Since}, std::pair{&until, &o.Until}}) {
        if (text->isNull())
            continue;
        const QDate parsed = QDate::fromString(*text, QStringLiteral("yyyy-MM-dd"));
        if (!parsed.isValid())
            return QStringLiteral("Nieprawidłowa data %1: podaj RRRR-MM-DD.").arg(Quoted(*text));
        *date = parsed;
    }
    if (o.Since && o.Until && *o.Since > *o.Until)
        return QStringLiteral("Okres jest pusty: --since %1 jest po --until %2.").arg(since, until);
    const bool pushing =
        o.Command == CliCommand::ArchiveInit || o.Command == CliCommand::ArchivePush;
    if (pushing && o.Company.isEmpty())
        return QStringLiteral("Polecenie %1 wymaga --to ADRES: postgresql://użytkownik@serwer/baza "
                              "albo service=NAZWA.")
            .arg(Quoted(CommandWords(o.Command)));
    if (o.Command == CliCommand::ArchiveExport &&
        !(given & TakesArchive) == !(given & TakesRecorder))
        return QStringLiteral("Podaj, co wyeksportować: --archive NR albo --recorder NAZWA.");
    if ((given & TakesArchive) && (given & (TakesRecorder | TakesPeriod)))
        return QStringLiteral("Opcje --recorder, --since i --until wybierają pobrania; z --archive "
                              "pobranie jest już wybrane.");
    if (!o.Company.isEmpty()) {
        // Refused here, before a password given on the command line reaches the server.
        QString problem;
        if (CompanyConnectionString(o.Company, &problem).isEmpty())
            return QStringLiteral("Archiwum firmy: %1.").arg(problem);
    }
    return {};
}

} // namespace

int CliOptions::PortNumber() const {
    return Port.startsWith(u'/') ? 0 : Port.mid(3).toInt();
}

QList<CliCommand> CommandGroup(const QString& word) {
    QList<CliCommand> group;
    for (const CommandRow& row : Commands)
        if (QString::fromLatin1(row.Words).section(u' ', 0, 0) == word)
            group << row.Command;
    return group;
}

QString CommandWords(CliCommand command) {
    return QString::fromLatin1(RowOf(command).Words);
}

bool IsFourDigitPassword(const QString& password) {
    static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
    return fourDigits.match(password).hasMatch();
}

ParsedCommandLine ParseCommandLine(const QStringList& arguments,
                                   const QString& environmentPassword) {
    ParsedCommandLine parsed;
    CliOptions& o = parsed.Options;
    QStringList words;
    bool help = false;
    bool optionsEnded = false;
    unsigned given = 0;
    QString password = environmentPassword;
    QString passwordSource = QStringLiteral("TC8_PASSWORD");
    QString format;
    QString at;
    QString archiveId;
    QString delay;
    QString since;
    QString until;

    for (int i = 0; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        if (optionsEnded || !argument.startsWith(u'-') || argument == u'-') {
            words << argument;
            continue;
        }
        if (argument == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        // "--port=COM2" as well as "--port COM2".
        QString inlineValue;
        bool hasInlineValue = false;
        if (argument.startsWith(QStringLiteral("--")) && argument.contains(u'=')) {
            inlineValue = argument.section(u'=', 1);
            argument = argument.section(u'=', 0, 0);
            hasInlineValue = true;
        }
        // An empty value ("--from-file=") is none: taken, it would read as the option left out.
        auto value = [&](QString& target) {
            if (!hasInlineValue && i + 1 < arguments.size())
                inlineValue = arguments[++i];
            if (inlineValue.isEmpty()) {
                parsed.Error = QStringLiteral("Opcja %1 wymaga wartości.").arg(argument) + HelpHint;
                return false;
            }
            target = inlineValue;
            return true;
        };
        bool flag = true;
        if (argument == QStringLiteral("-h") || argument == QStringLiteral("--help"))
            help = true;
        else if (argument == QStringLiteral("--version"))
            o.Version = true;
        else if (argument == QStringLiteral("--json"))
            o.Json = true;
        else if (argument == QStringLiteral("-q") || argument == QStringLiteral("--quiet"))
            o.Quiet = true;
        else if (argument == QStringLiteral("-v") || argument == QStringLiteral("--verbose"))
            o.Verbose = true;
        else if (argument == QStringLiteral("-y") || argument == QStringLiteral("--yes"))
            o.Yes = true;
        else if (argument == QStringLiteral("--watch")) {
            given |= TakesWatch;
            o.Watch = true;
        } else if (argument == QStringLiteral("--readings")) {
            given |= TakesReadings;
            o.Readings = true;
        } else
            flag = false;
        if (flag) {
            if (hasInlineValue) {
                parsed.Error = QStringLiteral("Opcja %1 nie przyjmuje wartości.").arg(argument);
                return parsed;
            }
            continue;
        }
        bool ok = true;
        if (argument == QStringLiteral("-p") || argument == QStringLiteral("--port")) {
            ok = value(o.Port);
        } else if (argument == QStringLiteral("--trace")) {
            ok = value(o.Trace);
        } else if (argument == QStringLiteral("--password")) {
            ok = value(password);
            passwordSource = QStringLiteral("--password");
        } else if (argument == QStringLiteral("-o") || argument == QStringLiteral("--output")) {
            ok = value(o.Output);
            given |= TakesOutput;
        } else if (argument == QStringLiteral("--format")) {
            ok = value(format);
            given |= TakesFormat;
        } else if (argument == QStringLiteral("--at")) {
            ok = value(at);
            given |= TakesAt;
        } else if (argument == QStringLiteral("--from-file")) {
            ok = value(o.FromFile);
            given |= TakesFromFile;
        } else if (argument == QStringLiteral("--archive")) {
            ok = value(archiveId);
            given |= TakesArchive;
        } else if (argument == QStringLiteral("--to")) {
            ok = value(o.Company);
            given |= TakesTo;
        } else if (argument == QStringLiteral("--from")) {
            ok = value(o.Company);
            given |= TakesFrom;
        } else if (argument == QStringLiteral("--recorder")) {
            ok = value(o.Recorder);
            given |= TakesRecorder;
        } else if (argument == QStringLiteral("--since")) {
            ok = value(since);
            given |= TakesPeriod;
        } else if (argument == QStringLiteral("--until")) {
            ok = value(until);
            given |= TakesPeriod;
        } else if (argument == QStringLiteral("--config")) {
            ok = value(o.ConfigFile);
            given |= TakesConfig;
        } else if (argument == QStringLiteral("--delay")) {
            ok = value(delay);
            given |= TakesDelay;
        } else {
            parsed.Error = QStringLiteral("Nieznana opcja %1.").arg(Quoted(argument)) + HelpHint;
            return parsed;
        }
        if (!ok)
            return parsed;
    }

    if (o.Version)
        return parsed;
    // "help", "help COMMAND", "COMMAND --help" and "--help" alone all ask for help.
    if (!words.isEmpty() && words.front() == QStringLiteral("help")) {
        help = true;
        words.removeFirst();
    }
    if (words.isEmpty()) {
        if (!help)
            parsed.Error = QStringLiteral("Nie podano polecenia.") + HelpHint;
        return parsed;
    }
    const auto found = FindCommand(words);
    const QList<CliCommand> group = CommandGroup(words.front());
    // The first word alone asks for its whole group: "help clock" tells both clock commands.
    if (help)
        o.HelpFor = found && (words.size() > 1 || group.size() < 2) ? QList{found->first} : group;
    if (!found && group.isEmpty()) {
        parsed.Error =
            QStringLiteral("Nieznane polecenie %1.").arg(Quoted(words.front())) + HelpHint;
        return parsed;
    }
    if (!found && !help) {
        QStringList choices;
        for (const CliCommand command : group)
            choices << CommandWords(command).section(u' ', 1);
        parsed.Error = QStringLiteral("Polecenie %1 wymaga jednego z: %2.")
                           .arg(Quoted(words.front()), choices.join(QStringLiteral(", ")));
        return parsed;
    }
    if (help)
        return parsed;
    o.Command = found->first;
    const CommandRow& row = RowOf(o.Command);
    const QStringList rest = words.mid(found->second);
    const QString name = Quoted(CommandWords(o.Command));
    if (row.ArgumentName != nullptr) {
        if (rest.isEmpty()) {
            parsed.Error = QStringLiteral("Polecenie %1 wymaga argumentu %2.")
                               .arg(name, QString::fromLatin1(row.ArgumentName));
            return parsed;
        }
        o.Argument = rest.front();
    }
    if (rest.size() > (row.ArgumentName != nullptr ? 1 : 0)) {
        parsed.Error =
            QStringLiteral("Nadmiarowy argument %1 polecenia %2.").arg(Quoted(rest.back()), name);
        return parsed;
    }
    for (const auto& [bit, option] :
         {std::pair{TakesWatch, "--watch"}, std::pair{TakesOutput, "-o"},
          std::pair{TakesFormat, "--format"}, std::pair{TakesAt, "--at"},
          std::pair{TakesFromFile, "--from-file"}, std::pair{TakesArchive, "--archive"},
          std::pair{TakesConfig, "--config"}, std::pair{TakesDelay, "--delay"},
          std::pair{TakesReadings, "--readings"}, std::pair{TakesTo, "--to"},
          std::pair{TakesFrom, "--from"}, std::pair{TakesRecorder, "--recorder"},
          std::pair{TakesPeriod, "--since/--until"}}) {
        if ((given & bit) && !(row.Options & bit)) {
            parsed.Error = QStringLiteral("Opcja %1 nie dotyczy polecenia %2.")
                               .arg(QString::fromLatin1(option), name);
            return parsed;
        }
    }

    static const QRegularExpression portName(QStringLiteral("^COM[1-8]$"));
    if (!portName.match(o.Port).hasMatch() && !o.Port.startsWith(u'/')) {
        parsed.Error = QStringLiteral("Nieznany port %1: podaj COM1 … COM8 albo ścieżkę "
                                      "urządzenia, np. /dev/ttyUSB0.")
                           .arg(Quoted(o.Port));
        return parsed;
    }
    if (!password.isNull()) {
        if (!IsFourDigitPassword(password)) {
            parsed.Error = QStringLiteral("Hasło z %1 musi mieć cztery cyfry.").arg(passwordSource);
            return parsed;
        }
        o.Password = password;
    }
    if (o.Command == CliCommand::Password && !IsFourDigitPassword(o.Argument)) {
        parsed.Error = QStringLiteral("Nowe hasło musi mieć cztery cyfry: inaczej nie da się "
                                      "nim zalogować.");
        return parsed;
    }
    if (given & TakesFormat) {
        if (format == QStringLiteral("csv"))
            o.Format = HistoryFormat::Csv;
        else if (format != QStringLiteral("txt")) {
            parsed.Error = QStringLiteral("Nieznany format %1: txt albo csv.").arg(Quoted(format));
            return parsed;
        }
    }
    if (given & TakesAt) {
        const QDateTime time = QDateTime::fromString(at, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!time.isValid()) {
            parsed.Error = QStringLiteral("Nieprawidłowy czas %1: podaj 'RRRR-MM-DD GG:MM:SS'.")
                               .arg(Quoted(at));
            return parsed;
        }
        o.At = time;
    }
    if (o.Command == CliCommand::Report) {
        parsed.Error = ReportUsageError(o, given, delay);
        if (!parsed.Error.isEmpty())
            return parsed;
    }
    parsed.Error = ArchiveUsageError(o, given, archiveId, since, until);
    return parsed;
}
