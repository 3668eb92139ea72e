// Start-up: the real configurator program, unchanged, started again and again on Qt's
// offscreen platform. Figures: the time from starting the process to its main window having
// been painted for the first time (reported by a Qt generic plugin loaded into it), and the
// process's peak resident memory over its life (the window shown, then half a second idle).
#include "BenchClock.h"
#include "BenchMain.h"

#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

#ifndef TC8_CONFIGURATOR_EXECUTABLE
#error "TC8_CONFIGURATOR_EXECUTABLE names the program"
#endif
#ifndef TC8_PROBE_PLUGIN_PATH
#error "TC8_PROBE_PLUGIN_PATH names the folder above generic/ with the probe plugin"
#endif

namespace {

struct Start {
    double ShownMs = 0;
    double PeakMb = 0;
};

// The environment of this process with the probe's settings added or replaced.
std::vector<std::string> ProbeEnvironment(const QString& dataHome) {
    const std::vector<std::pair<std::string, std::string>> settings{
        {"QT_QPA_PLATFORM", "offscreen"},
        {"QT_PLUGIN_PATH", TC8_PROBE_PLUGIN_PATH},
        {"QT_QPA_GENERIC_PLUGINS", "tc8startupprobe"},
        {"XDG_DATA_HOME", dataHome.toStdString()},
    };
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        bool replaced = false;
        for (const auto& [name, value] : settings)
            replaced |= text.rfind(name + "=", 0) == 0;
        if (!replaced)
            environment.push_back(text);
    }
    for (const auto& [name, value] : settings)
        environment.push_back(name + "=" + value);
    return environment;
}

Start StartOnce(const std::vector<std::string>& environment) {
    int output[2];
    if (pipe(output) < 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addclose(&actions, output[1]);
    std::string program = TC8_CONFIGURATOR_EXECUTABLE;
    std::vector<char*> argv{program.data(), nullptr};
    std::vector<std::string> environmentCopy = environment;
    std::vector<char*> envp;
    for (std::string& entry : environmentCopy)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    const std::int64_t startNs = NowNs();
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (error != 0) {
        close(output[0]);
        throw std::runtime_error(std::string("cannot start the program: ") + std::strerror(error));
    }
    std::string text;
    char buffer[256];
    for (;;) {
        const ssize_t count = read(output[0], buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(count));
    }
    close(output[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);

    long long shownNs = 0;
    const auto at = text.find("SHOWN ");
    if (at == std::string::npos || std::sscanf(text.c_str() + at, "SHOWN %lld", &shownNs) != 1)
        throw std::runtime_error("the program did not report its window (is the probe plugin "
                                 "loadable?)");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the program did not end normally");
    Start start;
    start.ShownMs = static_cast<double>(shownNs - startNs) / 1e6;
    start.PeakMb = static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
    return start;
}

} // namespace

int main(int argc, char** argv) {
    return RunBench(argc, argv, [](const BenchOptions& options, BenchOutput& output) {
        const QTemporaryDir dataHome;
        const std::vector<std::string> environment = ProbeEnvironment(dataHome.path());
        StartOnce(environment); // brings the program and Qt into the file cache
        for (int run = 0; run < options.Runs; ++run) {
            const Start start = StartOnce(environment);
            output.Figure(QStringLiteral("startup.shown_ms"), start.ShownMs);
            output.Figure(QStringLiteral("startup.peak_mb"), start.PeakMb);
        }
    });
}
