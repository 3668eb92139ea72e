// The printed report of the most a recorder reports: 32,752 readings a minute apart, each
// sensor leaving the band on both sides every cycle. Figures: the A4 PDF without and with the
// table of every reading, from the parsed readings to the document's bytes in memory (its pages
// and size); and the episodes of both sensors with their mean kinetic temperatures.
#include "BenchClock.h"
#include "BenchMain.h"
#include "MinuteHistory.h"
#include "operations/HistoryExcursions.h"
#include "operations/HistoryReadings.h"
#include "report/HistoryReport.h"

#include <QBuffer>
#include <stdexcept>

namespace {

constexpr int ReportReadings = 32752;
constexpr TemperatureLimits Band{3, 8};
// A few milliseconds of work: the mean of several passes is steadier than one.
constexpr int ExcursionPasses = 20;

// Tenths of a degree going 2.0 -> 10.0 -> 2.0 °C over `period` minutes, as a cold room cycles.
int Swing(int minute, int period) {
    const int half = period / 2;
    const int phase = minute % period;
    const int rise = phase < half ? phase : period - phase;
    return 20 + 80 * rise / half;
}

// The text of `count` history lines a minute apart: T1 cycles every two hours, T2 every three.
QString HistoryText(int count) {
    QStringList lines;
    lines.reserve(count + 1);
    for (int minutes = 0; minutes < count; ++minutes) {
        const int t1 = Swing(minutes, 120);
        const int t2 = Swing(minutes + 90, 180);
        lines << MinuteHistoryLine(minutes, {t1 / 10, t1 % 10, t2 / 10, t2 % 10});
    }
    lines << QStringLiteral("Koniec historii");
    return lines.join(u'\n');
}

// The page objects of a PDF document; the page tree's own "/Type /Pages" does not count.
int PdfPages(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page") - pdf.count("/Type /Pages"));
}

QByteArray ReportPdf(const THistoryReportInput& input, double& ms) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const std::int64_t start = NowNs();
    const bool written = WriteHistoryReportPdf(input, buffer);
    ms = MsSince(start);
    if (!written || buffer.data().isEmpty())
        throw std::runtime_error("the report was not written");
    return buffer.data();
}

} // namespace

int main(int argc, char** argv) {
    return RunBench(argc, argv, [](const BenchOptions& options, BenchOutput& output) {
        THistoryReportInput input;
        input.Readings = ParseHistory(HistoryText(ReportReadings)).Readings;
        if (input.Readings.size() != ReportReadings)
            throw std::runtime_error("not every line was read back");
        input.Limits = Band;
        input.Header.TC8Nazwa = QStringLiteral("Magazyn leków, komora 2");
        input.Header.TC8Typ = QStringLiteral("TC-8");
        input.ReportDate = QDateTime(QDate(2026, 2, 1), QTime(12, 0));

        const HistoryExcursions found = ExcursionsOf(input.Readings, Band);
        output.Figure(QStringLiteral("report.episodes"),
                      static_cast<double>(found.T1.Episodes.size() + found.T2.Episodes.size()));

        for (int run = 0; run < options.Runs; ++run) {
            if (options.Wants(QStringLiteral("report.excursions"))) {
                double sink = 0;
                const std::int64_t start = NowNs();
                for (int pass = 0; pass < ExcursionPasses; ++pass) {
                    const HistoryExcursions episodes = ExcursionsOf(input.Readings, Band);
                    sink += static_cast<double>(episodes.T1.Episodes.size() +
                                                episodes.T2.Episodes.size()) +
                            MeanKineticTemperature(input.Readings, Sensor::T1).value_or(0) +
                            MeanKineticTemperature(input.Readings, Sensor::T2).value_or(0);
                }
                output.Figure(QStringLiteral("report.excursions_ms"),
                              MsSince(start) / ExcursionPasses);
                if (sink <= 0)
                    throw std::runtime_error("no episodes found");
            }

            double ms = 0;
            if (options.Wants(QStringLiteral("report.pdf"))) {
                input.IncludeReadings = false;
                const QByteArray pdf = ReportPdf(input, ms);
                output.Figure(QStringLiteral("report.pdf_ms"), ms);
                output.Figure(QStringLiteral("report.pages"), PdfPages(pdf));
            }
            if (options.Wants(QStringLiteral("report.table"))) {
                input.IncludeReadings = true;
                const QByteArray pdf = ReportPdf(input, ms);
                output.Figure(QStringLiteral("report.table_pdf_ms"), ms);
                output.Figure(QStringLiteral("report.table_pages"), PdfPages(pdf));
                output.Figure(QStringLiteral("report.table_pdf_mb"),
                              static_cast<double>(pdf.size()) / (1024.0 * 1024.0));
            }
        }
    });
}
