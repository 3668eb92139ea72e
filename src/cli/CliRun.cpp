#include "cli/CliRun.h"

#include <cstdio>

int RunCli(const QStringList& arguments) {
    Q_UNUSED(arguments);
    std::fputs("Użycie: tc8-cli [opcje] POLECENIE [argumenty]\n", stdout);
    return 0;
}
