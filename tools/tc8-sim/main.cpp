// tc8-sim: a simulated TC-8 recorder for the configurator, on a pseudo-terminal published
// as COMn or on a real serial device.
#include "CommandLine.h"
#include "SimulatedRecorder.h"

#include <csignal>
#include <cstdio>
#include <ctime>
#include <iostream>

using tc8sim::CommandLine;
using tc8sim::SimulatedRecorder;

namespace {

// Waits for SIGINT, SIGTERM or SIGHUP (blocked in every thread and taken here), or for the
// simulator to stop by itself.
void WaitForSignal(const sigset_t& stopSignals, const SimulatedRecorder& recorder) {
    const timespec interval{0, 200'000'000};
    while (recorder.Running()) {
        if (sigtimedwait(&stopSignals, nullptr, &interval) > 0)
            return;
    }
}

} // namespace

int main(int argc, char** argv) {
    CommandLine line;
    try {
        line = CommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& error) {
        std::cerr << "tc8-sim: " << error.what() << "\n\n" << CommandLine::Usage();
        return 2;
    }
    if (line.Help) {
        std::cout << CommandLine::Usage();
        return 0;
    }
    if (!line.Quiet)
        line.Settings.Trace = [](const std::string& text) { std::cerr << text << '\n'; };

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (int number : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stopSignals, number);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    SimulatedRecorder recorder(line.Settings);
    try {
        recorder.Start();
    } catch (const std::exception& error) {
        std::cerr << "tc8-sim: " << error.what() << '\n';
        return 1;
    }
    const auto& recorderSettings = line.Settings.Recorder;
    if (recorder.PublishedName().empty())
        std::cout << "tc8-sim: recorder on " << recorder.SlavePath();
    else
        std::cout << "tc8-sim: recorder on " << recorder.PublishedName() << " ("
                  << recorder.PublishedPath().string() << " -> " << recorder.SlavePath() << ")";
    std::cout << ", password " << recorderSettings.Password.toStdString() << ", version char '"
              << static_cast<char>(recorderSettings.VersionChar) << "'" << std::endl;

    WaitForSignal(stopSignals, recorder);
    const std::string error = recorder.Error();
    recorder.Stop();
    if (!error.empty()) {
        std::cerr << "tc8-sim: " << error << '\n';
        return 1;
    }
    return 0;
}
