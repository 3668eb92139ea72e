#pragma once

#include "cli/CliOptions.h"

class TCliTerminal;

// Runs the command of the options; a failure may also end it with TCliEnd.
CliExit RunCommand(const CliOptions& options, TCliTerminal& terminal);
