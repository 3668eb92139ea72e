// The recorder's end of the line vanishing in the middle of an operation, as when the cable
// or the USB adapter is pulled: the simulator stops and its pseudo-terminal closes under
// the real serial component. The program must not crash or spin, must show the failure the
// way it shows it, and must log on again to the recorder once it is back on COM1, without
// being restarted.
#include "MainAccess.h"
#include "ProcessUsage.h"
#include "RecorderSession.h"
#include "config/Container.h"
#include "core/ErrorFunnel.h"
#include "firmware/TFboot.h"
#include "protocol/Commands.h"
#include "serial/ERsCommError.h"
#include "serial/TRsComm.h"
#include "ui/TEdit.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using tc8sim::SimulatedRecorder;

const QString NoAnswer = QStringLiteral("Error: Brak odpowiedzi z rejestratora TC-8");
const QString BlockNotAcknowledged =
    QStringLiteral("Error: Brak odpowiedzi z KVAM, aktualizacja nieudana");
const QString UpdateFinished = QStringLiteral("Information: Aktualizacja zakonczona");
const QString HistoryEnd = QStringLiteral("Koniec historii");

// A spinning thread shows as a whole core; the program idles at a few per cent.
constexpr double SpinningShare = 0.3;
constexpr int QuietSpanMs = 2000;

SimulatedRecorder::Settings RecorderSettings() {
    SimulatedRecorder::Settings settings = RecorderSession::DefaultSettings();
    // At the line's own pace the history takes seconds: time to pull the plug mid-stream.
    settings.Paced = true;
    settings.Recorder.RestartSilence = std::chrono::minutes(5);
    return settings;
}

class Unplug : public ::testing::Test {
protected:
    Unplug() : session(RecorderSettings()) {
        session.desktop.SleepScale = 0.02;
        // Errors that reach the program-wide handler are noted on their way to it.
        app = dynamic_cast<TErrorFunnel*>(QCoreApplication::instance());
        programHandler = app->OnException;
        app->OnException = [this](const std::exception& error) {
            if (dynamic_cast<const ERsCommError*>(&error) != nullptr)
                serialErrors << QString::fromUtf8(error.what());
            else
                otherErrors << QString::fromUtf8(error.what());
            programHandler(error);
        };
    }
    ~Unplug() override { app->OnException = programHandler; }

    // Stops the simulator, from the event loop (so also inside the program's waits), as
    // soon as `when` holds; the CPU meter starts then.
    void UnplugWhen(const std::function<bool()>& when) {
        auto* watch = new QTimer(session.window.get());
        QObject::connect(watch, &QTimer::timeout, watch, [this, watch, when] {
            if (!when())
                return;
            watch->stop();
            watch->deleteLater();
            session.sim->Stop();
            sinceUnplug.emplace();
        });
        watch->start(2);
    }

    // The CPU share over a quiet span with the dead line, and over everything since the
    // unplug (the failure and the quiet span): a thread spinning on the line would take a
    // whole core. The span up to the failure alone can be a few milliseconds, too short
    // to measure on its own.
    void ExpectNoSpinning() {
        ASSERT_TRUE(sinceUnplug.has_value()) << "the line was never pulled";
        const CpuShare quiet;
        IdleFor(QuietSpanMs);
        const double afterwards = quiet.Share();
        const double sinceThen = sinceUnplug->Share();
        std::printf("CPU share of one core: %.1f %% over %d ms with the dead line, %.1f %% "
                    "since the unplug\n",
                    afterwards * 100, QuietSpanMs, sinceThen * 100);
        EXPECT_LT(afterwards, SpinningShare);
        EXPECT_LT(sinceThen, SpinningShare);
    }

    // The same recorder model is gone; a fresh simulator takes COM1 in the same folder.
    void PlugBackIn() {
        SimulatedRecorder::Settings settings = RecorderSettings();
        settings.PortsFolder = std::filesystem::path(session.dataHome.path().toStdString()) /
                               "tc8-configurator" / "ports";
        session.sim = std::make_unique<SimulatedRecorder>(settings);
        session.sim->Start();
    }

    // The user's way back: "ROZŁĄCZ" closes the port, whose device is gone (the logout
    // gets no answer: the wait says so), then "POŁĄCZ" opens COM1 anew and logs on.
    void LogOnAgain() {
        ASSERT_TRUE(w.Button_rozlacz->isEnabled());
        session.desktop.Log.clear();
        RecorderSession::Click(w.Button_rozlacz);
        ASSERT_TRUE(WaitFor([this] { return !Inside(w).RsComm->IsOpen(); }));
        EXPECT_EQ(session.desktop.Log, (QStringList{"beep", NoAnswer}));
        session.desktop.Log.clear();
        ASSERT_TRUE(session.LogOn());
        EXPECT_EQ(session.sim->Snapshot().RequestCount(Cmd::Logon), 1);
        EXPECT_TRUE(otherErrors.isEmpty()) << otherErrors.join(u'\n').toStdString();
    }

    bool DownloadRunningShown() const {
        return Inside(w).LoggedOn && w.ButtonSTOP->isEnabled() && !w.ButtonPobierz->isEnabled();
    }

    bool LoggedOffShown() const {
        return !Inside(w).LoggedOn && w.Edit_logon->text() == QStringLiteral("WYLOGOWANY") &&
               w.Button_polacz->isEnabled() && !w.ButtonPobierz->isEnabled();
    }

    // Runs the firmware dialog: "Plik" with the file, then "START"; returns when it closed.
    void UpdateFirmware(const QString& path) {
        session.desktop.FileAnswers.push_back(path);
        bool ended = false;
        session.desktop.ModalScripts.push_back([&ended](QDialog& shown) {
            auto& dialog = static_cast<TFboot&>(shown);
            dialog.Button1->click();
            dialog.ButtonStart->click();
            ended = true;
        });
        RecorderSession::Click(w.ButtonFirmware);
        ASSERT_TRUE(WaitFor([&] { return ended && w.findChild<TFboot*>() == nullptr; }, 60000));
    }

    RecorderSession session;
    TMain& w = *session.window;
    TErrorFunnel* app = nullptr;
    std::function<void(const std::exception&)> programHandler;
    QStringList serialErrors;
    QStringList otherErrors;
    std::optional<CpuShare> sinceUnplug;
};

TEST_F(Unplug, InTheHistoryDownload) {
    ASSERT_TRUE(session.LogOn());
    UnplugWhen([this] { return w.trm->document()->blockCount() >= 20; });
    RecorderSession::Click(w.ButtonPobierz);

    // The stream has no wait of its own to notice the lost line: the serial component's
    // error ends the download with the no-answer report, and the window logs off.
    ASSERT_TRUE(WaitQuietlyFor([this] { return session.desktop.Log.contains(NoAnswer); }));
    ExpectNoSpinning();
    ASSERT_FALSE(serialErrors.isEmpty());
    EXPECT_TRUE(serialErrors.first().startsWith(QStringLiteral("Read error")))
        << serialErrors.first().toStdString();
    EXPECT_EQ(session.desktop.Log, (QStringList{"beep", NoAnswer}));
    EXPECT_TRUE(LoggedOffShown());
    EXPECT_FALSE(w.ButtonSTOP->isEnabled());
    const QString partial = w.trm->toPlainText();
    EXPECT_GE(w.trm->document()->blockCount(), 20);
    EXPECT_FALSE(partial.contains(HistoryEnd));

    // Once the recorder is back, "POŁĄCZ" alone opens the port anew and logs on.
    PlugBackIn();
    session.desktop.Log.clear();
    ASSERT_TRUE(session.LogOn());
    EXPECT_TRUE(session.desktop.Log.isEmpty()) << session.desktop.Log.join(u'\n').toStdString();
    EXPECT_EQ(session.sim->Snapshot().RequestCount(Cmd::Logon), 1);
    RecorderSession::Click(w.ButtonPobierz);
    ASSERT_TRUE(WaitFor(
        [this] {
            return w.ButtonPobierz->isEnabled() && w.trm->toPlainText().endsWith(HistoryEnd);
        },
        60000));
    const QStringList lines = w.trm->toPlainText().split(u'\n');
    EXPECT_EQ(lines.size(), 201);
    EXPECT_EQ(lines.last(), HistoryEnd);
    EXPECT_EQ(serialErrors.size(), 1);
    EXPECT_TRUE(otherErrors.isEmpty()) << otherErrors.join(u'\n').toStdString();
}

TEST_F(Unplug, InTheConfigurationWrite) {
    ASSERT_TRUE(session.LogOn());
    w.TC8Nazwa->setText(QStringLiteral("Chłodnia 3"));
    UnplugWhen([this] { return session.sim->Snapshot().RequestCount(Cmd::WriteCorrection2) > 0; });
    RecorderSession::Click(w.Icon_put);

    // The group in flight gets no answer: its wait re-sends, gives up, says so and logs off.
    ASSERT_TRUE(WaitQuietlyFor([this] { return session.desktop.Log.contains(NoAnswer); }));
    ExpectNoSpinning();
    EXPECT_EQ(session.desktop.Log, (QStringList{"beep", NoAnswer}));
    EXPECT_TRUE(LoggedOffShown());
    EXPECT_TRUE(w.Panel_bar->isHidden());
    EXPECT_EQ(serialErrors.size(), 1);

    PlugBackIn();
    LogOnAgain();
    RecorderSession::Click(w.Icon_put);
    ASSERT_TRUE(WaitFor([this] {
        return session.sim->Snapshot().RequestCount(Cmd::WriteHeader3) > 0 &&
               w.Icon_put->isEnabled();
    }));
    EXPECT_TRUE(session.desktop.Log.isEmpty()) << session.desktop.Log.join(u'\n').toStdString();
    EXPECT_EQ(session.sim->Snapshot().RequestCount(Cmd::WriteHeader3), 1);
    EXPECT_TRUE(session.sim->Snapshot().ConfigGroup(Cmd::WriteHeader1).contains("Ch"));
}

TEST_F(Unplug, InAFirmwareBlock) {
    QTemporaryDir files;
    QByteArray image;
    for (int i = 0; i < 8 * 128; ++i)
        image.append(static_cast<char>(i % 251));
    const QString path = files.filePath(QStringLiteral("update.rfr"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(BuildContainer(FirmwareFileTag, image));
    }
    ASSERT_TRUE(session.LogOn());
    UnplugWhen([this] { return session.sim->Snapshot().FirmwareBlocks.size() >= 3; });
    UpdateFirmware(path);

    // The block in flight is sent again while the shared allowance lasts, then the
    // transfer gives up with its own message and the window is logged off.
    ExpectNoSpinning();
    EXPECT_EQ(session.desktop.Log.mid(2), (QStringList{"beep", BlockNotAcknowledged}));
    EXPECT_TRUE(LoggedOffShown());
    EXPECT_EQ(serialErrors.size(), 1);

    PlugBackIn();
    LogOnAgain();
    session.desktop.Log.clear();
    UpdateFirmware(path);
    EXPECT_TRUE(session.desktop.Log.contains(UpdateFinished))
        << session.desktop.Log.join(u'\n').toStdString();
    EXPECT_EQ(session.sim->Snapshot().FirmwareImage, image);
    ASSERT_TRUE(session.LogOn());
}

} // namespace
