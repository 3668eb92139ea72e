#pragma once

#include "SimulatedRecorder.h"

#include <string>
#include <vector>

namespace tc8sim {

// The simulator's command line, turned into its settings.
struct CommandLine {
    SimulatedRecorder::Settings Settings;
    bool Quiet = false;
    bool Help = false;

    // Throws std::invalid_argument with a message naming the faulty option.
    static CommandLine Parse(const std::vector<std::string>& arguments);
    static std::string Usage();
};

} // namespace tc8sim
