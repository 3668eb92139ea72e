#pragma once

#include "SimulatedRecorder.h"

#include <QTemporaryDir>
#include <memory>

// The simulated recorder on a pseudo-terminal published as COM1 in a private ports folder
// (XDG_DATA_HOME points at a folder of the test's own until this ends).
class SimulatedLine {
public:
    explicit SimulatedLine(tc8sim::SimulatedRecorder::Settings settings = DefaultSettings());
    ~SimulatedLine();

    static tc8sim::SimulatedRecorder::Settings DefaultSettings();
    tc8sim::RecorderState Recorder() const { return sim->Snapshot(); }

    QTemporaryDir dataHome;
    std::unique_ptr<tc8sim::SimulatedRecorder> sim;

private:
    QByteArray previousDataHome_;
    bool hadDataHome_ = false;
};
