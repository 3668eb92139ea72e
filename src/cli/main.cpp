#include "cli/CliRun.h"
#include "core/ErrorFunnel.h"

int main(int argc, char* argv[]) {
    TCoreApplication app(argc, argv);
    return RunCli(app.arguments().mid(1));
}
