#pragma once

#include "FaultyDevice.h"
#include "ScriptedDesktop.h"
#include "ScriptedPorts.h"
#include "SimulatedLine.h"
#include "WaitFor.h"
#include "ui/TMain.h"

#include <QAbstractButton>
#include <QTimer>
#include <functional>
#include <memory>

// The main window wired to a simulated recorder on a pseudo-terminal published as COM1 in
// a private ports folder: the real window, the real serial component, the simulator.
class RecorderSession : public SimulatedLine {
public:
    // The tick is shortened to keep the suite quick; every count in ticks stays as it is.
    static constexpr int TickMs = 50;

    explicit RecorderSession(tc8sim::SimulatedRecorder::Settings settings = DefaultSettings());
    ~RecorderSession();

    // Clicks as the user would: from the event loop, so errors reach the program's handler.
    static void Click(QAbstractButton* button);
    // "POŁĄCZ", then waits until the window says it is logged on.
    bool LogOn();
    bool LoggedOnShown() const;
    // Runs `action` once, from inside the window's wait for the answer to `code`, as a user
    // who clicks while the window waits.
    void WhileWaitingFor(std::uint8_t code, std::function<void()> action);
    // Every wait has ended and the port is closed.
    bool Settled() const;
    // Puts a device with faults the test switches between the window's serial component and
    // the line, from the next opening of the port on.
    std::shared_ptr<DeviceFaults> InjectDeviceFaults();
    ScriptedDesktop desktop;
    // The serial ports the machine lists besides the ports folder: none unless a test adds
    // them, so that what the numbers stand for does not depend on the machine.
    std::shared_ptr<QList<TListedPort>> machinePorts = std::make_shared<QList<TListedPort>>();
    std::unique_ptr<TMain> window;

private:
    QTimer waitWatcher_;
};
