// The window's controls as the session's state gives them: each state of the connection
// area, and what the operations switch besides, shown from the one place that maps them.
#include "MainAccess.h"
#include "ScriptedDesktop.h"
#include "ui/TComboBox.h"
#include "ui/TEdit.h"
#include "ui/TMain.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct Shown {
    bool portChoice, connect, disconnect, password, device, icons, menu, stop, progress;
    const char* status;
    const char* logon;
    const char* version;
};

struct StateRow {
    const char* name;
    TSessionState state;
    Shown shown;
};

TSessionState loggedOn(bool device, bool icons, bool password) {
    TSessionState state;
    state.Connection = TConnection::LoggedOn;
    state.DeviceControls = device;
    state.ConfigIcons = icons;
    state.PasswordEditable = password;
    state.FirmwareVersion = QStringLiteral("TC-8 v 1.5");
    return state;
}

TSessionState with(TSessionState state, const std::function<void(TSessionState&)>& change) {
    change(state);
    return state;
}

const StateRow Rows[] = {
    {"Disconnected",
     {},
     {true, true, false, true, false, false, false, false, false, "ROZŁĄCZONY", "WYLOGOWANY",
      "TC-8 v ..."}},
    {"ConnectedLoggedOff",
     with({}, [](TSessionState& s) { s.Connection = TConnection::Connected; }),
     {false, true, true, true, false, false, false, false, false, "POŁĄCZONY", "WYLOGOWANY",
      "TC-8 v ..."}},
    {"LoggedOn",
     loggedOn(true, true, false),
     {false, false, true, false, true, true, true, false, false, "POŁĄCZONY", "ZALOGOWANY",
      "TC-8 v 1.5"}},
    {"LoggedOnConfigurationRead",
     with(loggedOn(false, false, true),
          [](TSessionState& s) {
              s.Operation = TOperation::ConfigRead;
              s.ConfigProgress = true;
          }),
     {false, true, true, true, false, false, false, false, true, "POŁĄCZONY", "ZALOGOWANY",
      "TC-8 v 1.5"}},
    {"LoggedOnDownloadAfterStop",
     with(loggedOn(false, true, true),
          [](TSessionState& s) {
              s.Operation = TOperation::HistoryDownload;
              s.HistoryStreaming = true;
          }),
     {false, true, true, true, false, true, false, true, false, "POŁĄCZONY", "ZALOGOWANY",
      "TC-8 v 1.5"}},
    {"LoggedOnAfterAnOperation",
     loggedOn(true, true, true),
     {false, false, true, true, true, true, true, false, false, "POŁĄCZONY", "ZALOGOWANY",
      "TC-8 v 1.5"}},
    {"ExchangeHeldBack",
     with(loggedOn(true, true, false), [](TSessionState& s) { s.ConfigHeldBack = true; }),
     {false, false, true, false, true, false, false, false, false, "POŁĄCZONY", "ZALOGOWANY",
      "TC-8 v 1.5"}},
};

void PrintTo(const StateRow& row, std::ostream* out) {
    *out << row.name;
}

class SessionStateShown : public ::testing::TestWithParam<StateRow> {
protected:
    ScriptedDesktop desktop;
    TMain window{desktop};
};

TEST_P(SessionStateShown, EnablesTheControlsTheStateGives) {
    const StateRow& row = GetParam();
    Inside(window).State = row.state;
    Inside(window).ShowSessionState();
    const Shown& shown = row.shown;
    EXPECT_EQ(window.Combo_Port->isEnabled(), shown.portChoice);
    EXPECT_EQ(window.Button_polacz->isEnabled(), shown.connect);
    EXPECT_EQ(window.Button_rozlacz->isEnabled(), shown.disconnect);
    EXPECT_EQ(window.Edit_haslo->isEnabled(), shown.password);
    for (QWidget* control : std::initializer_list<QWidget*>{
             window.Button_zmiana_hasla, window.ButtonRestart, window.ButtonCzas,
             window.ButtonPobierz, window.ButtonKasuj})
        EXPECT_EQ(control->isEnabled(), shown.device) << control->objectName().toStdString();
    EXPECT_EQ(window.Icon_get->isEnabled(), shown.icons);
    EXPECT_EQ(window.Icon_put->isEnabled(), shown.icons);
    EXPECT_EQ(window.Pobierz1->isEnabled(), shown.menu);
    EXPECT_EQ(window.Zapisz1->isEnabled(), shown.menu);
    EXPECT_EQ(window.ButtonSTOP->isEnabled(), shown.stop);
    EXPECT_EQ(window.Panel_bar->isVisibleTo(&window), shown.progress);
    EXPECT_EQ(window.Edit_status->text(), QString::fromUtf8(shown.status));
    EXPECT_EQ(window.Edit_logon->text(), QString::fromUtf8(shown.logon));
    EXPECT_EQ(window.TextWersja->text(), QString::fromUtf8(shown.version));
}

INSTANTIATE_TEST_SUITE_P(States, SessionStateShown, ::testing::ValuesIn(Rows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
