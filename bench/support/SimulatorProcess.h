#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

// The recorder simulator (tc8-sim) as a process of its own, so that its CPU time is not
// counted with the program's. It publishes COM1 in the current ports folder
// (XDG_DATA_HOME); it is ended with this object, or with the benchmark if that dies.
class SimulatorProcess {
public:
    // Starts it with these options and waits until COM1 is in `portsFolder`.
    // Throws std::runtime_error.
    SimulatorProcess(const std::vector<std::string>& options,
                     const std::filesystem::path& portsFolder);
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;
    ~SimulatorProcess();

    // Freezes the recorder: requests pile up unanswered until Resume.
    void Pause();
    void Resume();

private:
    pid_t pid_ = -1;
};
