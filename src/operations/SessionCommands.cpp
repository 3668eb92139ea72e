// The session's one-shot recorder commands: setting the clock, restarting, clearing the
// history and changing the password.
#include "protocol/TRecorderSession.h"

#include "operations/ClockPayload.h"
#include "protocol/Commands.h"

#include <QScopeGuard>

namespace {
const QByteArray ClearHistoryPayload("x");
} // namespace

void TRecorderSession::SetClock() {
    BeginOperation();
    DisableDeviceControls();
    // Also when the request cannot be queued.
    const auto ended = qScopeGuard([this] { EnableDeviceControls(); });
    // The acknowledgement is reported whenever it comes.
    SendRequest(Cmd::SetClock, ClockPayload(desk().Now()));
}

void TRecorderSession::ClockSetAcknowledged() {
    host_.Report(TSessionReport::ClockSet);
}

void TRecorderSession::Restart() {
    BeginOperation();
    SendRequest(Cmd::Restart, Cmd::RestartPayload);
}

void TRecorderSession::ClearHistory() {
    BeginOperation();
    SetOperation(TOperation::Command);
    const auto ended = qScopeGuard([this] { SetOperation(TOperation::None); });
    SendRequest(Cmd::ClearHistory, ClearHistoryPayload);
    if (WaitForResponse(Cmd::LongTimeout, Cmd::ClearHistory))
        host_.Report(TSessionReport::HistoryCleared);
}

bool TRecorderSession::ChangePassword(const QByteArray& password) {
    SetOperation(TOperation::Command);
    const auto ended = qScopeGuard([this] { SetOperation(TOperation::None); });
    SendRequest(Cmd::ChangePassword, password);
    return WaitForResponse(Cmd::ShortTimeout, Cmd::ChangePassword);
}
