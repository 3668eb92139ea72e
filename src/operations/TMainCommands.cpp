// The main window's one-shot recorder commands: setting the clock, restarting, clearing
// the history and changing the password.
#include "ui/TMain.h"

#include "core/Guarded.h"
#include "operations/ClockPayload.h"
#include "operations/TFhaslo_nowe.h"
#include "protocol/Commands.h"
#include "ui/TEdit.h"

#include <QPushButton>
#include <QScopeGuard>

namespace {
const QByteArray ClearHistoryPayload("x");
} // namespace

void TMain::ConnectCommandHandlers() {
    connect(ButtonCzas, &QPushButton::clicked, this, Guarded(this, &TMain::ButtonCzasClick));
    connect(ButtonRestart, &QPushButton::clicked, this, Guarded(this, &TMain::ButtonRestartClick));
    connect(ButtonKasuj, &QPushButton::clicked, this, Guarded(this, &TMain::ButtonKasujClick));
    connect(Button_zmiana_hasla, &QPushButton::clicked, this,
            Guarded(this, &TMain::Button_zmiana_haslaClick));
}

void TMain::ButtonCzasClick() {
    BeginOperation();
    DisableDeviceControls();
    // Also when the request cannot be queued.
    const auto ended = qScopeGuard([this] { EnableDeviceControls(); });
    // The acknowledgement is shown whenever it comes (ClockSetAcknowledged).
    SendRequest(Cmd::SetClock, ClockPayload(desk().Now()));
}

void TMain::ClockSetAcknowledged() {
    desk().ShowMessage(MessageKind::Information, QStringLiteral("Ustawiono zegar RTC"));
}

void TMain::ButtonRestartClick() {
    BeginOperation();
    SendRequest(Cmd::Restart, Cmd::RestartPayload);
}

void TMain::ButtonKasujClick() {
    BeginOperation();
    SendRequest(Cmd::ClearHistory, ClearHistoryPayload);
    if (WaitForResponse(Cmd::LongTimeout, Cmd::ClearHistory))
        desk().ShowMessage(MessageKind::Information,
                           QStringLiteral("Historia temperatury skasowana"));
}

void TMain::Button_zmiana_haslaClick() {
    BeginOperation();
    DisableDeviceControls();
    TFhaslo_nowe dialog(*this, this);
    desk().ShowModal(dialog);
}

bool TMain::SendNewPassword(const QByteArray& password) {
    SendRequest(Cmd::ChangePassword, password);
    return WaitForResponse(Cmd::ShortTimeout, Cmd::ChangePassword);
}

void TMain::UsePassword(const QString& password) {
    Edit_haslo->setText(password);
}
