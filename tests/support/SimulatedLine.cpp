#include "SimulatedLine.h"

SimulatedLine::SimulatedLine(tc8sim::SimulatedRecorder::Settings settings) {
    hadDataHome_ = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    previousDataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    settings.PortsFolder =
        std::filesystem::path(dataHome.path().toStdString()) / "tc8-configurator" / "ports";
    sim = std::make_unique<tc8sim::SimulatedRecorder>(std::move(settings));
    sim->Start();
}

SimulatedLine::~SimulatedLine() {
    sim->Stop();
    if (hadDataHome_)
        qputenv("XDG_DATA_HOME", previousDataHome_);
    else
        qunsetenv("XDG_DATA_HOME");
}

tc8sim::SimulatedRecorder::Settings SimulatedLine::DefaultSettings() {
    tc8sim::SimulatedRecorder::Settings settings;
    settings.Paced = false;
    settings.PortNumber = 1;
    return settings;
}
