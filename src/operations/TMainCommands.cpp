// The main window's one-shot recorder commands: setting the clock, restarting, clearing
// the history and changing the password.
#include "ui/TMain.h"

#include "core/Guarded.h"
#include "operations/TFhaslo_nowe.h"
#include "protocol/TRecorderSession.h"
#include "ui/TEdit.h"

#include <QPushButton>

void TMain::ConnectCommandHandlers() {
    connect(ButtonCzas, &QPushButton::clicked, this, Guarded(this, &TMain::ButtonCzasClick));
    connect(ButtonRestart, &QPushButton::clicked, this, Guarded(this, &TMain::ButtonRestartClick));
    connect(ButtonKasuj, &QPushButton::clicked, this, Guarded(this, &TMain::ButtonKasujClick));
    connect(Button_zmiana_hasla, &QPushButton::clicked, this,
            Guarded(this, &TMain::Button_zmiana_haslaClick));
}

void TMain::ButtonCzasClick() {
    Session->SetClock();
}

void TMain::ButtonRestartClick() {
    Session->Restart();
}

void TMain::ButtonKasujClick() {
    Session->ClearHistory();
}

void TMain::Button_zmiana_haslaClick() {
    Session->BeginOperation();
    DisableDeviceControls();
    TFhaslo_nowe dialog(*this, this);
    desk().ShowModal(dialog);
}

bool TMain::SendNewPassword(const QByteArray& password) {
    return Session->ChangePassword(password);
}

void TMain::UsePassword(const QString& password) {
    Edit_haslo->setText(password);
}
