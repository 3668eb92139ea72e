// The firmware update against the simulated recorder's boot loader: the real window and its
// dialog, driven from inside the dialog's modal loop, the real serial component on a
// pseudo-terminal.
#include "MainAccess.h"
#include "RecorderSession.h"
#include "config/Container.h"
#include "firmware/TFboot.h"
#include "protocol/Commands.h"
#include "serial/TRsComm.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace {

const QString Warning = QStringLiteral("Warning: NIE WYŁĄCZAJ STEROWNIKA KVAM Z ZASILANIA");
const QString Finished = QStringLiteral("Information: Aktualizacja zakonczona");
const QString NoAcknowledgement =
    QStringLiteral("Error: Brak odpowiedzi z KVAM, aktualizacja nieudana");

QByteArray Image(qsizetype size) {
    QByteArray image;
    for (qsizetype i = 0; i < size; ++i)
        image.append(static_cast<char>(i % 251)); // never 0xFF, so padding stands out
    return image;
}

tc8sim::SimulatedRecorder::Settings HoldingItsBootLoader() {
    tc8sim::SimulatedRecorder::Settings settings = RecorderSession::DefaultSettings();
    // The boot loader gives up after a silence counted from the restart or the last block;
    // a loaded machine must not make it give up in the middle of a test.
    settings.Recorder.RestartSilence = std::chrono::minutes(5);
    return settings;
}

// What the dialog showed while a transfer ran.
struct Transfer {
    std::vector<int> Gauge; // every value BarBoot took, in order
    bool ChoiceLockedWhileRunning = true;
    bool CloseRefusedWhileRunning = true;
};

class FirmwareUpdate : public ::testing::Test {
protected:
    FirmwareUpdate() : session(HoldingItsBootLoader()) { session.desktop.SleepScale = 0.02; }

    RecorderSession session;
    TMain& w = *session.window;
    QTemporaryDir files;

    QString WriteFile(const QByteArray& contents) {
        const QString path = files.filePath(QStringLiteral("f%1.rfr").arg(++fileCount_));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        return path;
    }
    QString FirmwareFile(const QByteArray& image) {
        return WriteFile(BuildContainer(FirmwareFileTag, image));
    }

    // The port open, nobody logged on: no status poll can take a fault meant for a block.
    void OpenPort() {
        Inside(w).RsComm->Open();
        ASSERT_TRUE(Inside(w).RsComm->IsOpen());
    }
    void ChangeFaults(const std::function<void(tc8sim::FaultOptions&)>& change) {
        tc8sim::FaultOptions faults = session.sim->Faults();
        change(faults);
        session.sim->SetFaults(faults);
    }
    tc8sim::RecorderState Recorder() const { return session.Recorder(); }

    // Opens the dialog with "Aktualizacja", runs the script inside it, closes it if it is
    // still open and waits until it is gone.
    void WithDialog(const std::function<void(TFboot&)>& script) {
        bool ended = false;
        session.desktop.ModalScripts.push_back([&](QDialog& shown) {
            auto& dialog = static_cast<TFboot&>(shown);
            script(dialog);
            if (dialog.isVisible())
                dialog.reject();
            ended = true;
        });
        RecorderSession::Click(w.ButtonFirmware);
        ASSERT_TRUE(WaitFor([&] { return ended && w.findChild<TFboot*>() == nullptr; }));
    }

    // Chooses the file with "Plik" and presses "START"; onProgress runs at each change of
    // the gauge, while the transfer goes on.
    Transfer Update(const QString& path, const std::function<void(int)>& onProgress = {}) {
        Transfer transfer;
        session.desktop.FileAnswers.push_back(path);
        WithDialog([&](TFboot& dialog) {
            dialog.Button1->click();
            EXPECT_TRUE(dialog.ButtonStart->isEnabled());
            QObject::connect(dialog.BarBoot, &QProgressBar::valueChanged, &dialog, [&](int value) {
                transfer.Gauge.push_back(value);
                transfer.ChoiceLockedWhileRunning &=
                    !dialog.Button1->isEnabled() && !dialog.ButtonStart->isEnabled();
                dialog.close();
                QTest::keyClick(&dialog, Qt::Key_Escape);
                transfer.CloseRefusedWhileRunning &= dialog.isVisible();
                if (onProgress)
                    onProgress(value);
            });
            dialog.ButtonStart->click();
        });
        return transfer;
    }

    // Chooses each file in turn (nullopt: the file dialog is cancelled) and tells after each
    // choice whether "START" is enabled. "Plik" is clicked from the event loop, so that an
    // error reaches the program's handler as it would for the user.
    std::vector<bool> Choose(const std::vector<std::optional<QString>>& choices,
                             QString* shownName = nullptr) {
        std::vector<bool> startEnabled;
        for (const auto& choice : choices)
            session.desktop.FileAnswers.push_back(choice);
        WithDialog([&](TFboot& dialog) {
            for (std::size_t i = 0; i < choices.size(); ++i) {
                RecorderSession::Click(dialog.Button1);
                EXPECT_TRUE(
                    WaitFor([&] { return session.desktop.FileDialogsShown.size() == i + 1; }));
                startEnabled.push_back(dialog.ButtonStart->isEnabled());
            }
            if (shownName)
                *shownName = dialog.LabelNazwaPliku->text();
        });
        return startEnabled;
    }

    bool LoggedOffShown() const {
        return w.Edit_logon->text() == QStringLiteral("WYLOGOWANY") && !Inside(w).LoggedOn &&
               !Inside(w).PollEnabled && w.Button_polacz->isEnabled() &&
               !w.ButtonRestart->isEnabled() &&
               w.TextWersja->text() == QStringLiteral("TC-8 v ...");
    }

private:
    int fileCount_ = 0;
};

TEST_F(FirmwareUpdate, WholeBlocksGoUnpaddedAndTheRecorderRunsTheNewVersion) {
    ASSERT_TRUE(session.LogOn());
    const QByteArray image = Image(2 * 128);
    const Transfer transfer = Update(FirmwareFile(image));

    const tc8sim::RecorderState recorder = Recorder();
    EXPECT_EQ(recorder.FirmwareBlocks, (std::vector<int>{0, 1}));
    EXPECT_EQ(recorder.FirmwareImage, image);
    EXPECT_EQ(recorder.FirmwareAccepted, true);
    EXPECT_EQ(recorder.RequestCount(Cmd::Restart), 1);
    EXPECT_EQ(recorder.RequestCount(Cmd::FirmwareFinish), 1);
    EXPECT_EQ(session.desktop.Log, (QStringList{"beep", Warning, Finished}));
    // 128 and 256 of the file's 260 bytes; 100 only once the transfer has finished.
    EXPECT_EQ(transfer.Gauge, (std::vector<int>{49, 98, 100}));
    EXPECT_TRUE(transfer.ChoiceLockedWhileRunning);
    EXPECT_TRUE(transfer.CloseRefusedWhileRunning);

    EXPECT_TRUE(LoggedOffShown());
    EXPECT_EQ(w.Edit_status->text(), QStringLiteral("POŁĄCZONY"));
    ASSERT_TRUE(session.LogOn());
    EXPECT_EQ(w.TextWersja->text(), QStringLiteral("TC-8 v 1.6"));
}

TEST_F(FirmwareUpdate, AOneByteImageGoesAsOneBlockPaddedWithFF) {
    OpenPort();
    const Transfer transfer = Update(FirmwareFile("\x42"));

    const tc8sim::RecorderState recorder = Recorder();
    EXPECT_EQ(recorder.FirmwareBlocks, (std::vector<int>{0}));
    EXPECT_EQ(recorder.FirmwareImage, QByteArray("\x42") + QByteArray(127, '\xFF'));
    EXPECT_EQ(recorder.FirmwareAccepted, true);
    EXPECT_EQ(transfer.Gauge, (std::vector<int>{20, 100}));
    EXPECT_TRUE(LoggedOffShown());
}

TEST_F(FirmwareUpdate, TheRepeatAllowanceIsSharedByTheWholeTransfer) {
    OpenPort();
    // Block 0 loses its first "!", block 1 its first two: one repeat, then two.
    ChangeFaults([](tc8sim::FaultOptions& f) { f.DropNext = 1; });
    bool block1Prepared = false;
    const Transfer transfer = Update(FirmwareFile(Image(3 * 128)), [&](int) {
        if (!block1Prepared)
            ChangeFaults([](tc8sim::FaultOptions& f) { f.DropNext = 2; });
        block1Prepared = true;
    });

    const tc8sim::RecorderState recorder = Recorder();
    EXPECT_EQ(recorder.FirmwareBlocks, (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(recorder.RequestCount(Cmd::FirmwareFinish), 0);
    EXPECT_EQ(session.desktop.Log, (QStringList{"beep", Warning, "beep", NoAcknowledgement}));
    // The failed block counts too: 128 and 256 of 388 bytes.
    EXPECT_EQ(transfer.Gauge, (std::vector<int>{32, 65}));
    EXPECT_TRUE(LoggedOffShown());
}

TEST_F(FirmwareUpdate, TwoRepeatsOfOneBlockStillFinish) {
    OpenPort();
    ChangeFaults([](tc8sim::FaultOptions& f) { f.DropNext = 2; });
    Update(FirmwareFile(Image(2 * 128)));

    const tc8sim::RecorderState recorder = Recorder();
    EXPECT_EQ(recorder.FirmwareBlocks, (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(recorder.FirmwareAccepted, true);
    EXPECT_EQ(session.desktop.Log, (QStringList{"beep", Warning, Finished}));
}

TEST_F(FirmwareUpdate, WithoutAnAcknowledgementTheUpdateFailsAndIsNotFinished) {
    OpenPort();
    ChangeFaults([](tc8sim::FaultOptions& f) { f.Silent = true; });
    const Transfer transfer = Update(FirmwareFile(Image(300)));

    const tc8sim::RecorderState recorder = Recorder();
    EXPECT_EQ(recorder.FirmwareBlocks, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(recorder.RequestCount(Cmd::FirmwareFinish), 0);
    EXPECT_EQ(session.desktop.Log, (QStringList{"beep", Warning, "beep", NoAcknowledgement}));
    EXPECT_EQ(transfer.Gauge, (std::vector<int>{42})); // 128 of 304 bytes
    EXPECT_TRUE(LoggedOffShown());
}

TEST_F(FirmwareUpdate, AnAcknowledgementGluedToAnotherByteDoesNotCount) {
    OpenPort();
    ChangeFaults([](tc8sim::FaultOptions& f) { f.PrefixNext = "x"; });
    Update(FirmwareFile(Image(100)));

    const tc8sim::RecorderState recorder = Recorder();
    EXPECT_EQ(recorder.FirmwareBlocks, (std::vector<int>{0, 0}));
    EXPECT_EQ(recorder.FirmwareAccepted, true);
    EXPECT_EQ(session.desktop.Log, (QStringList{"beep", Warning, Finished}));
}

TEST_F(FirmwareUpdate, OnlyAFileThatPassesEveryCheckEnablesStart) {
    const QByteArray good = BuildContainer(FirmwareFileTag, Image(10));
    QByteArray badCheckByte = good;
    badCheckByte[5] = static_cast<char>(badCheckByte[5] ^ 0x01);
    const QString goodFile = WriteFile(good);
    const QString badFile = WriteFile(badCheckByte);
    const QString lastFile = WriteFile(BuildContainer(FirmwareFileTag, QByteArray()));

    QString shownName;
    const std::vector<bool> startEnabled =
        Choose({WriteFile(BuildContainer(ConfigFileTag, Image(10))), badFile, goodFile, badFile,
                goodFile, std::nullopt, lastFile},
               &shownName);

    // Wrong tag, wrong check byte, good, wrong again (the good file no longer counts), good,
    // a cancelled choice (nothing changes), and a good container with no image to send.
    EXPECT_EQ(startEnabled, (std::vector<bool>{false, false, true, false, true, true, false}));
    EXPECT_EQ(session.desktop.Log,
              (QStringList{"Error: Zly format pliku", "beep", "Error: Bląd CRC pliku konfiguracji",
                           "beep", "Error: Bląd CRC pliku konfiguracji"}));
    EXPECT_EQ(shownName, lastFile);
    EXPECT_EQ(session.desktop.FileDialogsShown.front().Filter,
              QStringLiteral("TC-8 firmware|*.rfr"));
    EXPECT_EQ(Recorder().RequestCount(Cmd::Restart), 0);
    EXPECT_TRUE(LoggedOffShown());
}

TEST_F(FirmwareUpdate, AFileThatCannotBeReadLeavesStartDisabled) {
    const QString missing = files.filePath(QStringLiteral("missing.rfr"));
    QString shownName;
    EXPECT_EQ(Choose({FirmwareFile(Image(10)), missing}, &shownName),
              (std::vector<bool>{true, false}));
    EXPECT_EQ(shownName, missing);
    EXPECT_TRUE(session.desktop.Log.isEmpty());
}

} // namespace
