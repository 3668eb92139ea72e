#pragma once

#include "ui/TComboBox.h"
#include "ui/TEdit.h"
#include "ui/TMainControls.h"

#include <QAction>
#include <QPushButton>
#include <QToolButton>

// The controls that need a logged-on recorder, as the window switches them on and off
// together: all on (STOP aside, which only a download turns on), or all off.
inline bool DeviceControlsEnabled(const TMainControls& w) {
    return w.Button_zmiana_hasla->isEnabled() && w.ButtonRestart->isEnabled() &&
           w.Icon_get->isEnabled() && w.Icon_put->isEnabled() && w.Pobierz1->isEnabled() &&
           w.Zapisz1->isEnabled() && w.ButtonCzas->isEnabled() && w.ButtonPobierz->isEnabled() &&
           w.ButtonKasuj->isEnabled();
}

inline bool DeviceControlsDisabled(const TMainControls& w) {
    return !w.Button_zmiana_hasla->isEnabled() && !w.ButtonRestart->isEnabled() &&
           !w.Icon_get->isEnabled() && !w.Icon_put->isEnabled() && !w.Pobierz1->isEnabled() &&
           !w.Zapisz1->isEnabled() && !w.ButtonCzas->isEnabled() && !w.ButtonPobierz->isEnabled() &&
           !w.ButtonSTOP->isEnabled() && !w.ButtonKasuj->isEnabled();
}

// The disconnected state, ready for "POŁĄCZ", as "ROZŁĄCZ" leaves the window.
inline bool DisconnectedShown(const TMainControls& w) {
    return w.Edit_status->text() == QStringLiteral("ROZŁĄCZONY") &&
           w.Edit_logon->text() == QStringLiteral("WYLOGOWANY") && w.Combo_Port->isEnabled() &&
           w.Edit_haslo->isEnabled() && w.Button_polacz->isEnabled() &&
           !w.Button_rozlacz->isEnabled() && DeviceControlsDisabled(w);
}
