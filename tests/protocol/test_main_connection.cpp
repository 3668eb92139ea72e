// Connecting, logging on and off, and the window's states, against the simulated recorder.
#include "DeviceControls.h"
#include "MainAccess.h"
#include "RecorderSession.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "serial/ERsCommError.h"
#include "serial/PortTable.h"
#include "serial/TRsComm.h"
#include "serial/posix/TRsLockFile.h"
#include "ui/Colors.h"
#include "ui/PortList.h"
#include "ui/TComboBox.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString NoAnswer = QStringLiteral("Error: Brak odpowiedzi z rejestratora TC-8");

QColor TextColor(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

class ConnectionTest : public ::testing::Test {
protected:
    RecorderSession session;
    TMain& w = *session.window;

    tc8sim::FaultOptions Faults() const { return session.sim->Faults(); }
    void SetFaults(const tc8sim::FaultOptions& f) { session.sim->SetFaults(f); }
    int Requests(std::uint8_t code) const { return session.Recorder().RequestCount(code); }

    bool DeviceControlsEnabled() const { return ::DeviceControlsEnabled(w); }
    bool DeviceControlsDisabled() const { return ::DeviceControlsDisabled(w); }
};

TEST_F(ConnectionTest, StartsDisconnected) {
    EXPECT_FALSE(Inside(w).RsComm->IsOpen());
    EXPECT_EQ(w.Edit_status->text(), "ROZŁĄCZONY");
    EXPECT_EQ(w.Edit_status->Color(), Colors::Red);
    EXPECT_EQ(w.Edit_logon->text(), "WYLOGOWANY");
    EXPECT_EQ(w.Edit_logon->Color(), Colors::Red);
    EXPECT_TRUE(w.Combo_Port->isEnabled());
    EXPECT_TRUE(w.Edit_haslo->isEnabled());
    EXPECT_TRUE(w.Button_polacz->isEnabled());
    EXPECT_FALSE(w.Button_rozlacz->isEnabled());
    EXPECT_TRUE(DeviceControlsDisabled());
    EXPECT_FALSE(Inside(w).LoggedOn);
    EXPECT_FALSE(Inside(w).PollEnabled);
}

TEST_F(ConnectionTest, LogonShowsTheLoggedOnStateAndTheVersion) {
    ASSERT_TRUE(session.LogOn());
    EXPECT_TRUE(Inside(w).RsComm->IsOpen());
    EXPECT_EQ(w.Edit_status->text(), "POŁĄCZONY");
    EXPECT_EQ(w.Edit_status->Color(), Colors::Lime);
    EXPECT_EQ(w.Edit_logon->Color(), Colors::Lime);
    EXPECT_FALSE(w.Combo_Port->isEnabled());
    EXPECT_TRUE(w.Button_rozlacz->isEnabled());
    EXPECT_FALSE(w.Edit_haslo->isEnabled());
    EXPECT_FALSE(w.Button_polacz->isEnabled());
    EXPECT_TRUE(DeviceControlsEnabled());
    EXPECT_FALSE(w.ButtonSTOP->isEnabled());
    EXPECT_TRUE(Inside(w).LoggedOn);
    EXPECT_TRUE(Inside(w).PollEnabled);
    EXPECT_EQ(w.TextWersja->text(), "TC-8 v 1.5");
    EXPECT_EQ(TextColor(w.TextWersja), Colors::Black);
    EXPECT_TRUE(session.desktop.Log.isEmpty());
    EXPECT_EQ(session.Recorder().Requests.at(Cmd::Logon).Payloads.back(), QByteArray("0157"));
}

TEST_F(ConnectionTest, ARefusedPasswordStaysConnectedAndLoggedOff) {
    auto faults = Faults();
    faults.RefusePasswords = true;
    SetFaults(faults);
    RecorderSession::Click(w.Button_polacz);
    ASSERT_TRUE(WaitFor([&] { return session.desktop.Log.size() >= 2; }));
    EXPECT_EQ(session.desktop.Log, (QStringList{"beep", "Error: Błędne hasło"}));
    EXPECT_TRUE(Inside(w).RsComm->IsOpen());
    EXPECT_EQ(w.Edit_status->text(), "POŁĄCZONY");
    EXPECT_EQ(w.Edit_logon->text(), "WYLOGOWANY");
    EXPECT_TRUE(DeviceControlsDisabled());
    // The version still comes from the refused answer's second byte.
    EXPECT_EQ(w.TextWersja->text(), "TC-8 v 1.5");

    // "POŁĄCZ" again logs on over the open port once the password is right.
    faults.RefusePasswords = false;
    SetFaults(faults);
    ASSERT_TRUE(session.LogOn());
    EXPECT_EQ(Requests(Cmd::Logon), 2);
}

TEST_F(ConnectionTest, AnUnansweredPollLogsOffSilentlyAndPollingStops) {
    ASSERT_TRUE(session.LogOn());
    ASSERT_TRUE(WaitFor([&] { return Requests(Cmd::Status) >= 1; }));
    auto faults = Faults();
    faults.Silent = true;
    SetFaults(faults);
    ASSERT_TRUE(WaitFor([&] { return w.Edit_logon->text() == "WYLOGOWANY"; }));
    EXPECT_TRUE(session.desktop.Log.isEmpty());
    EXPECT_EQ(w.Edit_status->text(), "POŁĄCZONY");
    EXPECT_EQ(w.TextWersja->text(), "TC-8 v ...");
    EXPECT_EQ(TextColor(w.TextWersja), Colors::Gray);
    EXPECT_FALSE(Inside(w).PollEnabled);

    const int polls = Requests(Cmd::Status);
    int ticks = 0;
    QObject::connect(Inside(w).Timer, &QTimer::timeout, [&ticks] { ++ticks; });
    ASSERT_TRUE(WaitFor([&] { return ticks >= 40; }));
    EXPECT_EQ(Requests(Cmd::Status), polls);

    // "POŁĄCZ" logs on again without reopening the port.
    faults.Silent = false;
    SetFaults(faults);
    ASSERT_TRUE(session.LogOn());
}

TEST_F(ConnectionTest, LogoutReportsAndClosesThePort) {
    ASSERT_TRUE(session.LogOn());
    RecorderSession::Click(w.Button_rozlacz);
    ASSERT_TRUE(WaitFor([&] { return !Inside(w).RsComm->IsOpen(); }));
    EXPECT_EQ(session.desktop.Log,
              (QStringList{"beep", "Information: Wylogowano z Rejestratora TC-8"}));
    EXPECT_EQ(w.Edit_status->text(), "ROZŁĄCZONY");
    EXPECT_EQ(w.Edit_status->Color(), Colors::Red);
    EXPECT_EQ(w.Edit_logon->text(), "WYLOGOWANY");
    EXPECT_TRUE(w.Combo_Port->isEnabled());
    EXPECT_FALSE(w.Button_rozlacz->isEnabled());
    EXPECT_TRUE(w.Button_polacz->isEnabled());
    EXPECT_TRUE(DeviceControlsDisabled());
    EXPECT_EQ(Requests(Cmd::Logout), 1);
}

TEST_F(ConnectionTest, LogoutFromASilentRecorderReportsNoAnswerAndStillCloses) {
    ASSERT_TRUE(session.LogOn());
    auto faults = Faults();
    faults.Silent = true;
    SetFaults(faults);
    RecorderSession::Click(w.Button_rozlacz);
    ASSERT_TRUE(WaitFor([&] { return !Inside(w).RsComm->IsOpen(); }));
    EXPECT_EQ(session.desktop.Log, (QStringList{"beep", NoAnswer}));
    EXPECT_EQ(w.Edit_status->text(), "ROZŁĄCZONY");
}

TEST_F(ConnectionTest, LogoutDuringALateLogonLeavesTheWindowDisconnected) {
    auto faults = Faults();
    faults.Delay = std::chrono::milliseconds(800);
    SetFaults(faults);
    session.WhileWaitingFor(Cmd::Logon, [&] { w.Button_rozlacz->click(); });
    RecorderSession::Click(w.Button_polacz);
    ASSERT_TRUE(WaitFor([&] { return Requests(Cmd::Logout) > 0 && session.Settled(); }));
    EXPECT_TRUE(DisconnectedShown(w));
    EXPECT_FALSE(Inside(w).LoggedOn);
    // The late answer does not show a version beside the disconnected state.
    EXPECT_EQ(w.TextWersja->text(), "TC-8 v ...");
    EXPECT_EQ(session.desktop.Log,
              (QStringList{"beep", "Information: Wylogowano z Rejestratora TC-8"}));
}

TEST_F(ConnectionTest, AListedAdapterIsTheFirstNumberWithoutAnyPortsFolderEntry) {
    // A laptop with a USB adapter, no on-board port and no ports folder: the simulator
    // publishes nothing, and the system lists its line as the adapter.
    tc8sim::SimulatedRecorder::Settings settings = RecorderSession::DefaultSettings();
    settings.PortNumber = 0;
    tc8sim::SimulatedRecorder adapter(settings);
    adapter.Start();
    session.sim->Stop();
    TListedPort listed;
    listed.Device = QString::fromStdString(adapter.SlavePath());
    listed.Description = QStringLiteral("FT232R USB UART");
    *session.machinePorts << listed;

    ASSERT_TRUE(session.LogOn());
    EXPECT_EQ(w.Combo_Port->currentIndex(), 0);
    EXPECT_EQ(w.Combo_Port->itemData(0, PortDetailRole).toString(),
              DeviceShortName(listed.Device) + " · FT232R USB UART");
    EXPECT_EQ(adapter.Snapshot().RequestCount(Cmd::Logon), 1);
    w.Button_rozlacz->click();
    adapter.Stop();
}

TEST_F(ConnectionTest, TheOpenedListShowsWhatEachNumberStandsForAsItIsNow) {
    TListedPort adapter;
    adapter.Device = QStringLiteral("/dev/ttyUSB0");
    adapter.Description = QStringLiteral("FT232R USB UART");
    adapter.Manufacturer = QStringLiteral("FTDI");
    adapter.SerialNumber = QStringLiteral("A10K1234");
    adapter.VendorId = 0x0403;
    adapter.ProductId = 0x6001;
    adapter.Accessible = false;
    *session.machinePorts << adapter;
    // Plugged in after start-up: found when the list is opened.
    w.Combo_Port->showPopup();
    w.Combo_Port->hidePopup();

    const QString pty = QFileInfo(session.sim->PublishedPath().c_str()).canonicalFilePath();
    const auto data = [&](int index, int role) {
        return w.Combo_Port->itemData(index, role).toString();
    };
    EXPECT_EQ(w.Combo_Port->itemText(1), "COM2");
    EXPECT_EQ(data(0, PortDetailRole), DeviceShortName(pty)); // the ports folder's COM1
    EXPECT_EQ(data(1, PortDetailRole), "ttyUSB0 · FT232R USB UART · brak dostępu");
    EXPECT_EQ(data(2, PortDetailRole), "brak urządzenia");
    EXPECT_EQ(data(1, Qt::AccessibleDescriptionRole), data(1, PortDetailRole));
    EXPECT_EQ(data(1, Qt::ToolTipRole), "COM2: /dev/ttyUSB0\nProducent: FTDI\nProdukt: FT232R "
                                        "USB UART\nVID:PID: 0403:6001\nNumer seryjny: "
                                        "A10K1234\nBrak dostępu: ten użytkownik nie może "
                                        "otworzyć portu");
    EXPECT_TRUE(data(0, Qt::ToolTipRole).contains("Wpis w folderze portów: "));
    w.Combo_Port->setCurrentIndex(2);
    EXPECT_EQ(w.Combo_Port->toolTip(), "COM3: brak urządzenia");
    EXPECT_EQ(w.Combo_Port->accessibleDescription(), "brak urządzenia");

    // Unplugged again: gone from the list at the next opening.
    session.machinePorts->clear();
    w.Combo_Port->showPopup();
    w.Combo_Port->hidePopup();
    EXPECT_EQ(data(1, PortDetailRole), "brak urządzenia");
}

TEST_F(ConnectionTest, AFailedOpenSaysWhyBelowThePlainBox) {
    const QString pty = QFileInfo(session.sim->PublishedPath().c_str()).canonicalFilePath();
    const auto failedOpen = [&](int index) {
        session.desktop.Log.clear();
        w.Combo_Port->setCurrentIndex(index);
        RecorderSession::Click(w.Button_polacz);
        EXPECT_TRUE(WaitFor([&] { return session.desktop.Log.size() >= 3; }));
        EXPECT_FALSE(Inside(w).RsComm->IsOpen());
        EXPECT_EQ(w.Edit_status->text(), "ROZŁĄCZONY");
        EXPECT_TRUE(w.Combo_Port->isEnabled());
        EXPECT_EQ(session.desktop.Log.mid(0, 2),
                  (QStringList{"beep", "Plain: Port COM niedostępny"}));
        return session.desktop.Log.value(2);
    };

    EXPECT_EQ(failedOpen(2), "Detail: Pod numerem COM3 nie ma portu. Porty są pod numerami: "
                             "COM1 (" +
                                 DeviceShortName(pty) + ").");

    std::filesystem::create_symlink("/dev/null",
                                    session.sim->PublishedPath().parent_path() / "COM4");
    EXPECT_EQ(failedOpen(3), "Detail: /dev/null nie jest portem szeregowym: wybierz port "
                             "adaptera albo komputera.");

    // Root may open any device: the refusal a user outside the device's group meets is put
    // in through the device, which is given to a group that may read and write it.
    const auto faults = session.InjectDeviceFaults();
    faults->OpenError = EACCES;
    const group* dialout = getgrnam("dialout");
    const QByteArray ptyName = QFile::encodeName(pty);
    if (dialout != nullptr && chown(ptyName.constData(), -1, dialout->gr_gid) == 0 &&
        chmod(ptyName.constData(), 0660) == 0) {
        EXPECT_EQ(failedOpen(0), "Detail: Brak dostępu do " + pty +
                                     " (grupa dialout): dodaj "
                                     "użytkownika do grupy dialout (sudo adduser $USER dialout), "
                                     "wyloguj się z systemu i zaloguj ponownie.");
    } else {
        EXPECT_EQ(failedOpen(0), "Detail: Brak dostępu do " + pty +
                                     ": poproś administratora "
                                     "o prawo odczytu i zapisu (na Debianie porty szeregowe należą "
                                     "do grupy dialout).");
    }
    faults->OpenError = 0;

    // In use by another program: here another port of this one, which its lock file names.
    TRsComm other;
    other.SetPortNum(1);
    other.Open();
    const QString busy = failedOpen(0);
    const bool lockFolder = QFileInfo(QStringLiteral("/run/lock")).isWritable() ||
                            QFileInfo(QStringLiteral("/var/lock")).isWritable();
    if (lockFolder) {
        QFile comm(QStringLiteral("/proc/self/comm"));
        ASSERT_TRUE(comm.open(QIODevice::ReadOnly));
        EXPECT_EQ(busy, QStringLiteral("Detail: Port %1 jest zajęty przez program %2 (PID %3): "
                                       "zamknij go i spróbuj ponownie.")
                            .arg(pty, QString::fromLocal8Bit(comm.readAll()).trimmed())
                            .arg(QCoreApplication::applicationPid()));
    } else {
        EXPECT_EQ(busy, "Detail: Port " + pty +
                            " jest zajęty przez inny program: zamknij go i spróbuj ponownie.");
    }
}

TEST_F(ConnectionTest, AFailedOpenAfterTheDeviceWentAwayLeavesTheWindowDisconnected) {
    ASSERT_TRUE(session.LogOn());
    const std::filesystem::path entry = session.sim->PublishedPath();
    session.sim->Stop();
    ASSERT_TRUE(WaitFor([&] { return Inside(w).RsComm->IsDeviceGone(); }));
    std::filesystem::create_symlink(entry.parent_path() / "ttyUSB-unplugged", entry);
    // The status poll finds nobody: the window logs off silently and offers "POŁĄCZ".
    ASSERT_TRUE(WaitFor([&] { return w.Button_polacz->isEnabled(); }));

    session.desktop.Log.clear();
    RecorderSession::Click(w.Button_polacz);
    ASSERT_TRUE(WaitFor([&] { return session.desktop.Log.size() >= 3; }));
    EXPECT_EQ(session.desktop.Log,
              (QStringList{
                  "beep", "Plain: Port COM niedostępny",
                  "Detail: Wpis COM1 w folderze portów prowadzi do " +
                      QString::fromStdString((entry.parent_path() / "ttyUSB-unplugged").string()) +
                      ", którego nie ma: włóż adapter albo usuń wpis."}));
    EXPECT_FALSE(Inside(w).RsComm->IsOpen());
    EXPECT_EQ(w.Edit_status->text(), "ROZŁĄCZONY");
    EXPECT_EQ(w.Edit_status->Color(), Colors::Red);
    EXPECT_TRUE(w.Combo_Port->isEnabled());
    EXPECT_FALSE(w.Button_rozlacz->isEnabled());
    EXPECT_TRUE(w.Button_polacz->isEnabled());
    EXPECT_EQ(w.Edit_logon->text(), "WYLOGOWANY");
    EXPECT_TRUE(DeviceControlsDisabled());
}

TEST_F(ConnectionTest, TheChosenEntryNamesThePort) {
    tc8sim::SimulatedRecorder::Settings settings = RecorderSession::DefaultSettings();
    settings.PortNumber = 3;
    settings.PortsFolder = session.sim->PublishedPath().parent_path();
    tc8sim::SimulatedRecorder com3(settings);
    com3.Start();
    w.Combo_Port->setCurrentIndex(2);
    ASSERT_TRUE(session.LogOn());
    EXPECT_EQ(Inside(w).RsComm->PortNum(), 3);
    EXPECT_EQ(com3.Snapshot().RequestCount(Cmd::Logon), 1);
    EXPECT_EQ(Requests(Cmd::Logon), 0);
    EXPECT_FALSE(w.Combo_Port->isEnabled());
    w.Button_rozlacz->click();
    com3.Stop();
}

// ---- The password field ----

void Type(QWidget* field, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(field, &press);
}

TEST_F(ConnectionTest, ThePasswordFieldTakesDigitsOnlyAndFourAtMost) {
    w.Edit_haslo->setFocus();
    w.Edit_haslo->clear();
    Type(w.Edit_haslo, Qt::Key_A, "a");
    Type(w.Edit_haslo, Qt::Key_Period, ".");
    Type(w.Edit_haslo, Qt::Key_1, "1");
    Type(w.Edit_haslo, Qt::Key_2, "2");
    EXPECT_EQ(w.Edit_haslo->text(), "12");
    Type(w.Edit_haslo, Qt::Key_Backspace, "\b");
    EXPECT_EQ(w.Edit_haslo->text(), "1");
    for (const char* digit : {"2", "3", "4", "5"})
        Type(w.Edit_haslo, Qt::Key_0, digit);
    EXPECT_EQ(w.Edit_haslo->text(), "1234");
}

TEST_F(ConnectionTest, LeavingAShortPasswordPutsTheDefaultBack) {
    for (const QString& typed : {QString("12"), QString()}) {
        w.Edit_haslo->setText(typed);
        Inside(w).Edit_hasloExit();
        EXPECT_EQ(w.Edit_haslo->text(), "0157");
    }
    w.Edit_haslo->setText("4321");
    Inside(w).Edit_hasloExit();
    EXPECT_EQ(w.Edit_haslo->text(), "4321");
}

TEST_F(ConnectionTest, TheTypedPasswordIsSent) {
    session.sim->WithModel(
        [](tc8sim::RecorderModel& model, tc8sim::SimTime) { model.SetPassword("4321"); });
    w.Edit_haslo->setText("4321");
    ASSERT_TRUE(session.LogOn());
}

// ---- Waits ----

TEST_F(ConnectionTest, AWaitWhoseResendRaisesLeavesThePollAndTheConfigurationWorking) {
    const auto faults = session.InjectDeviceFaults();
    ASSERT_TRUE(session.LogOn());
    // The line takes no more output. Once the configuration write waits for its first
    // group, the output queue is filled to the brim, so the re-send finds no room and raises.
    faults->Stalled = true;
    Inside(w).RsComm->Buffers().SetWriteTimeout(0);
    bool filled = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (filled || Inside(w).WaitsInProgress == 0)
            return;
        filled = true;
        watcher.stop();
        try {
            for (;;)
                Inside(w).RsComm->WriteText(QByteArray(1, '\0'));
        } catch (const ERsCommError&) {
        }
    });
    watcher.start(2);
    RecorderSession::Click(w.Icon_put);
    ASSERT_TRUE(WaitFor(
        [&] { return filled && Inside(w).WaitsInProgress == 0 && !Inside(w).ExchangeBusy; }));
    EXPECT_TRUE(w.Panel_bar->isHidden());
    EXPECT_TRUE(DeviceControlsEnabled());
    EXPECT_TRUE(Inside(w).PollEnabled);

    faults->Stalled = false;
    Inside(w).RsComm->Buffers().SetWriteTimeout(1000);
    const int polls = Requests(Cmd::Status);
    ASSERT_TRUE(WaitFor([&] { return Requests(Cmd::Status) > polls; }));
    QTimer::singleShot(0, w.Pobierz1, &QAction::trigger);
    ASSERT_TRUE(
        WaitFor([&] { return Requests(Cmd::ReadHeader3) == 1 && w.Icon_get->isEnabled(); }));
    EXPECT_TRUE(Inside(w).LoggedOn);
    EXPECT_TRUE(session.desktop.Log.isEmpty()) << session.desktop.Log.join(u'\n').toStdString();
}

TEST_F(ConnectionTest, VersionLabelIgnoresAnswersWithoutAVersion) {
    Inside(w).ExtractFrame(BuildResponseFrame(Cmd::Logon, "T:"));
    EXPECT_EQ(w.TextWersja->text(), "TC-8 v 2.0");
    Inside(w).ExtractFrame(BuildResponseFrame(Cmd::Logon, "T/"));
    EXPECT_EQ(w.TextWersja->text(), "TC-8 v 2.0");
    Inside(w).ExtractFrame(BuildResponseFrame(Cmd::Logon, "T"));
    EXPECT_EQ(w.TextWersja->text(), "TC-8 v 2.0");
    Inside(w).ExtractFrame(BuildResponseFrame(Cmd::Logon, "N0"));
    EXPECT_EQ(w.TextWersja->text(), "TC-8 v 1.0");
}

} // namespace
