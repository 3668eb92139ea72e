#pragma once

#include "BenchOptions.h"
#include "BenchOutput.h"

#include <functional>

// The body of a benchmark program's main: starts the program's own application object
// (TApplication) on Qt's offscreen platform unless another platform was asked for, parses
// the options and runs `body`. Errors are printed; the result is the process exit code.
int RunBench(int argc, char** argv,
             const std::function<void(const BenchOptions&, BenchOutput&)>& body);
