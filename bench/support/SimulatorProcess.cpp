#include "SimulatorProcess.h"

#include <chrono>
#include <csignal>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#ifndef TC8_SIM_EXECUTABLE
#error "TC8_SIM_EXECUTABLE names the tc8-sim program"
#endif

SimulatorProcess::SimulatorProcess(const std::vector<std::string>& options,
                                   const std::filesystem::path& portsFolder) {
    std::vector<std::string> arguments{TC8_SIM_EXECUTABLE};
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0)
        throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::is_symlink(portsFolder / "COM1")) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("tc8-sim ended at once");
        }
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("tc8-sim did not publish COM1");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

SimulatorProcess::~SimulatorProcess() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGCONT);
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
}

void SimulatorProcess::Pause() {
    kill(pid_, SIGSTOP);
}

void SimulatorProcess::Resume() {
    kill(pid_, SIGCONT);
}
