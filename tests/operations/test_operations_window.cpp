// The main window's live status, history and recorder commands fed with answer frames
// directly, with no recorder on the line.
#include "Bytes.h"
#include "MainAccess.h"
#include "ScriptedDesktop.h"
#include "WaitFor.h"
#include "operations/TFhaslo_nowe.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "ui/Colors.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"
#include "ui/TMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

QStringList Lines(const QPlainTextEdit& box) {
    return box.toPlainText().split(u'\n', Qt::SkipEmptyParts);
}

// No recorder is on the line: the tests that log on finish well within the 15 ticks after
// which a status poll would go out to nobody.
class OperationsWindow : public ::testing::Test {
protected:
    void Feed(std::uint8_t code, const QByteArray& payload) {
        Inside(window).ExtractFrame(BuildResponseFrame(code, payload));
    }
    // Runs `step` from the event loop once a click queued before it is being handled, so
    // from inside the wait that the click has started. A timer, not a posted call: a nested
    // loop takes up posted calls only when something new is posted.
    void Later(std::function<void()> step) {
        auto* timer = new QTimer(window.get());
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, window.get(), [timer, step = std::move(step)] {
            timer->deleteLater();
            step();
        });
        timer->start(0);
    }
    void Click(QAbstractButton* button) {
        QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
    }
    // START with the recorder's answer fed into its wait; returns when the wait is over.
    void StartDownload(const QByteArray& lengthPayload) {
        bool started = false;
        Click(window->ButtonPobierz);
        Later([&] {
            EXPECT_EQ(Inside(window).LastRequestFrame, BuildRequestFrame(Cmd::HistoryStart, "h"));
            EXPECT_TRUE(window->ButtonSTOP->isEnabled());
            EXPECT_FALSE(window->ButtonPobierz->isEnabled());
            Feed(Cmd::HistoryStart, lengthPayload);
        });
        // Seen here only once the click handler has returned.
        Later([&] { started = true; });
        ASSERT_TRUE(WaitFor([&] { return started; }));
    }

    ScriptedDesktop desktop;
    std::unique_ptr<TMain> window = std::make_unique<TMain>(desktop);
};

struct StatusExample {
    const char* name;
    QByteArray payload;
    const char* temp;
    const char* temp2;
    const char* udc;
    bool supplyOk;
    const char* rawSupply;
    const char* auxiliary;
    const char* date;
    const char* time;
};

class StatusAnswer : public OperationsWindow,
                     public ::testing::WithParamInterface<StatusExample> {};

TEST_P(StatusAnswer, FillsEveryStatusField) {
    const StatusExample& example = GetParam();
    Feed(Cmd::Status, example.payload);
    EXPECT_EQ(window->Temp->text(), QString::fromLatin1(example.temp));
    EXPECT_EQ(window->Temp2->text(), QString::fromLatin1(example.temp2));
    EXPECT_EQ(window->Udc->text(), QString::fromLatin1(example.udc));
    EXPECT_EQ(window->Udc->Color(), example.supplyOk ? Colors::Lime : Colors::Red);
    EXPECT_EQ(window->RUwe->text(), QString::fromLatin1(example.rawSupply));
    EXPECT_EQ(window->Ruac->text(), QString::fromLatin1(example.auxiliary));
    EXPECT_EQ(window->Data->text(), QString::fromLatin1(example.date));
    EXPECT_EQ(window->czas->text(), QString::fromLatin1(example.time));
    // The temperatures keep the button face whatever they show.
    EXPECT_EQ(window->Temp->Color(), Colors::BtnFace());
    EXPECT_EQ(window->Temp2->Color(), Colors::BtnFace());
    EXPECT_TRUE(window->Icon_get->isEnabled());
    EXPECT_TRUE(window->Icon_put->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Examples, StatusAnswer,
    ::testing::Values(
        StatusExample{"Typical",
                      Bytes({21, 5, 0xBC, 0x02, 0x83, 0, 26, 12, 7, 1, 30, 5, 0x34, 0x12}), "+21.5",
                      "-3.0", "+12,5V", true, "700", "4660", "2026.12.07", "01:30:05"},
        StatusExample{"MinusZeroAndLowSupply",
                      Bytes({0x80, 5, 0x56, 0x02, 0x80, 0, 5, 1, 9, 9, 5, 0, 0, 0}), "-0.5", "-0.0",
                      "+10,7V", false, "598", "0", "2005.01.09", "09:05:00"},
        StatusExample{"LowestSecondSensorAndSupplyJustOk",
                      Bytes({0, 0, 0x57, 0x02, 0xFF, 9, 9, 1, 1, 0, 0, 0, 0xFF, 0xFF}), "+0.0",
                      "-127.9", "+10,8V", true, "599", "65535", "2009.01.01", "00:00:00"},
        StatusExample{"HighestTemperatureAndDateBytesAsTheyCome",
                      Bytes({0x7F, 9, 0, 0, 0x05, 12, 10, 13, 31, 23, 59, 59, 1, 0}), "+127.9",
                      "+5.12", "+0,4V", false, "0", "1", "2010.13.31", "23:59:59"},
        StatusExample{"HighestSupply",
                      Bytes({3, 0, 0xFF, 0xFF, 0x83, 0, 99, 12, 31, 12, 0, 0, 0, 1}), "+3.0",
                      "-3.0", "+1130,9V", true, "65535", "256", "2099.12.31", "12:00:00"}),
    [](const ::testing::TestParamInfo<StatusExample>& info) {
        return std::string(info.param.name);
    });

TEST_F(OperationsWindow, ShortStatusAnswerChangesNothing) {
    Feed(Cmd::Status, Bytes({21, 5, 0xBC, 0x02, 0x83, 0, 26, 12, 7, 1, 30, 5, 0x34, 0x12}));
    Feed(Cmd::Status, Bytes({0x83, 0, 0, 0, 0x83, 0, 5, 1, 9, 9, 5, 0, 0}));
    EXPECT_EQ(window->Temp->text(), QStringLiteral("+21.5"));
    EXPECT_EQ(window->Udc->text(), QStringLiteral("+12,5V"));
    EXPECT_EQ(window->Ruac->text(), QStringLiteral("4660"));
    EXPECT_EQ(window->czas->text(), QStringLiteral("01:30:05"));
}

TEST_F(OperationsWindow, DisablingTheDeviceControlsBlanksTheReadingsButKeepsDateAndTime) {
    const QByteArray status =
        Bytes({21, 5, 0x50, 0x02, 0x83, 0, 26, 12, 7, 1, 30, 5, 0, 0}); // raw 592: red
    Feed(Cmd::Status, status);
    Inside(window).DisableDeviceControls();
    for (TEdit* field : {window->Temp, window->Temp2, window->Udc}) {
        EXPECT_TRUE(field->text().isEmpty()) << field->objectName().toStdString();
        EXPECT_EQ(field->Color(), Colors::BtnFace()) << field->objectName().toStdString();
    }
    EXPECT_EQ(window->Data->text(), QStringLiteral("2026.12.07"));
    EXPECT_EQ(window->czas->text(), QStringLiteral("01:30:05"));

    // An answer that comes while the controls are off is shown all the same.
    Feed(Cmd::Status, status);
    EXPECT_EQ(window->Temp->text(), QStringLiteral("+21.5"));
    EXPECT_EQ(window->Udc->Color(), Colors::Red);
}

TEST_F(OperationsWindow, HistoryLengthSetsTheGaugeMaximum) {
    Feed(Cmd::HistoryStart, Bytes({0x10, 0x80}));
    EXPECT_EQ(window->TempBar->Max(), 16);
    Feed(Cmd::HistoryStart, Bytes({0xFF, 0x7F}));
    EXPECT_EQ(window->TempBar->Max(), 32752);
    Feed(Cmd::HistoryStart, Bytes({0xF1, 0xFF}));
    EXPECT_EQ(window->TempBar->Max(), 32752);
    Feed(Cmd::HistoryStart, Bytes({0x30})); // too short: ignored
    EXPECT_EQ(window->TempBar->Max(), 32752);
    Feed(Cmd::HistoryStart, Bytes({0x30, 0x00}));
    EXPECT_EQ(window->TempBar->Max(), 48);
}

TEST_F(OperationsWindow, HistoryRecordsBecomeLinesAndMoveTheGauge) {
    Feed(Cmd::HistoryStart, Bytes({0x20, 0x00})); // two records announced
    Feed(Cmd::HistoryRecord, Bytes({26, 12, 7, 1, 30, 5, 21, 5, 0x83, 0}));
    EXPECT_EQ(window->TempBar->Percent(), 50);
    Feed(Cmd::HistoryRecord, Bytes({255, 1, 31, 23, 59, 9, 0x80, 0, 0x7F, 9}));
    EXPECT_EQ(window->TempBar->Percent(), 100);
    Feed(Cmd::HistoryRecord, Bytes({26, 12, 7, 1, 30})); // too short: ignored
    // More records than announced still show; the gauge stays full.
    Feed(Cmd::HistoryRecord, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(window->TempBar->Percent(), 100);

    EXPECT_EQ(
        Lines(*window->trm),
        QStringList({QStringLiteral("data: 07:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0"),
                     QStringLiteral("data: 31:01:2255   czas: 23:59:09   T1: -0.0  T2: +127.9"),
                     QStringLiteral("data: 00:00:2000   czas: 00:00:00   T1: +0.0  T2: +0.0")}));
}

TEST_F(OperationsWindow, ZeroLengthKeepsTheGaugeEmptyThroughTheDownload) {
    Inside(window).EnterLoggedOn();
    StartDownload(Bytes({0, 0}));
    for (int i = 0; i < 5; ++i) {
        Feed(Cmd::HistoryRecord, Bytes({26, 12, 7, 1, 30, i, 21, 5, 0x83, 0}));
        EXPECT_EQ(window->TempBar->Percent(), 0);
    }
    Feed(Cmd::HistoryEnd, {});
    EXPECT_EQ(window->TempBar->Percent(), 0);
    EXPECT_EQ(Lines(*window->trm).size(), 6);
}

TEST_F(OperationsWindow, StartEmptiesTheBoxAndBlanksTheStatus) {
    Inside(window).EnterLoggedOn();
    window->trm->setPlainText(QStringLiteral("old line"));
    Feed(Cmd::Status, Bytes({21, 5, 0xBC, 0x02, 0x83, 0, 26, 12, 7, 1, 30, 5, 0, 0}));
    StartDownload(Bytes({0x20, 0x00}));
    EXPECT_TRUE(window->trm->toPlainText().isEmpty());
    EXPECT_TRUE(window->Temp->text().isEmpty());
    EXPECT_FALSE(Inside(window).PollEnabled);
    EXPECT_EQ(window->TempBar->Max(), 32);
    EXPECT_EQ(window->TempBar->Position(), 0);
    EXPECT_FALSE(window->ButtonKasuj->isEnabled());
    EXPECT_FALSE(window->ButtonCzas->isEnabled());
}

TEST_F(OperationsWindow, EndMarkerFinishesTheDownload) {
    Inside(window).EnterLoggedOn();
    StartDownload(Bytes({0x30, 0x00}));
    Feed(Cmd::HistoryRecord, Bytes({26, 12, 7, 1, 30, 5, 21, 5, 0x83, 0}));
    Feed(Cmd::HistoryEnd, {});
    EXPECT_EQ(Lines(*window->trm).last(), QStringLiteral("Koniec historii"));
    EXPECT_EQ(window->TempBar->Percent(), 100); // the end fills the gauge even one record short
    EXPECT_TRUE(window->ButtonPobierz->isEnabled());
    EXPECT_FALSE(window->ButtonSTOP->isEnabled());
    EXPECT_TRUE(window->ButtonKasuj->isEnabled());
    EXPECT_TRUE(Inside(window).PollEnabled);
}

TEST_F(OperationsWindow, StopGoesOutWithEveryRecordUntilTheEndMarker) {
    Inside(window).EnterLoggedOn();
    StartDownload(Bytes({0x00, 0x01}));
    Feed(Cmd::HistoryRecord, Bytes({26, 12, 7, 1, 30, 1, 21, 5, 0x83, 0}));
    const QByteArray startFrame = Inside(window).LastRequestFrame;

    Click(window->ButtonSTOP);
    ASSERT_TRUE(WaitFor([&] { return Inside(window).HistoryStopRequested; }));
    EXPECT_TRUE(window->Icon_get->isEnabled());
    EXPECT_TRUE(window->Icon_put->isEnabled());
    EXPECT_TRUE(window->ButtonSTOP->isEnabled());
    EXPECT_EQ(Inside(window).LastRequestFrame, startFrame); // nothing goes out at the click

    const QByteArray stopFrame = BuildRequestFrame(Cmd::HistoryStop, "x");
    for (int second = 2; second < 5; ++second) {
        Inside(window).LastRequestFrame.clear();
        Feed(Cmd::HistoryRecord, Bytes({26, 12, 7, 1, 30, second, 21, 5, 0x83, 0}));
        EXPECT_EQ(Inside(window).LastRequestFrame, stopFrame);
    }

    // The end marker overtakes the acknowledgement.
    Feed(Cmd::HistoryEnd, {});
    EXPECT_EQ(Lines(*window->trm).last(), QStringLiteral("Koniec historii"));
    EXPECT_FALSE(Inside(window).HistoryStopRequested);
    EXPECT_TRUE(window->ButtonPobierz->isEnabled());
    EXPECT_FALSE(window->ButtonSTOP->isEnabled());

    Inside(window).LastRequestFrame.clear();
    Feed(Cmd::HistoryRecord, Bytes({26, 12, 7, 1, 30, 6, 21, 5, 0x83, 0}));
    EXPECT_TRUE(Inside(window).LastRequestFrame.isEmpty());
}

TEST_F(OperationsWindow, StopAcknowledgementReturnsToIdleWithoutAnEndLine) {
    Inside(window).EnterLoggedOn();
    StartDownload(Bytes({0x00, 0x01}));
    Feed(Cmd::HistoryRecord, Bytes({26, 12, 7, 1, 30, 1, 21, 5, 0x83, 0}));
    Click(window->ButtonSTOP);
    ASSERT_TRUE(WaitFor([&] { return Inside(window).HistoryStopRequested; }));
    Feed(Cmd::HistoryRecord, Bytes({26, 12, 7, 1, 30, 2, 21, 5, 0x83, 0}));
    Feed(Cmd::HistoryStop, {});

    EXPECT_FALSE(Inside(window).HistoryStopRequested);
    EXPECT_TRUE(window->ButtonPobierz->isEnabled());
    EXPECT_FALSE(window->ButtonSTOP->isEnabled());
    EXPECT_EQ(window->TempBar->Position(), 0);
    EXPECT_EQ(Lines(*window->trm).size(), 2);
    EXPECT_TRUE(Inside(window).PollEnabled);
}

TEST_F(OperationsWindow, LateHistoryAnswersLeaveALoggedOffWindowAlone) {
    Feed(Cmd::HistoryStop, {});
    Feed(Cmd::HistoryEnd, {});
    EXPECT_EQ(Lines(*window->trm), QStringList({QStringLiteral("Koniec historii")}));
    for (QPushButton* control : {window->ButtonPobierz, window->ButtonKasuj, window->ButtonCzas,
                                 window->Button_zmiana_hasla})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_FALSE(Inside(window).PollEnabled);
}

class HistorySave : public OperationsWindow {
protected:
    QByteArray SavedBytes(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }
    QTemporaryDir folder;
};

TEST_F(HistorySave, WritesEveryLineWithCrLfInWindows1250) {
    Feed(Cmd::HistoryRecord, Bytes({26, 12, 7, 1, 30, 5, 21, 5, 0x83, 0}));
    Feed(Cmd::HistoryEnd, {});
    // Text the user typed is saved as typed, the non-breaking space included.
    window->trm->appendPlainText(QStringLiteral("Zażółć\u00A0gęślą"));
    const QString path = folder.filePath(QStringLiteral("historia.txt"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4000, 'z'));
    old.close();

    desktop.FileAnswers.push_back(path);
    Click(window->ButtonZapisz);
    ASSERT_TRUE(WaitFor([&] { return !desktop.Log.isEmpty(); }));

    EXPECT_EQ(desktop.Log, QStringList({QStringLiteral("Information: Zapisano plik historii")}));
    EXPECT_EQ(SavedBytes(path),
              QByteArray("data: 07:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0\r\n"
                         "Koniec historii\r\n"
                         "Za\xBF\xF3\xB3\xE6\xA0g\xEA\x9Cl\xB9"));
    ASSERT_EQ(desktop.FileDialogsShown.size(), 1u);
    EXPECT_EQ(desktop.FileDialogsShown[0].DefaultExt, QStringLiteral("txt"));
    EXPECT_EQ(desktop.FileDialogsShown[0].Filter, QStringLiteral("TC-8 konfiguracja|*.rcf"));
}

TEST_F(HistorySave, EmptyBoxGivesAnEmptyFile) {
    const QString path = folder.filePath(QStringLiteral("pusty.txt"));
    desktop.FileAnswers.push_back(path);
    Click(window->ButtonZapisz);
    ASSERT_TRUE(WaitFor([&] { return !desktop.Log.isEmpty(); }));
    EXPECT_EQ(desktop.Log, QStringList({QStringLiteral("Information: Zapisano plik historii")}));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(SavedBytes(path).isEmpty());
}

TEST_F(HistorySave, CancelledDialogSavesNothing) {
    window->trm->appendPlainText(QStringLiteral("linia"));
    desktop.FileAnswers.push_back(std::nullopt);
    Click(window->ButtonZapisz);
    ASSERT_TRUE(WaitFor([&] { return !desktop.Log.isEmpty(); }));
    EXPECT_EQ(desktop.Log, QStringList({QStringLiteral("Error: Nie zapisano")}));
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(HistorySave, FailedWriteIsReported) {
    window->trm->appendPlainText(QStringLiteral("linia"));
    // A folder cannot be replaced by a file, whoever runs the test.
    const QString existingFolder = folder.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkpath(existingFolder));
    desktop.FileAnswers.push_back(existingFolder);
    desktop.FileAnswers.push_back(folder.filePath(QStringLiteral("missing/historia.txt")));

    Click(window->ButtonZapisz);
    ASSERT_TRUE(WaitFor([&] { return desktop.Log.size() == 1; }));
    Click(window->ButtonZapisz);
    ASSERT_TRUE(WaitFor([&] { return desktop.Log.size() == 2; }));

    EXPECT_EQ(desktop.Log, QStringList({QStringLiteral("Error: Błąd zapisu"),
                                        QStringLiteral("Error: Błąd zapisu")}));
    EXPECT_TRUE(QFileInfo(existingFolder).isDir());
}

TEST_F(OperationsWindow, ClearHistoryReportsOnlyTheRecordersAnswer) {
    Inside(window).EnterLoggedOn();
    window->trm->setPlainText(QStringLiteral("zostaje"));
    Click(window->ButtonKasuj);
    Later([&] {
        EXPECT_EQ(Inside(window).LastRequestFrame, BuildRequestFrame(Cmd::ClearHistory, "x"));
        // Another answer does not end the wait.
        Feed(Cmd::Status, Bytes({21, 5, 0xBC, 0x02, 0x83, 0, 26, 12, 7, 1, 30, 5, 0, 0}));
        // Posted from inside the wait: it runs after the wait has looked again.
        Later([&] {
            EXPECT_TRUE(desktop.Log.isEmpty());
            Feed(Cmd::ClearHistory, {});
        });
    });
    ASSERT_TRUE(WaitFor([&] { return !desktop.Log.isEmpty(); }));
    EXPECT_EQ(desktop.Log,
              QStringList({QStringLiteral("Information: Historia temperatury skasowana")}));
    EXPECT_EQ(window->trm->toPlainText(), QStringLiteral("zostaje"));
}

TEST_F(OperationsWindow, ClockPayloadIsTheLocalTimeOnA24HourClock) {
    Inside(window).EnterLoggedOn();
    const QDateTime times[] = {QDateTime(QDate(2026, 12, 7), QTime(1, 30, 5)),
                               QDateTime(QDate(2031, 2, 28), QTime(23, 5, 0))};
    const QByteArray payloads[] = {Bytes({26, 12, 7, 1, 30, 5}), Bytes({31, 2, 28, 23, 5, 0})};
    for (int i = 0; i < 2; ++i) {
        desktop.FixedNow = times[i];
        Inside(window).LastRequestFrame.clear();
        Click(window->ButtonCzas);
        ASSERT_TRUE(WaitFor([&] { return !Inside(window).LastRequestFrame.isEmpty(); }));
        EXPECT_EQ(Inside(window).LastRequestFrame, BuildRequestFrame(Cmd::SetClock, payloads[i]));
        // Sent, not waited for: the controls are back at once.
        EXPECT_TRUE(window->ButtonCzas->isEnabled());
        EXPECT_TRUE(Inside(window).PollEnabled);
    }
    EXPECT_TRUE(desktop.Log.isEmpty());
    Feed(Cmd::SetClock, {});
    EXPECT_EQ(desktop.Log, QStringList({QStringLiteral("Information: Ustawiono zegar RTC")}));
}

TEST_F(OperationsWindow, PasswordIsMeasuredInItsWindows1250Bytes) {
    Inside(window).EnterLoggedOn();
    const QString longest(MaxRequestPayload, u'ł'); // two bytes each in UTF-8, one on the wire
    const QByteArray before = Inside(window).LastRequestFrame;
    desktop.ModalScripts.push_back([&](QDialog& dialog) {
        auto& passwordDialog = static_cast<TFhaslo_nowe&>(dialog);
        EXPECT_FALSE(Inside(window).PollEnabled);
        passwordDialog.Edit_haslo_nowe->setText(longest + u'ł');
        passwordDialog.Button1->click();
        EXPECT_EQ(desktop.Log, QStringList({QStringLiteral("Error: Hasło jest za długie")}));
        EXPECT_EQ(Inside(window).LastRequestFrame, before);
        EXPECT_TRUE(dialog.isVisible());

        passwordDialog.Edit_haslo_nowe->setText(longest);
        Later([&] {
            EXPECT_EQ(
                Inside(window).LastRequestFrame,
                BuildRequestFrame(Cmd::ChangePassword, QByteArray(MaxRequestPayload, '\xB3')));
            Feed(Cmd::ChangePassword, {});
        });
        passwordDialog.Button1->click();
    });
    Click(window->Button_zmiana_hasla);
    ASSERT_TRUE(WaitFor([&] { return desktop.ModalScripts.empty() && desktop.Log.size() == 2; }));
    EXPECT_EQ(desktop.Log.last(), QStringLiteral("Information: Hasło zmienione"));
    EXPECT_EQ(window->Edit_haslo->text(), longest);
}

// The cost of appending a history line, with the view following the download, for the
// first and the last thousand of a 50,000-record download (a benchmark, not a timed
// assertion; the lines in between are fed with the window hidden, as they need no painting).
TEST_F(OperationsWindow, HistoryBoxTakesFiftyThousandLinesAtAnEvenPace) {
    constexpr int Records = 50000;
    constexpr int Sample = 1000;
    int fed = 0;
    const auto feed = [&](int count) {
        for (const int end = fed + count; fed < end; ++fed)
            Feed(Cmd::HistoryRecord,
                 Bytes({26, 12, 7, fed / 3600 % 24, fed / 60 % 60, fed % 60, 21, 5, 0x83, 0}));
    };
    QScrollBar* bar = window->trm->verticalScrollBar();
    const auto feedShown = [&](int count) {
        window->show();
        QCoreApplication::processEvents();
        bar->setValue(bar->maximum());
        QElapsedTimer clock;
        clock.start();
        feed(count);
        return clock.elapsed();
    };
    const qint64 firstMs = feedShown(Sample);
    window->hide();
    feed(Records - 2 * Sample);
    const qint64 lastMs = feedShown(Sample);

    RecordProperty("first_thousand_ms", static_cast<int>(firstMs));
    RecordProperty("last_thousand_ms", static_cast<int>(lastMs));
    std::printf("history box: lines 1-%d took %lld ms, lines %d-%d took %lld ms\n", Sample,
                static_cast<long long>(firstMs), Records - Sample + 1, Records,
                static_cast<long long>(lastMs));

    EXPECT_EQ(window->trm->blockCount(), Records);
    EXPECT_EQ(window->trm->document()->lastBlock().text(),
              QStringLiteral("data: 07:12:2026   czas: 13:53:19   T1: +21.5  T2: -3.0"));
    EXPECT_EQ(bar->value(), bar->maximum()); // the view stayed on the newest line
}
} // namespace
