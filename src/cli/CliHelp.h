#pragma once

#include "cli/CliOptions.h"

#include <QString>

// The help texts of tc8-cli: the program's and each command's.
QString ProgramHelp();
QString CommandHelp(CliCommand command);
