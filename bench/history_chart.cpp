// The history as readings, at the most a recorder reports: 32,752 readings in the history box
// of the real window. Figures: reading them back from the text alone; the whole way from
// "Historia" -> "Wykres temperatur…" to the chart window drawn (the box's text, parsing, the
// series, the figures, showing the window and drawing it once); and "Eksport do CSV…" of
// 100,000 lines, from the box's text to the file written.
#include "BenchClock.h"
#include "BenchDesktop.h"
#include "BenchMain.h"
#include "MinuteHistory.h"
#include "operations/HistoryReadings.h"
#include "operations/THistoryChart.h"
#include "ui/TMain.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QWindow>
#include <stdexcept>

namespace {

constexpr int ChartReadings = 32752;
constexpr int CsvLines = 100000;

// The text of `count` history lines a minute apart, temperatures wandering across a band.
QString HistoryText(int count) {
    QStringList lines;
    lines.reserve(count + 1);
    for (int i = 0; i < count; ++i)
        lines << MinuteHistoryLine(i, {2 + i % 9, i % 10, 0x80 | (i % 4), (i * 7) % 10});
    lines << QStringLiteral("Koniec historii");
    return lines.join(u'\n');
}

} // namespace

int main(int argc, char** argv) {
    return RunBench(argc, argv, [](const BenchOptions& options, BenchOutput& output) {
        const QString chartText = HistoryText(ChartReadings);
        const QString csvText = HistoryText(CsvLines);
        QTemporaryDir folder;
        for (int run = 0; run < options.Runs; ++run) {
            std::int64_t start = NowNs();
            const ParsedHistory parsed = ParseHistory(chartText);
            output.Figure(QStringLiteral("chart.parse_ms"), MsSince(start));
            if (parsed.Readings.size() != ChartReadings)
                throw std::runtime_error("not every line was read back");

            BenchDesktop desktop;
            TMain window(desktop);
            window.show();
            window.trm->setPlainText(chartText);
            QCoreApplication::processEvents();
            start = NowNs();
            window.WykresTemperatur1->trigger();
            auto* chart = window.findChild<THistoryChart*>();
            while (chart->windowHandle() == nullptr || !chart->windowHandle()->isExposed())
                QCoreApplication::processEvents();
            // One whole drawing of the chart view, as its first paint does.
            const QPixmap drawn = chart->ChartView->grab();
            output.Figure(QStringLiteral("chart.open_ms"), MsSince(start));
            if (drawn.isNull())
                throw std::runtime_error("the chart was not drawn");
            chart->close();

            window.trm->setPlainText(csvText);
            const QString path = folder.filePath(QStringLiteral("historia%1.csv").arg(run));
            desktop.FileAnswers.push_back(path);
            start = NowNs();
            window.EksportCsv1->trigger();
            output.Figure(QStringLiteral("csv.export_ms"), MsSince(start));
            if (QFileInfo(path).size() < CsvLines * 20)
                throw std::runtime_error("the CSV file was not written whole");
        }
    });
}
