#include "cli/CliOptions.h"
#include "cli/CliRun.h"
#include "core/ErrorFunnel.h"

#include <QGuiApplication>
#include <cstdio>
#include <optional>

namespace {

// Only a report paints: its text needs Qt Gui's fonts. Nothing is ever shown, so no display
// is needed or used, also where one is set.
std::optional<CliOptions> ReportOptions(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (parsed.Error.isEmpty() && parsed.Options.HelpFor.isEmpty() &&
        parsed.Options.Command == CliCommand::Report)
        return parsed.Options;
    return std::nullopt;
}

// Qt Gui's own warnings (no runtime folder in a cron job, a font setting) are no error of
// the command: stderr keeps to the command's own lines unless --verbose asks for more.
void QuietQtWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

int Run() {
    QCoreApplication::setApplicationName(QStringLiteral("tc8-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TC8_VERSION));
    return RunCli(QCoreApplication::arguments().mid(1));
}

} // namespace

int main(int argc, char* argv[]) {
    if (const std::optional<CliOptions> report = ReportOptions(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!report->Verbose)
            qInstallMessageHandler(QuietQtWarnings);
        TFunnellingApplication<QGuiApplication> app(argc, argv);
        return Run();
    }
    TCoreApplication app(argc, argv);
    return Run();
}
