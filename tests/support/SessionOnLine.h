#pragma once

#include "SimulatedLine.h"
#include "WaitFor.h"
#include "protocol/SessionDesktop.h"
#include "protocol/TRecorderSession.h"
#include "protocol/TSessionHost.h"

#include <QStringList>
#include <memory>

// The recorder session alone, as a front end without a window runs it, against the
// simulated recorder. What it reports is logged ("Error: <text>", "Information: <text>",
// "Warning: <text>", "beep" before a report said with one).
class SessionOnLine : public SimulatedLine, public TSessionHost {
public:
    // The tick is shortened to keep the suite quick; every count in ticks stays as it is.
    static constexpr int TickMs = 50;

    explicit SessionOnLine(tc8sim::SimulatedRecorder::Settings settings = DefaultSettings());
    ~SessionOnLine();

    void Report(TSessionReport report) override;
    void ReportRecordFault(RecordFault fault) override;

    // Runs `action` from the event loop, as a front end's handler would run.
    static void Later(std::function<void()> action);
    // Logs on to COM1 with the recorder's password and waits until it is done.
    bool LogOn();

    QStringList Log;
    CoreDesktop desktop;
    std::unique_ptr<TRecorderSession> session;
};
