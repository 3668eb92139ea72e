// Live status, history and recorder commands end to end: the main window with its serial
// port on a pseudo-terminal and the simulated recorder at the other end.
#include "DeviceControls.h"
#include "MainAccess.h"
#include "RecorderSession.h"
#include "operations/HistoryRendering.h"
#include "operations/StatusRendering.h"
#include "operations/TFhaslo_nowe.h"
#include "protocol/Commands.h"
#include "serial/ERsCommError.h"
#include "ui/Colors.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"
#include "ui/TMain.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <sstream>

namespace {

// The payload bytes of a traced status reply ("... n 0x50 status  [14] D7 00 BE 02 ...").
std::optional<QByteArray> StatusReplyPayload(const std::string& line) {
    if (line.find("TC8 -> PC") == std::string::npos || line.find(" 0x50 ") == std::string::npos)
        return std::nullopt;
    const auto lengthAt = line.find("[14]");
    if (lengthAt == std::string::npos)
        return std::nullopt;
    std::istringstream hex(line.substr(lengthAt + 4));
    QByteArray payload;
    for (int i = 0; i < StatusPayloadSize; ++i) {
        unsigned value = 0;
        if (!(hex >> std::hex >> value))
            return std::nullopt;
        payload.append(static_cast<char>(value));
    }
    return payload;
}

// Counts the paint events a text box's viewport receives and notes how many lines the box
// held at the last one.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QPlainTextEdit& box) : box_(box) {
        box.viewport()->installEventFilter(this);
    }
    int Paints = 0;
    int LinesAtLastPaint = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++Paints;
            LinesAtLastPaint = box_.document()->blockCount();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPlainTextEdit& box_;
};

class RecorderOperations : public ::testing::Test {
protected:
    void Start(const std::function<void(tc8sim::SimulatedRecorder::Settings&)>& adjust = {}) {
        tc8sim::SimulatedRecorder::Settings settings = RecorderSession::DefaultSettings();
        settings.Recorder.StartClock = QDateTime(QDate(2026, 12, 7), QTime(1, 30, 5));
        settings.Trace = [this](const std::string& line) {
            const std::lock_guard lock(traceMutex);
            if (auto payload = StatusReplyPayload(line))
                statusReplies.push_back(*payload);
        };
        if (adjust)
            adjust(settings);
        session = std::make_unique<RecorderSession>(std::move(settings));
        window = session->window.get();
        desktop = &session->desktop;
    }

    void LogOn() { ASSERT_TRUE(session->LogOn()); }
    // A download at the line's own pace, long enough to act on while it runs, under way.
    void DownloadAtLinePace(int records) {
        Start([records](auto& settings) {
            settings.Recorder.HistoryRecords = records;
            settings.Paced = true;
        });
        LogOn();
        Click(window->ButtonPobierz);
        ASSERT_TRUE(WaitFor([&] { return window->trm->blockCount() >= 20; }));
    }
    static void Click(QAbstractButton* button) { RecorderSession::Click(button); }

    int Received(std::uint8_t code) const { return session->Recorder().RequestCount(code); }

    QString LastLine() const { return window->trm->document()->lastBlock().text(); }

    bool DeviceControlsEnabled() const { return ::DeviceControlsEnabled(*window); }
    bool DeviceControlsDisabled() const { return ::DeviceControlsDisabled(*window); }

    std::mutex traceMutex;
    std::vector<QByteArray> statusReplies; // every status payload the recorder sent
    // Declared last: the recorder, whose trace writes above, goes first.
    std::unique_ptr<RecorderSession> session;
    TMain* window = nullptr;
    ScriptedDesktop* desktop = nullptr;
};

TEST_F(RecorderOperations, PollAnswerIsShownInTheStatusFields) {
    Start();
    LogOn();
    ASSERT_TRUE(WaitFor([&] { return !window->Temp->text().isEmpty(); }));

    const StatusTexts shown{window->Temp->text(), window->Temp2->text(),
                            window->Udc->text(),  window->Udc->Color() == Colors::Lime,
                            window->RUwe->text(), window->Ruac->text(),
                            window->Data->text(), window->czas->text()};
    std::vector<StatusTexts> sent;
    {
        const std::lock_guard lock(traceMutex);
        for (const QByteArray& payload : statusReplies)
            sent.push_back(*RenderStatus(payload));
    }
    EXPECT_NE(std::find(sent.begin(), sent.end(), shown), sent.end())
        << shown.Temp.toStdString() << " " << shown.Udc.toStdString() << " "
        << shown.czas.toStdString();
    EXPECT_EQ(shown.Data, QStringLiteral("2026.12.07"));
    EXPECT_TRUE(window->Icon_get->isEnabled());

    // And the next poll refreshes it.
    const int polls = Received(Cmd::Status);
    ASSERT_TRUE(WaitFor([&] { return Received(Cmd::Status) > polls; }));
}

TEST_F(RecorderOperations, WholeHistoryArrivesAndIsSavedByteForByte) {
    constexpr int Records = 2047;
    Start([](auto& settings) {
        settings.Recorder.HistoryRecords = Records;
        settings.Paced = false;
    });
    LogOn();
    Click(window->ButtonPobierz);
    ASSERT_TRUE(WaitFor([&] { return LastLine() == "Koniec historii"; }, 120000));

    QStringList expectedLines;
    for (const QByteArray& record : session->Recorder().HistoryRecords)
        expectedLines << *HistoryLine(record);
    ASSERT_EQ(expectedLines.size(), Records);
    expectedLines << QStringLiteral("Koniec historii");
    EXPECT_EQ(window->trm->toPlainText(), expectedLines.join(u'\n'));
    EXPECT_EQ(window->TempBar->Max(), Records * HistoryGaugeStep);
    EXPECT_EQ(window->TempBar->Percent(), 100);
    EXPECT_TRUE(window->ButtonPobierz->isEnabled());
    EXPECT_FALSE(window->ButtonSTOP->isEnabled());
    EXPECT_EQ(Received(Cmd::HistoryStart), 1);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("historia.txt"));
    desktop->FileAnswers.push_back(path);
    Click(window->ButtonZapisz);
    ASSERT_TRUE(
        WaitFor([&] { return desktop->CountOf("Information: Zapisano plik historii") == 1; }));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), (expectedLines.join(QStringLiteral("\r\n")) + "\r\n").toLatin1());
}

TEST_F(RecorderOperations, FastHistoryIsPaintedAtMostEvery40MsAndEndsShownWhole) {
    Start([](auto& settings) {
        settings.Recorder.HistoryRecords = 2047;
        settings.Paced = false;
    });
    window->show();
    LogOn();
    PaintWatch watch(*window->trm);
    QElapsedTimer clock;
    clock.start();
    Click(window->ButtonPobierz);
    ASSERT_TRUE(WaitFor([&] { return LastLine() == "Koniec historii"; }, 120000));
    const qint64 elapsedMs = clock.elapsed();
    const int paintsDuringDownload = watch.Paints;

    // One paint per 40 ms at most, and a few for clearing the box and the buttons' changes:
    // painting every record would be 2,000 paints.
    EXPECT_LE(paintsDuringDownload, elapsedMs / 40 + 5) << elapsedMs << " ms";
    // The held-back lines are painted once the interval is over.
    EXPECT_TRUE(WaitFor([&] { return watch.LinesAtLastPaint == 2048; })) << watch.LinesAtLastPaint;
}

TEST_F(RecorderOperations, DownloadOnAQuietLineEndsWithTheNoAnswerReport) {
    DownloadAtLinePace(400);
    // The cable is pulled: nothing more comes, and STOP alone would wait for the next record.
    tc8sim::FaultOptions faults = session->sim->Faults();
    faults.Silent = true;
    session->sim->SetFaults(faults);
    const int shownBefore = window->trm->blockCount();

    ASSERT_TRUE(WaitFor([&] { return !desktop->Log.isEmpty(); }, 60000));
    EXPECT_EQ(desktop->Log, (QStringList{"beep", "Error: Brak odpowiedzi z rejestratora TC-8"}));
    EXPECT_FALSE(Inside(window).LoggedOn);
    EXPECT_FALSE(window->ButtonSTOP->isEnabled());
    EXPECT_FALSE(window->ButtonPobierz->isEnabled());
    EXPECT_TRUE(window->Button_polacz->isEnabled());
    EXPECT_GE(window->trm->blockCount(), shownBefore); // what came stays in the box

    // The cable is back: "POŁĄCZ" logs on again.
    faults.Silent = false;
    session->sim->SetFaults(faults);
    desktop->Log.clear();
    LogOn();
    EXPECT_TRUE(desktop->Log.isEmpty()) << desktop->Log.join(u'\n').toStdString();
}

TEST_F(RecorderOperations, ASerialErrorThatIsNoLostDeviceLeavesTheDownloadRunning) {
    DownloadAtLinePace(200);
    window->ApplicationException(
        ERsCommError(QStringLiteral("Output buffer is full. Please check comm status.")));
    EXPECT_TRUE(window->ButtonSTOP->isEnabled());
    EXPECT_TRUE(Inside(window).LoggedOn);
    EXPECT_TRUE(desktop->Log.isEmpty());
    ASSERT_TRUE(WaitFor([&] { return window->ButtonPobierz->isEnabled(); }, 60000));
    EXPECT_EQ(LastLine(), QStringLiteral("Koniec historii"));
    EXPECT_TRUE(Inside(window).LoggedOn);
    EXPECT_TRUE(desktop->Log.isEmpty()) << desktop->Log.join(u'\n').toStdString();
}

TEST_F(RecorderOperations, ClearingTheHistoryReportsTheAnswerAndKeepsTheText) {
    Start();
    LogOn();
    window->trm->setPlainText(QStringLiteral("poprzednia historia"));
    ASSERT_FALSE(session->Recorder().HistoryRecords.empty());
    Click(window->ButtonKasuj);
    ASSERT_TRUE(WaitFor(
        [&] { return desktop->CountOf("Information: Historia temperatury skasowana") == 1; }));
    EXPECT_TRUE(session->Recorder().HistoryRecords.empty());
    EXPECT_EQ(window->trm->toPlainText(), QStringLiteral("poprzednia historia"));
    EXPECT_EQ(desktop->Log,
              QStringList({QStringLiteral("Information: Historia temperatury skasowana")}));
}

TEST_F(RecorderOperations, NewPasswordIsSentWholeAndLogsOnAgain) {
    Start();
    LogOn();
    desktop->ModalScripts.push_back([&](QDialog& dialog) {
        auto& passwordDialog = static_cast<TFhaslo_nowe&>(dialog);
        EXPECT_FALSE(Inside(window).PollEnabled);
        EXPECT_TRUE(window->Temp->text().isEmpty());
        EXPECT_TRUE(DeviceControlsDisabled());
        passwordDialog.Edit_haslo_nowe->setText(QStringLiteral("12a45"));
        passwordDialog.Button1->click();
    });
    Click(window->Button_zmiana_hasla);
    ASSERT_TRUE(WaitFor([&] { return desktop->CountOf("Information: Hasło zmienione") == 1; }));
    ASSERT_TRUE(WaitFor([&] { return window->findChild<TFhaslo_nowe*>() == nullptr; }));

    EXPECT_EQ(session->Recorder().Password, QByteArray("12a45"));
    EXPECT_EQ(window->Edit_haslo->text(), QStringLiteral("12a45"));
    EXPECT_FALSE(window->Edit_haslo->isEnabled());
    EXPECT_EQ(window->Edit_logon->text(), QStringLiteral("ZALOGOWANY"));
    EXPECT_TRUE(DeviceControlsEnabled());
    EXPECT_TRUE(Inside(window).PollEnabled);
    const int polls = Received(Cmd::Status);
    EXPECT_TRUE(WaitFor([&] { return Received(Cmd::Status) > polls; }));
    EXPECT_EQ(desktop->Log, QStringList({QStringLiteral("Information: Hasło zmienione")}));
}

TEST_F(RecorderOperations, CancelledPasswordDialogSendsNothing) {
    Start();
    LogOn();
    // "Anuluj", then the close box.
    desktop->ModalScripts.push_back([](QDialog& dialog) {
        auto& passwordDialog = static_cast<TFhaslo_nowe&>(dialog);
        passwordDialog.Edit_haslo_nowe->setText(QStringLiteral("9999"));
        passwordDialog.Button2->click();
    });
    desktop->ModalScripts.push_back([](QDialog& dialog) { dialog.close(); });
    for (int i = 0; i < 2; ++i) {
        Click(window->Button_zmiana_hasla);
        ASSERT_TRUE(WaitFor(
            [&] { return desktop->ModalScripts.size() == 1u - i && DeviceControlsEnabled(); }));
        EXPECT_TRUE(Inside(window).PollEnabled);
    }
    EXPECT_EQ(Received(Cmd::ChangePassword), 0);
    EXPECT_EQ(session->Recorder().Password, QByteArray("0157"));
    EXPECT_EQ(window->Edit_haslo->text(), QStringLiteral("0157"));
    EXPECT_TRUE(desktop->Log.isEmpty());
}

TEST_F(RecorderOperations, FailedPasswordChangeLeavesTheWindowLoggedOff) {
    Start();
    LogOn();
    bool stillOpen = false;
    desktop->ModalScripts.push_back([&](QDialog& dialog) {
        auto& passwordDialog = static_cast<TFhaslo_nowe&>(dialog);
        tc8sim::FaultOptions silent;
        silent.Silent = true;
        session->sim->SetFaults(silent);
        passwordDialog.Edit_haslo_nowe->setText(QStringLiteral("4321"));
        passwordDialog.Button1->click(); // returns when all four attempts are over
        stillOpen = dialog.isVisible();
        dialog.close();
    });
    Click(window->Button_zmiana_hasla);
    ASSERT_TRUE(WaitFor([&] { return desktop->ModalScripts.empty() && !desktop->Log.isEmpty(); }));
    ASSERT_TRUE(WaitFor([&] { return window->findChild<TFhaslo_nowe*>() == nullptr; }));

    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(desktop->Log,
              QStringList({QStringLiteral("beep"),
                           QStringLiteral("Error: Brak odpowiedzi z rejestratora TC-8")}));
    EXPECT_EQ(Received(Cmd::ChangePassword), 4);
    EXPECT_EQ(window->Edit_logon->text(), QStringLiteral("WYLOGOWANY"));
    EXPECT_TRUE(DeviceControlsDisabled());
    EXPECT_TRUE(window->Button_polacz->isEnabled());
    EXPECT_FALSE(Inside(window).PollEnabled);
    EXPECT_EQ(window->Edit_haslo->text(), QStringLiteral("0157"));
}

} // namespace
