#include "cli/CliRun.h"
#include "core/ErrorFunnel.h"

int main(int argc, char* argv[]) {
    TCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tc8-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TC8_VERSION));
    return RunCli(QCoreApplication::arguments().mid(1));
}
