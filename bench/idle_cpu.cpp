// Idle cost: the share of one core the program uses while it is logged on and only polls
// the recorder's status, and while it waits for an answer that does not come (the start
// of a history download, whose wait is the longest: 4 x 11 s). The recorder simulator runs
// as a process of its own at the pace of the 4800 bit/s line, so the process measured here
// holds only the main window and its serial threads.
#include "BenchClock.h"
#include "BenchDesktop.h"
#include "BenchMain.h"
#include "CpuTime.h"
#include "MainAccess.h"
#include "PrivatePortsFolder.h"
#include "SimulatorProcess.h"
#include "WaitFor.h"
#include "protocol/Commands.h"
#include "ui/TEdit.h"
#include "ui/TMain.h"

#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>

namespace {

struct Share {
    double Percent = 0;
    double SwitchesPerSecond = 0; // context switches of the process's threads
    int Answers = 0;              // status answers dispatched meanwhile
};

double PercentOfOneCore(std::chrono::nanoseconds cpu, std::chrono::nanoseconds wall) {
    return 100.0 * static_cast<double>(cpu.count()) / static_cast<double>(wall.count());
}

double PerSecond(long count, std::chrono::nanoseconds wall) {
    return static_cast<double>(count) * 1e9 / static_cast<double>(wall.count());
}

bool LoggedOn(TMain& window) {
    return window.Edit_logon->text() == QStringLiteral("ZALOGOWANY");
}

// Runs the event loop for `duration` and tells the CPU share used meanwhile.
Share Polling(BenchDesktop& desktop, TMain& window, std::chrono::milliseconds duration) {
    Share share;
    desktop.OnProcessMessages = [&] {
        if (Inside(window).ResponseCode == Cmd::Status)
            ++share.Answers;
    };
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    const auto startWall = BenchClock::now();
    const std::chrono::nanoseconds startCpu = ProcessCpuTime();
    const long startSwitches = ProcessContextSwitches();
    loop.exec();
    const std::chrono::nanoseconds wall = BenchClock::now() - startWall;
    share.Percent = PercentOfOneCore(ProcessCpuTime() - startCpu, wall);
    share.SwitchesPerSecond = PerSecond(ProcessContextSwitches() - startSwitches, wall);
    desktop.OnProcessMessages = nullptr;
    return share;
}

// Presses START with the recorder frozen and measures `duration` of the wait that follows;
// then lets the recorder answer (it holds no history), which ends the download at once.
double UnansweredWait(SimulatorProcess& simulator, TMain& window,
                      std::chrono::milliseconds duration) {
    double percent = 0;
    simulator.Pause();
    const auto startWall = BenchClock::now();
    const std::chrono::nanoseconds startCpu = ProcessCpuTime();
    QTimer measured; // fires inside the wait's own event loop
    measured.setSingleShot(true);
    QObject::connect(&measured, &QTimer::timeout, [&] {
        percent = PercentOfOneCore(ProcessCpuTime() - startCpu, BenchClock::now() - startWall);
        simulator.Resume();
    });
    measured.start(duration);
    window.ButtonPobierz->click(); // returns when the wait has ended
    if (measured.isActive())
        throw std::runtime_error("the wait ended before the measurement did");
    if (!WaitFor([&] { return window.ButtonPobierz->isEnabled(); }))
        throw std::runtime_error("the history download did not end after the recorder answered");
    return percent;
}

} // namespace

int main(int argc, char** argv) {
    return RunBench(argc, argv, [](const BenchOptions& options, BenchOutput& output) {
        const auto pollingTime = options.Quick ? std::chrono::seconds(6) : std::chrono::seconds(60);
        const auto waitTime = options.Quick ? std::chrono::seconds(3) : std::chrono::seconds(30);
        const PrivatePortsFolder ports;
        SimulatorProcess simulator({"--port", "1", "--records", "0", "--quiet"}, ports.Path());
        BenchDesktop desktop;
        TMain window(desktop);
        window.show();
        window.Button_polacz->click();
        if (!WaitFor([&] { return LoggedOn(window); }))
            throw std::runtime_error("the window did not log on to the simulated recorder");
        // The first poll comes 1.5 s after the logon; from then on the state is steady.
        Polling(desktop, window, std::chrono::seconds(3));

        for (int run = 0; run < options.Runs; ++run) {
            const Share share = Polling(desktop, window, pollingTime);
            if (share.Answers == 0 || !LoggedOn(window))
                throw std::runtime_error("the window stopped polling");
            output.Figure(QStringLiteral("idle.polling.cpu_percent"), share.Percent);
            output.Figure(QStringLiteral("idle.polling.answers"), share.Answers);
            output.Figure(QStringLiteral("idle.polling.switches_per_s"), share.SwitchesPerSecond);
        }
        for (int run = 0; run < options.Runs; ++run) {
            output.Figure(QStringLiteral("idle.unanswered.cpu_percent"),
                          UnansweredWait(simulator, window, waitTime));
            // The answers to the wait's re-sends come late; let them pass.
            Polling(desktop, window, std::chrono::seconds(1));
        }
    });
}
