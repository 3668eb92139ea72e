#include "PdfText.h"
#include "report/HistoryReport.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

HistoryTemperature Temperature(double degrees) {
    const int tenths = static_cast<int>(std::lround(std::abs(degrees) * 10));
    return {degrees < 0, tenths / 10, tenths % 10};
}

// Readings every `step` seconds from 07.12.2026 01:00:00.
std::vector<HistoryReading> Series(const std::vector<double>& t1, double t2, int step) {
    std::vector<HistoryReading> readings;
    for (size_t i = 0; i < t1.size(); ++i) {
        const int seconds = static_cast<int>(i) * step;
        HistoryReading r;
        r.Year = 2026;
        r.Month = 12;
        r.Day = 7 + seconds / 86400;
        r.Hour = 1 + seconds / 3600 % 24;
        r.Minute = seconds / 60 % 60;
        r.Second = seconds % 60;
        r.T1 = Temperature(t1[i]);
        r.T2 = Temperature(t2);
        readings.push_back(r);
    }
    return readings;
}

THistoryReportInput Input(std::vector<HistoryReading> readings) {
    THistoryReportInput input;
    input.Readings = std::move(readings);
    input.Limits = {4, 10};
    input.Header.TC8Nazwa = QStringLiteral("Chłodnia Łódź — komora 2");
    input.Header.TC8Nazwa2 = QStringLiteral("Magazyn żywności");
    input.Header.TC8Typ = QStringLiteral("TC-8");
    input.Header.TC8name = QStringLiteral("Rejestrator nr.1");
    input.ReportDate = QDateTime(QDate(2026, 12, 8), QTime(9, 15));
    return input;
}

struct TReadBack {
    QString Text;
    int Pages = 0;
};

TReadBack WriteAndRead(const THistoryReportInput& input) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_TRUE(WriteHistoryReportPdf(input, file));
    file.close();
    TReadBack back;
    back.Text = PdfText(path);
    back.Pages = static_cast<int>(back.Text.count(QChar('\f')));
    return back;
}

} // namespace

// Ten readings ten minutes apart; T1 above Max from 01:30 to 01:50, T2 inside all along.
TEST(HistoryReport, SmallSeriesIsOnePageOfSearchableText) {
    THistoryReportInput input =
        Input(Series({5.0, 6.0, 7.0, 11.5, 12.0, 11.0, 8.0, 7.0, 6.0, 5.0}, 6.0, 600));
    input.Port = QStringLiteral("/dev/ttyUSB0");
    input.Firmware = QStringLiteral("TC-8 v2.14");
    input.Downloaded = QDateTime(QDate(2026, 12, 7), QTime(3, 0, 12));
    const TReadBack back = WriteAndRead(input);

    EXPECT_EQ(back.Pages, 1);
    for (const char* expected :
         {"Raport temperatur", "Chłodnia Łódź — komora 2", "Magazyn żywności",
          "TC-8 : Rejestrator nr.1", "od 07.12.2026 01:00:00 do 07.12.2026 02:30:00",
          "Pobrano: 07.12.2026 03:00:12", "Port: /dev/ttyUSB0", "TC-8 v2.14",
          "Min 4,0 °C, Max 10,0 °C",
          // MKT of T1 (1/n Σ exp(-10000/T) worked out by hand) and of the constant T2.
          "Średnia kinetyczna (MKT) 8,3 °C 6,0 °C",
          "T1 powyżej Max 07.12.2026 01:30:00 07.12.2026 01:50:00 30 min 12,0 °C (07.12.2026 "
          "01:40:00)",
          "Strona 1 z 1", "Raport z 08.12.2026 09:15", "Konfigurator TC-8 1.0.0",
          "Imię i nazwisko:", "Podpis:"})
        EXPECT_TRUE(back.Text.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_FALSE(back.Text.contains(QStringLiteral("Brak epizodów")));
}

// 3000 readings with their table: every reading once, over pages numbered "Strona n z N".
TEST(HistoryReport, ReadingsTableRunsOverPagesWithoutLosingRows) {
    std::vector<double> t1;
    for (int i = 0; i < 3000; ++i)
        t1.push_back(7 + 2 * std::sin(i / 50.0));
    THistoryReportInput input = Input(Series(t1, 6.0, 300));
    input.IncludeReadings = true;
    const TReadBack back = WriteAndRead(input);

    ASSERT_GT(back.Pages, 5);
    const QString last = QStringLiteral("Strona %1 z %1").arg(back.Pages);
    EXPECT_TRUE(back.Text.contains(QStringLiteral("Strona 1 z %1").arg(back.Pages)));
    EXPECT_TRUE(back.Text.contains(last));
    EXPECT_TRUE(back.Text.contains(QStringLiteral("Brak epizodów poza zakresem")));
    const QRegularExpression row(
        QStringLiteral(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d -?\d+,\d -?\d+,\d\b)"));
    EXPECT_EQ(back.Text.count(row), 3000);
    // The signature closes the last page.
    const qsizetype lastPage = back.Text.lastIndexOf(QChar('\f'), back.Text.size() - 2);
    EXPECT_GT(back.Text.indexOf(QStringLiteral("Podpis:")), lastPage);
}

// An archived download reports what the archive recorded of it; a header the program had
// but had not read from the recorder is said to be the program's.
TEST(HistoryReport, ArchivedDownloadCarriesItsRecordedHeaderAndSaysWhoseItIs) {
    TDownloadSummary download;
    download.Start.Started = QDateTime(QDate(2026, 12, 7), QTime(2, 0), Qt::UTC);
    download.Start.Port = QStringLiteral("COM3");
    download.Start.Config.TC8Nazwa = QStringLiteral("Ciężarówka WX 1234");
    download.Start.Config.TempMin = 128 + 2;
    download.Start.Config.TempMax = 128 + 8;
    download.Start.ConfigFromRecorder = false;
    const QStringList lines = {
        QStringLiteral("data: 07:12:2026   czas: 01:00:00   T1: +5.0  T2: +9.5")};
    THistoryReportInput input = DownloadReportInput(download.Start, lines);
    input.ReportDate = QDateTime(QDate(2026, 12, 8), QTime(9, 15));
    ASSERT_EQ(input.Readings.size(), 1U);
    const TReadBack back = WriteAndRead(input);
    for (const QString& expected :
         {QStringLiteral("Ciężarówka WX 1234"), QStringLiteral("Port: COM3"),
          QStringLiteral("Min 2,0 °C, Max 8,0 °C"), QStringLiteral("nie odczytane z rejestratora"),
          download.Start.Started.toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"))})
        EXPECT_TRUE(back.Text.contains(expected)) << expected.toStdString();
}
