#include "RecorderSession.h"
#include "MainAccess.h"

#include "serial/TRsComm.h"
#include "ui/TEdit.h"

#include <QPushButton>

RecorderSession::RecorderSession(tc8sim::SimulatedRecorder::Settings settings)
    : SimulatedLine(std::move(settings)) {
    window = std::make_unique<TMain>(desktop);
    Inside(window).SetTickIntervalForTests(TickMs);
    window->SetPortEnumeration(std::make_unique<ScriptedPorts>(machinePorts));
}

RecorderSession::~RecorderSession() {
    window.reset();
}

void RecorderSession::Click(QAbstractButton* button) {
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
}

void RecorderSession::WhileWaitingFor(std::uint8_t code, std::function<void()> action) {
    waitWatcher_.disconnect();
    QObject::connect(&waitWatcher_, &QTimer::timeout, [this, code, action = std::move(action)] {
        const QByteArray& request = Inside(window).LastRequestFrame;
        if (Inside(window).WaitsInProgress == 0 || request.size() < 2 ||
            static_cast<std::uint8_t>(request.at(1)) != code)
            return;
        waitWatcher_.stop();
        action();
    });
    waitWatcher_.start(1);
}

bool RecorderSession::Settled() const {
    return Inside(window).WaitsInProgress == 0 && !Inside(window).RsComm->IsOpen();
}

bool RecorderSession::LoggedOnShown() const {
    return window->Edit_logon->text() == QStringLiteral("ZALOGOWANY");
}

std::shared_ptr<DeviceFaults> RecorderSession::InjectDeviceFaults() {
    auto faults = std::make_shared<DeviceFaults>();
    Inside(window).RsComm->SetDeviceFactory(
        [faults] { return std::make_unique<FaultyDevice>(faults); });
    return faults;
}

bool RecorderSession::LogOn() {
    Click(window->Button_polacz);
    return WaitFor([this] { return LoggedOnShown(); });
}
