#include "cli/CliRun.h"

#include "cli/CliCommands.h"
#include "cli/CliHelp.h"
#include "cli/CliSession.h"
#include "cli/CliTerminal.h"

#include <QCoreApplication>

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
        return static_cast<int>(CliExit::Done);
    }
    if (!options.HelpFor.isEmpty() || options.Command == CliCommand::Help) {
        QStringList texts;
        for (const CliCommand command : options.HelpFor)
            texts << CommandHelp(command);
        terminal.DataBytes((texts.isEmpty() ? ProgramHelp() : texts.join(u'\n')).toUtf8());
        return static_cast<int>(CliExit::Done);
    }
    try {
        return static_cast<int>(RunCommand(options, terminal));
    } catch (const TCliEnd& end) {
        return static_cast<int>(end.Code);
    } catch (const std::exception& error) {
        terminal.Error(QString::fromUtf8(error.what()));
        return static_cast<int>(CliExit::Failed);
    }
}
