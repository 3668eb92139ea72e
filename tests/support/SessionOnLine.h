#pragma once

#include "SimulatedLine.h"
#include "WaitFor.h"
#include "protocol/SessionDesktop.h"
#include "protocol/TRecorderSession.h"
#include "protocol/TSessionHost.h"

#include <QStringList>
#include <memory>
#include <optional>

// The session's desktop with a clock a test may stop and sleeps it may shorten.
class LineDesktop : public SessionDesktop {
public:
    QDateTime Now() override { return FixedNow ? *FixedNow : SessionDesktop::Now(); }
    void Sleep(int milliseconds) override {
        SessionDesktop::Sleep(static_cast<int>(milliseconds * SleepScale));
    }
    std::optional<QDateTime> FixedNow;
    double SleepScale = 1.0;
};

// The device controls all on, as a front end enables them from the state: the configuration
// icons too, unless an exchange is held back.
inline bool DeviceControlsOn(const TSessionState& state) {
    return state.DeviceControls && state.ConfigIcons && !state.ConfigHeldBack;
}
// All off, STOP included.
inline bool DeviceControlsOff(const TSessionState& state) {
    return !state.DeviceControls && (!state.ConfigIcons || state.ConfigHeldBack) &&
           !state.HistoryStreaming;
}

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
    void ReportArchiveProblem(const QString& text) override;

    // Runs `action` from the event loop, as a front end's handler would run.
    static void Later(std::function<void()> action);
    // Logs on to COM1 with the recorder's password and waits until it is done.
    bool LogOn();

    QStringList Log;
    LineDesktop desktop;
    std::unique_ptr<TRecorderSession> session;
};
