// The configuration read from and written to a simulated recorder: the real main window and
// serial component on one side of a pseudo-terminal, the simulator on the other.
#include "Bytes.h"
#include "DeviceControls.h"
#include "MainAccess.h"
#include "RecorderSession.h"
#include "config/ConfigGroups.h"
#include "protocol/AnsiCodec.h"
#include "protocol/Commands.h"
#include "ui/Colors.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"
#include "ui/TMain.h"
#include "ui/TSpinButton.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

using tc8sim::FaultOptions;
using tc8sim::RecorderModel;
using tc8sim::SimTime;
using tc8sim::SimulatedRecorder;

class ConfigExchange : public ::testing::Test {
protected:
    void SetUp() override {
        Inside(window).SetTickIntervalForTests(40);
        QObject::connect(window->Bar, &QProgressBar::valueChanged, [this](int position) {
            progress << position;
            if (OnProgress)
                OnProgress(position);
        });

        ASSERT_TRUE(session.LogOn());
        desktop.Log.clear();
        progress.clear();
    }

    // Stores the groups in the recorder as if a PC had written them before.
    void presetRecorder(const std::vector<std::pair<std::uint8_t, QByteArray>>& writes) {
        recorder->WithModel([&writes](RecorderModel& model, SimTime now) {
            const bool wasLoggedOn = model.LoggedOn();
            model.Handle(Cmd::Logon, "0157", now);
            for (const auto& [code, payload] : writes)
                model.Handle(code, payload, now);
            if (!wasLoggedOn)
                model.Handle(Cmd::Logout, "W", now);
        });
    }

    void triggerFromEventLoop(QAction* item) { QTimer::singleShot(0, item, &QAction::trigger); }

    void clickFromEventLoop(QToolButton* button) {
        QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
    }

    bool operationOver(int finalPosition) const {
        return window->Bar->Position() == finalPosition && window->Panel_bar->isHidden() &&
               window->Icon_put->isEnabled();
    }

    QList<TEdit*> configFields() const {
        return {window->TempKorekta, window->TempKorekta2, window->TempMin, window->TempMax,
                window->TempZapisz,  window->TC8name,      window->TC8Typ,  window->TC8Nazwa,
                window->TC8Nazwa2,   window->TC8Nazwa3,    window->IleDruk};
    }

    void markAllEdited() {
        for (TEdit* field : configFields())
            field->SetColor(Colors::Red);
    }

    void expectDeviceControlsEnabled(bool enabled) const {
        EXPECT_TRUE(enabled ? DeviceControlsEnabled(*window) : DeviceControlsDisabled(*window));
        EXPECT_EQ(window->Button_polacz->isEnabled(), !enabled);
    }

    QList<int> progress; // every position Bar took, in order
    std::function<void(int)> OnProgress;
    // The simulator paced as a real line, on COM1 of the session's own ports folder; last,
    // so that the window goes before what its handlers use.
    RecorderSession session{SimulatedRecorder::Settings{}};
    const std::unique_ptr<SimulatedRecorder>& recorder = session.sim;
    ScriptedDesktop& desktop = session.desktop;
    const std::unique_ptr<TMain>& window = session.window;
};

TEST_F(ConfigExchange, AReadOfAllNineGroupsFillsTheFieldsAndMarksThemInStep) {
    presetRecorder({{Cmd::WriteLimits, Bytes({0, 255})},
                    {Cmd::WriteCorrection1, Bytes({128})},
                    {Cmd::WriteCorrection2, Bytes({255})},
                    {Cmd::WriteCounts, Bytes({0, 255})},
                    {Cmd::WriteName, ToAnsi(QStringLiteral("Chłodnia nr 2"))},
                    {Cmd::WriteHeader1, QByteArray(40, 'x')},
                    {Cmd::WriteType, QByteArray("AB\0CD", 5)},
                    {Cmd::WriteHeader2, {}},
                    {Cmd::WriteHeader3, ToAnsi(QStringLiteral("Zażółć gęślą jaźń"))}});
    markAllEdited();
    QString caption;
    OnProgress = [&](int) { caption = window->Label_Bar->text(); };

    triggerFromEventLoop(window->Pobierz1);
    ASSERT_TRUE(WaitFor([this] { return operationOver(20); }));

    EXPECT_EQ(window->TempMin->text(), "-128");
    EXPECT_EQ(window->TempMax->text(), "+127");
    EXPECT_EQ(window->TempKorekta->text(), "+0,0");
    EXPECT_EQ(window->TempKorekta2->text(), "-12,7");
    EXPECT_EQ(window->TempZapisz->text(), "0");
    EXPECT_EQ(window->IleDruk->text(), "255");
    EXPECT_EQ(window->TC8name->text(), QStringLiteral("Chłodnia nr 2"));
    EXPECT_EQ(window->TC8Nazwa->text(), QString(40, 'x'));
    EXPECT_EQ(window->TC8Typ->text(), "AB");
    EXPECT_EQ(window->TC8Nazwa2->text(), "");
    EXPECT_EQ(window->TC8Nazwa3->text(), QStringLiteral("Zażółć gęślą jaźń"));
    for (TEdit* field : configFields())
        EXPECT_EQ(field->Color(), Colors::InStep) << field->objectName().toStdString();

    EXPECT_EQ(window->Bar->Max(), 20);
    EXPECT_EQ(progress, (QList<int>{4, 6, 8, 10, 12, 14, 16, 18, 20}));
    EXPECT_EQ(caption, "Pobieram konfiguracje nadajnika");
    expectDeviceControlsEnabled(true);
    EXPECT_EQ(window->Edit_logon->text(), "ZALOGOWANY");
    EXPECT_TRUE(desktop.Log.isEmpty());
}

TEST_F(ConfigExchange, AWriteLandsEveryGroupInTheRecorder) {
    window->SpinButton3->DownButton()->click();
    window->SpinButton2->UpButton()->click();
    window->SpinButton1->DownButton()->click();
    window->SpinButton5->UpButton()->click();
    window->SpinButton4->UpButton()->click();
    window->IleDruk->setText("+7");
    window->TC8name->setText(QStringLiteral("Łódź"));
    window->TC8Nazwa->setText(QStringLiteral("Nagłówek pierwszy"));
    window->TC8Typ->setText(QStringLiteral("Typ ś"));
    window->TC8Nazwa2->setText(QStringLiteral("Drugi"));
    window->TC8Nazwa3->setText(QStringLiteral("€ trzeci"));
    const ConfigRecord written = Inside(window).CurrentConfig();
    QString caption;
    OnProgress = [&](int) { caption = window->Label_Bar->text(); };

    clickFromEventLoop(window->Icon_put);
    ASSERT_TRUE(WaitFor([this] { return operationOver(100); }));

    const tc8sim::RecorderState state = recorder->Snapshot();
    for (const ConfigGroup& group : ConfigGroups())
        EXPECT_EQ(state.ConfigGroup(group.WriteCode), ConfigGroupPayload(group, written))
            << int(group.WriteCode);
    EXPECT_EQ(state.ConfigGroup(Cmd::WriteLimits), Bytes({131, 139}));
    EXPECT_EQ(state.ConfigGroup(Cmd::WriteCorrection1), Bytes({129}));
    EXPECT_EQ(state.ConfigGroup(Cmd::WriteCorrection2), Bytes({1}));
    EXPECT_EQ(state.ConfigGroup(Cmd::WriteCounts), Bytes({2, 7}));
    EXPECT_EQ(state.ConfigGroup(Cmd::WriteName), QByteArray("\xA3\xF3\x64\x9F"));

    for (TEdit* field : configFields())
        EXPECT_EQ(field->Color(), Colors::InStep) << field->objectName().toStdString();
    EXPECT_EQ(progress, (QList<int>{10, 20, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_EQ(window->Bar->Max(), 100);
    EXPECT_EQ(caption, "Wysyłam konfiguracje do nadajnika");
    expectDeviceControlsEnabled(true);
    EXPECT_TRUE(desktop.Log.isEmpty());
}

TEST_F(ConfigExchange, AnUnansweredNameGroupStopsTheWriteAtFiftyAndLogsOff) {
    OnProgress = [this](int position) {
        if (position == 50) {
            FaultOptions silent;
            silent.Silent = true;
            recorder->SetFaults(silent);
        }
    };
    window->TC8Nazwa->setText("never sent");
    window->IleDruk->setText("3");

    triggerFromEventLoop(window->Zapisz1);
    ASSERT_TRUE(WaitFor([this] {
        return window->Edit_logon->text() == "WYLOGOWANY" && window->Panel_bar->isHidden();
    }));

    EXPECT_EQ(window->Bar->Position(), 50);
    EXPECT_EQ(desktop.Log, (QStringList{"beep", "Error: Brak odpowiedzi z rejestratora TC-8"}));
    expectDeviceControlsEnabled(false);
    ASSERT_TRUE(WaitFor([this] { return recorder->Snapshot().RequestCount(Cmd::WriteName) == 4; }));
    const tc8sim::RecorderState state = recorder->Snapshot();
    EXPECT_EQ(state.ConfigGroup(Cmd::WriteCounts), Bytes({1, 3}));
    EXPECT_EQ(state.RequestCount(Cmd::WriteHeader1), 0);
    EXPECT_TRUE(state.ConfigGroup(Cmd::WriteHeader1).isEmpty());
    EXPECT_EQ(window->IleDruk->Color(), Colors::InStep);
    EXPECT_EQ(window->TC8Nazwa->Color(), Colors::Red);
}

TEST_F(ConfigExchange, AnUnansweredReadKeepsWhatCameBeforeAndLogsOff) {
    presetRecorder({{Cmd::WriteLimits, Bytes({100, 200})}});
    OnProgress = [this](int position) {
        if (position == Cmd::ReadCounts) {
            FaultOptions silent;
            silent.Silent = true;
            recorder->SetFaults(silent);
        }
    };
    markAllEdited();

    clickFromEventLoop(window->Icon_get);
    ASSERT_TRUE(WaitFor([this] {
        return window->Edit_logon->text() == "WYLOGOWANY" && window->Panel_bar->isHidden();
    }));

    EXPECT_EQ(window->Bar->Position(), Cmd::ReadName);
    EXPECT_EQ(desktop.Log, (QStringList{"beep", "Error: Brak odpowiedzi z rejestratora TC-8",
                                        "Error: Brak odpowiedzi z rejestratora TC-8"}));
    EXPECT_EQ(window->TempMin->text(), "-28");
    EXPECT_EQ(window->TempMin->Color(), Colors::InStep);
    EXPECT_EQ(window->IleDruk->Color(), Colors::InStep);
    EXPECT_EQ(window->TC8name->Color(), Colors::Red);
    expectDeviceControlsEnabled(false);
}

TEST_F(ConfigExchange, AReportCountThatIsNoWholeNumberSendsNothing) {
    window->IleDruk->setText("1+");
    clickFromEventLoop(window->Icon_put);
    ASSERT_TRUE(WaitFor([this] { return !desktop.Log.isEmpty(); }));
    EXPECT_EQ(desktop.Log,
              (QStringList{"beep", "Error: Nieprawidłowa liczba raportów do wydruku"}));
    EXPECT_TRUE(window->Panel_bar->isHidden());
    EXPECT_TRUE(progress.isEmpty());
    expectDeviceControlsEnabled(true);

    // A read afterwards goes through; nothing of a write went before it.
    triggerFromEventLoop(window->Pobierz1);
    ASSERT_TRUE(WaitFor([this] { return operationOver(20); }));
    const tc8sim::RecorderState state = recorder->Snapshot();
    for (const ConfigGroup& group : ConfigGroups())
        EXPECT_EQ(state.RequestCount(group.WriteCode), 0) << int(group.WriteCode);
    EXPECT_EQ(window->Edit_logon->text(), "ZALOGOWANY");
}

TEST_F(ConfigExchange, AnEditDuringTheWriteStopsItOnlyAtTheGroupItSpoils) {
    // Edited after the counts group went out: the texts still go.
    OnProgress = [this](int position) {
        if (position == 50)
            window->IleDruk->setText("+");
    };
    clickFromEventLoop(window->Icon_put);
    ASSERT_TRUE(WaitFor([this] { return operationOver(100); }));
    EXPECT_EQ(recorder->Snapshot().RequestCount(Cmd::WriteHeader3), 1);
    EXPECT_TRUE(desktop.Log.isEmpty()) << desktop.Log.join(u'\n').toStdString();

    // Edited before it: the write stops there.
    window->IleDruk->setText("12");
    progress.clear();
    OnProgress = [this](int position) {
        if (position == 10)
            window->IleDruk->setText("+");
    };
    clickFromEventLoop(window->Icon_put);
    ASSERT_TRUE(
        WaitFor([this] { return !desktop.Log.isEmpty() && window->Panel_bar->isHidden(); }));
    EXPECT_EQ(desktop.Log,
              (QStringList{"beep", "Error: Nieprawidłowa liczba raportów do wydruku"}));
    EXPECT_EQ(progress, (QList<int>{0, 10, 20, 40}));
    EXPECT_EQ(recorder->Snapshot().RequestCount(Cmd::WriteCounts), 1);
    EXPECT_EQ(recorder->Snapshot().RequestCount(Cmd::WriteName), 1);
    expectDeviceControlsEnabled(true);
}

TEST_F(ConfigExchange, AReadClickedWhileTheStatusPollWaitsRunsAfterItAndStaysLoggedOn) {
    // Clicks the read button from inside the wait of a status poll.
    bool clicked = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!clicked && Inside(window).WaitsInProgress > 0 &&
            Inside(window).LastRequestFrame.size() > 1 &&
            static_cast<std::uint8_t>(Inside(window).LastRequestFrame.at(1)) == Cmd::Status) {
            clicked = true;
            window->Icon_get->click();
        }
    });
    watcher.start(0);
    ASSERT_TRUE(WaitFor([&] { return clicked; }));
    watcher.stop();
    ASSERT_TRUE(WaitFor([this] { return operationOver(20); }));

    // The poll goes on as before.
    const int polls = recorder->Snapshot().RequestCount(Cmd::Status);
    ASSERT_TRUE(
        WaitFor([&] { return recorder->Snapshot().RequestCount(Cmd::Status) > polls + 1; }));
    EXPECT_EQ(window->Edit_logon->text(), "ZALOGOWANY");
    EXPECT_TRUE(desktop.Log.isEmpty());
}

TEST_F(ConfigExchange, LogoutDuringTheLastGroupOfAReadLeavesTheWindowDisconnected) {
    FaultOptions faults = recorder->Faults();
    faults.Delay = std::chrono::milliseconds(200); // the answer comes after the click
    recorder->SetFaults(faults);
    session.WhileWaitingFor(Cmd::LastConfigRead, [this] { window->Button_rozlacz->click(); });
    triggerFromEventLoop(window->Pobierz1);
    ASSERT_TRUE(WaitFor([this] {
        return recorder->Snapshot().RequestCount(Cmd::Logout) > 0 && session.Settled();
    }));
    EXPECT_TRUE(DisconnectedShown(*window));
    EXPECT_TRUE(window->Panel_bar->isHidden());
    EXPECT_EQ(desktop.Log, (QStringList{"beep", "Information: Wylogowano z Rejestratora TC-8"}));
}

TEST_F(ConfigExchange, TwoClicksDuringTheClearHistoryWaitReadOnce) {
    FaultOptions faults = recorder->Faults();
    faults.Delay = std::chrono::milliseconds(300);
    recorder->SetFaults(faults);
    bool heldBackShown = false;
    session.WhileWaitingFor(Cmd::ClearHistory, [&] {
        window->Icon_get->click();
        heldBackShown = !window->Icon_get->isEnabled() && !window->Icon_put->isEnabled() &&
                        !window->Pobierz1->isEnabled() && !window->Zapisz1->isEnabled();
        window->Icon_get->click();
    });
    RecorderSession::Click(window->ButtonKasuj);
    ASSERT_TRUE(WaitFor([this] { return !desktop.Log.isEmpty() && operationOver(20); }));
    EXPECT_TRUE(heldBackShown);
    // A second read would start at once; the poll only after a quiet spell.
    const int polls = recorder->Snapshot().RequestCount(Cmd::Status);
    ASSERT_TRUE(WaitFor([&] { return recorder->Snapshot().RequestCount(Cmd::Status) > polls; }));
    EXPECT_EQ(recorder->Snapshot().RequestCount(Cmd::ReadLimits), 1);
    EXPECT_EQ(desktop.Log, (QStringList{"Information: Historia temperatury skasowana"}));
}

} // namespace
