#include "cli/CliRun.h"

#include "cli/CliCommands.h"
#include "cli/CliHelp.h"
#include "cli/CliSession.h"
#include "cli/CliTerminal.h"

#include <QCoreApplication>

namespace {

// Data that did not reach standard output fails the command that made it, as a file that
// could not be written does.
int Ended(TCliTerminal& terminal, CliExit code) {
    if (!terminal.DataLost())
        return static_cast<int>(code);
    terminal.Error(QStringLiteral("Błąd zapisu: standardowe wyjście"));
    return static_cast<int>(code == CliExit::Done ? CliExit::FileRefused : code);
}

} // namespace

int RunCli(const QStringList& arguments) {
    const ParsedCommandLine parsed =
        ParseCommandLine(arguments, qEnvironmentVariable("TC8_PASSWORD"));
    const CliOptions& options = parsed.Options;
    TCliTerminal terminal(options.Quiet, options.Verbose);
    if (!parsed.Error.isEmpty()) {
        terminal.Error(parsed.Error);
        return static_cast<int>(CliExit::Usage);
    }
    if (options.Version) {
        terminal.Data(QStringLiteral("tc8-cli %1").arg(QCoreApplication::applicationVersion()));
        return Ended(terminal, CliExit::Done);
    }
    if (!options.HelpFor.isEmpty() || options.Command == CliCommand::Help) {
        QStringList texts;
        for (const CliCommand command : options.HelpFor)
            texts << CommandHelp(command);
        terminal.DataBytes((texts.isEmpty() ? ProgramHelp() : texts.join(u'\n')).toUtf8());
        return Ended(terminal, CliExit::Done);
    }
    try {
        return Ended(terminal, RunCommand(options, terminal));
    } catch (const TCliEnd& end) {
        return Ended(terminal, end.Code);
    } catch (const std::exception& error) {
        terminal.Error(QString::fromUtf8(error.what()));
        return static_cast<int>(CliExit::Failed);
    }
}
