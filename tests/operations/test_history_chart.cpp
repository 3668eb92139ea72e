// The history as readings in the main window: the chart window against the band, following
// the history box, the CSV export, saved histories opened again, the context menu.
#include "MainAccess.h"
#include "PdfText.h"
#include "ScriptedDesktop.h"
#include "WaitFor.h"
#include "operations/HistoryCsv.h"
#include "operations/HistoryFile.h"
#include "operations/HistoryReadings.h"
#include "operations/THistoryChart.h"
#include "ui/TEdit.h"
#include "ui/TMain.h"
#include "ui/TSpinButton.h"

#include <QAction>
#include <QApplication>
#include <QDateTimeAxis>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>
#include <ctime>
#include <gtest/gtest.h>

namespace {

QString Line(int minute, const char* t1, const char* t2 = "+7.0") {
    return QStringLiteral("data: 07:12:2026   czas: 01:%1:00   T1: %2  T2: %3")
        .arg(minute, 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(t1), QLatin1String(t2));
}

// Every 10 minutes; against the start-up band +4 .. +10, T1 is above twice and below once.
const QString Download = QStringList{Line(0, "+5.0"),
                                     Line(10, "+11.0"),
                                     Line(20, "+12.5"),
                                     Line(30, "+6.0"),
                                     Line(40, "+3.5"),
                                     Line(50, "+9.0"),
                                     QStringLiteral("Koniec historii")}
                             .join(u'\n');

class HistoryChartWindow : public ::testing::Test {
protected:
    ScriptedDesktop desktop;
    TMain window{desktop};
    QTemporaryDir folder;

    THistoryChart* OpenChart() {
        window.WykresTemperatur1->trigger();
        auto* chart = window.findChild<THistoryChart*>();
        EXPECT_NE(chart, nullptr);
        EXPECT_TRUE(chart != nullptr && chart->isVisible());
        return chart;
    }

    static QString Cell(THistoryChart* chart, int row, int column) {
        const QTableWidgetItem* item = chart->Figures->item(row, column);
        return item != nullptr ? item->text() : QString();
    }

    QString PathOf(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
};

TEST_F(HistoryChartWindow, ShowsBothSensorsAgainstTheBandWithTheFigures) {
    window.trm->setPlainText(Download);
    THistoryChart* chart = OpenChart();
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->Pages->currentWidget(), chart->ChartView->parentWidget());
    EXPECT_EQ(chart->T1Series->count(), 6);
    EXPECT_EQ(chart->T2Series->count(), 6);
    EXPECT_EQ(chart->T1Series->at(2).y(), 12.5);
    EXPECT_EQ(chart->MinLine->at(0).y(), 4);
    EXPECT_EQ(chart->MaxLine->at(1).y(), 10);
    EXPECT_EQ(chart->T1OutsideMarks->count(), 3); // each sensor's marks in its own series
    EXPECT_EQ(chart->T2OutsideMarks->count(), 0);
    EXPECT_EQ(Cell(chart, 0, 0), QStringLiteral("6"));
    EXPECT_EQ(Cell(chart, 1, 0), QStringLiteral("07.12.2026 01:00:00"));
    EXPECT_EQ(Cell(chart, 3, 0), QStringLiteral("3,5 °C (07.12.2026 01:40:00)"));
    EXPECT_EQ(Cell(chart, 4, 0), QStringLiteral("12,5 °C (07.12.2026 01:20:00)"));
    EXPECT_EQ(Cell(chart, 5, 0), QStringLiteral("7,8 °C"));
    EXPECT_EQ(Cell(chart, 6, 0), QStringLiteral("8,5 °C")); // MKT weighs the warm readings more
    EXPECT_EQ(Cell(chart, 6, 1), QStringLiteral("7,0 °C"));
    EXPECT_EQ(Cell(chart, 7, 0), QStringLiteral("20 min (2 odcz.)"));
    EXPECT_EQ(Cell(chart, 8, 0), QStringLiteral("10 min (1 odcz.)"));
    EXPECT_EQ(Cell(chart, 7, 1), QStringLiteral("0 min (0 odcz.)"));
    EXPECT_EQ(chart->Notes->text(), QStringLiteral("Odstęp zapisu: 10 min; pominięte linie: 1"));

    // The episodes: T1 above from 01:10 to 01:20, below at 01:40; each shaded on the chart.
    ASSERT_EQ(chart->Episodes->rowCount(), 2);
    EXPECT_EQ(chart->Episodes->item(0, 1)->text(), QStringLiteral("powyżej Max"));
    EXPECT_EQ(chart->Episodes->item(0, 2)->text(), QStringLiteral("07.12.2026 01:10:00"));
    EXPECT_EQ(chart->Episodes->item(0, 4)->text(), QStringLiteral("20 min"));
    EXPECT_EQ(chart->Episodes->item(0, 5)->text(), QStringLiteral("12,5 °C (07.12.2026 01:20:00)"));
    EXPECT_EQ(chart->Episodes->item(1, 1)->text(), QStringLiteral("poniżej Min"));
    EXPECT_EQ(chart->ChartView->Spans().size(), 2);
    chart->Delay->setValue(15); // the ten minutes below no longer count
    ASSERT_EQ(chart->Episodes->rowCount(), 1);
    EXPECT_EQ(chart->ChartView->Spans().size(), 1);
    // A click on a row shows the episode.
    emit chart->Episodes->cellClicked(0, 0);
    EXPECT_LE(chart->TimeAxis->min().time(), QTime(1, 10));
    EXPECT_GE(chart->TimeAxis->max().time(), QTime(1, 30));
    EXPECT_GT(chart->TimeAxis->min().time(), QTime(1, 0));
}

// The axis shows the desktop's local time; across a change to summer time each reading
// still stands at its recorded clock time.
TEST_F(HistoryChartWindow, ReadingsStandAtTheirClockTimesAcrossAChangeOfTheDesktopsTime) {
    const QByteArray zone = qgetenv("TZ");
    const bool hadZone = qEnvironmentVariableIsSet("TZ");
    const auto restoreZone = qScopeGuard([&] {
        if (hadZone)
            qputenv("TZ", zone);
        else
            qunsetenv("TZ");
        tzset();
    });
    qputenv("TZ", "Europe/Warsaw");
    tzset();
    window.trm->setPlainText(
        QStringLiteral("data: 29:03:2026   czas: 01:30:00   T1: +5.0  T2: +5.0\n"
                       "data: 29:03:2026   czas: 03:30:00   T1: +5.0  T2: +5.0"));
    THistoryChart* chart = OpenChart();
    ASSERT_NE(chart, nullptr);
    const auto shownTime = [chart](int index) {
        return QDateTime::fromMSecsSinceEpoch(qint64(chart->T1Series->at(index).x())).time();
    };
    EXPECT_EQ(shownTime(0), QTime(1, 30));
    EXPECT_EQ(shownTime(1), QTime(3, 30));
}

TEST_F(HistoryChartWindow, SaysSoWhenThereIsNothingToDraw) {
    THistoryChart* chart = OpenChart();
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->Pages->currentWidget(), chart->Message);
    EXPECT_TRUE(chart->Message->text().startsWith(QStringLiteral("Historia jest pusta")));
    window.trm->setPlainText(QStringLiteral("notatka\nKoniec historii"));
    EXPECT_TRUE(WaitFor([chart] {
        return chart->Message->text().startsWith(QStringLiteral("Żadna z linii historii (2)"));
    }));
}

TEST_F(HistoryChartWindow, FollowsTheHistoryBoxAndTheBandOfTheEditor) {
    window.trm->setPlainText(Download);
    THistoryChart* chart = OpenChart();
    ASSERT_NE(chart, nullptr);
    window.trm->appendPlainText(Line(59, "+20.0"));
    EXPECT_TRUE(WaitFor([chart] { return chart->T1Series->count() == 7; }));
    window.SpinButton2->UpButton()->click();
    EXPECT_TRUE(WaitFor([chart] { return chart->MaxLine->at(0).y() == 11; }));
}

TEST_F(HistoryChartWindow, ZoomsAroundThePointerAndShowsTheValueUnderIt) {
    window.trm->setPlainText(Download);
    THistoryChart* chart = OpenChart();
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chart));
    const double fullSpan = chart->TemperatureAxis->max() - chart->TemperatureAxis->min();
    const QPoint middle = chart->ChartView->chart()->plotArea().center().toPoint();
    QWheelEvent wheel(middle, chart->ChartView->mapToGlobal(middle), {}, {0, 120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart->ChartView->viewport(), &wheel);
    EXPECT_LT(chart->TemperatureAxis->max() - chart->TemperatureAxis->min(), fullSpan * 0.9);
    chart->ButtonReset->click();
    EXPECT_DOUBLE_EQ(chart->TemperatureAxis->max() - chart->TemperatureAxis->min(), fullSpan);
    QTest::mouseMove(chart->ChartView->viewport(), middle);
    EXPECT_TRUE(WaitFor([chart] { return chart->PointerValue->text().contains(u"°C"); }));
}

TEST_F(HistoryChartWindow, SavesTheChartAsAPicture) {
    window.trm->setPlainText(Download);
    THistoryChart* chart = OpenChart();
    ASSERT_NE(chart, nullptr);
    desktop.FileAnswers.push_back(PathOf("wykres.png"));
    chart->ButtonSaveImage->click();
    QFile picture(PathOf("wykres.png"));
    ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
    EXPECT_TRUE(picture.readAll().startsWith("\x89PNG"));
    EXPECT_EQ(desktop.Log, QStringList{QStringLiteral("Information: Zapisano obraz wykresu")});
}

TEST_F(HistoryChartWindow, ExportsTheReadingsAsCsvWholeOrNothing) {
    desktop.FileAnswers.push_back(PathOf("pusta.csv"));
    window.EksportCsv1->trigger();
    EXPECT_EQ(desktop.FileDialogsShown.size(), 0u);

    window.trm->setPlainText(Download);
    desktop.FileAnswers = {PathOf("historia.csv"), PathOf("brak/historia.csv")};
    window.EksportCsv1->trigger();
    window.EksportCsv1->trigger();
    QFile csv(PathOf("historia.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), HistoryCsvBytes(ParseHistory(Download).Readings));
    EXPECT_EQ(desktop.Log,
              QStringList({QStringLiteral("Error: Brak odczytów temperatury do eksportu"),
                           QStringLiteral("Information: Zapisano plik CSV"),
                           QStringLiteral("Error: Błąd zapisu")}));
}

// The report of the box with the editor's header and band and the open chart's delay, as a
// PDF file and printed (through Qt's PDF printer, as no printer is here); read back as text.
TEST_F(HistoryChartWindow, WritesAndPrintsTheReportOfTheBox) {
    window.trm->setPlainText(Download);
    window.TC8Nazwa->setText(QStringLiteral("Chłodnia Łódź"));
    OpenChart()->Delay->setValue(15); // the ten minutes below no longer count
    desktop.FileAnswers.push_back(PathOf("raport.pdf"));
    window.RaportPdf1->trigger();
    desktop.PrintAnswers = {std::nullopt, PathOf("wydruk.pdf")};
    window.DrukujRaport1->trigger(); // cancelled
    window.TabelaOdczytow1->setChecked(true);
    OpenChart()->ButtonPrintReport->click();
    ASSERT_EQ(desktop.Log,
              (QStringList{QStringLiteral("Information: Zapisano raport PDF"),
                           QStringLiteral("Print dialog"), QStringLiteral("Print dialog")}));
    for (const char* file : {"raport.pdf", "wydruk.pdf"}) {
        SCOPED_TRACE(file);
        const QString shown = PdfText(PathOf(file));
        EXPECT_TRUE(shown.contains(QStringLiteral("Chłodnia Łódź"))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("15 min")));
        EXPECT_TRUE(shown.contains(QStringLiteral("07.12.2026 01:10:00")));
        // The ten minutes from 01:40 are no episode; the printed copy lists every reading.
        const bool withReadings = file[0] == 'w';
        EXPECT_EQ(shown.contains(QStringLiteral("07.12.2026 01:40:00 ")), withReadings);
        EXPECT_EQ(shown.contains(QStringLiteral("Wszystkie odczyty")), withReadings);
    }
}

TEST_F(HistoryChartWindow, OpensASavedHistoryAndRefusesOtherFiles) {
    const auto write = [this](const char* name, const QByteArray& bytes) {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write("historia.txt", HistoryFileBytes(Download, HistoryTextEnd::LineOfDownload));
    write("obcy.txt", "notatka\r\n");
    write("duzy.txt", QByteArray(HistoryFileLimit + 1, 'x'));
    window.trm->setPlainText(QStringLiteral("poprzednia"));
    desktop.FileAnswers = {PathOf("obcy.txt"), PathOf("duzy.txt"), PathOf("historia.txt")};
    for (int i = 0; i < 3; ++i)
        window.OtworzHistorie1->trigger();
    EXPECT_EQ(
        desktop.Log,
        QStringList({QStringLiteral("Error: To nie jest plik historii TC-8: żadna linia nie "
                                    "jest odczytem temperatury"),
                     QStringLiteral("Error: Plik jest za duży na plik historii (ponad 10 MB)"),
                     QStringLiteral("Information: Odczytano plik historii")}));
    EXPECT_EQ(window.trm->toPlainText(), Download);
    // The history buttons are as they were: logged off, only saving is possible.
    EXPECT_FALSE(window.ButtonPobierz->isEnabled());
    EXPECT_TRUE(window.ButtonZapisz->isEnabled());
}

TEST_F(HistoryChartWindow, ASavedHistoryIsNotOpenedWhileADownloadRuns) {
    Inside(window).LoggedOn = true;
    Inside(window).HistoryStreaming = true;
    window.trm->setPlainText(Download);
    window.OtworzHistorie1->trigger();
    EXPECT_EQ(desktop.Log,
              QStringList{QStringLiteral("Error: Najpierw zakończ pobieranie historii (STOP)")});
    EXPECT_TRUE(desktop.FileDialogsShown.empty());
    EXPECT_EQ(window.trm->toPlainText(), Download);
}

TEST_F(HistoryChartWindow, TheHistoryBoxOffersTheItemsInItsContextMenu) {
    emit window.trm->customContextMenuRequested(QPoint(5, 5));
    QMenu* menu = nullptr;
    ASSERT_TRUE(WaitFor([&menu] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("HistoryContextMenu") && widget->isVisible())
                menu = qobject_cast<QMenu*>(widget);
        return menu != nullptr;
    }));
    const QList<QAction*> items = menu->actions();
    EXPECT_TRUE(items.contains(window.WykresTemperatur1));
    EXPECT_TRUE(items.contains(window.EksportCsv1));
    EXPECT_TRUE(items.contains(window.RaportPdf1));
    EXPECT_TRUE(items.contains(window.DrukujRaport1));
    EXPECT_TRUE(items.contains(window.OtworzHistorie1));
    EXPECT_TRUE(items.contains(window.ArchiwumPobran1));
    menu->close();
}

} // namespace
