// The history text box: history records handed to the window one frame per delivery, as a
// line at 4800 bit/s brings them (each record: its frame's assembly, the dispatcher's event
// pump, rendering of the line, appending it to the text box, the gauge), up to 100,000 lines.
// Figures: the time to append the first 1,000, 10,000 and 100,000 lines and the cost per line of
// each, and the cost per line of the last 1,000 lines before each mark, which stays flat when
// appending does not depend on what the box holds already. The same again with the window hidden
// tells how much of the cost is painting.
#include "BenchClock.h"
#include "BenchDesktop.h"
#include "BenchMain.h"
#include "MainAccess.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "ui/TMain.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTextStream>
#include <algorithm>
#include <array>
#include <stdexcept>

namespace {

constexpr int Slice = 1000;
constexpr std::array Marks{1000, 10000, 100000};

// A record of the 10-byte history layout; consecutive records are a minute apart.
QByteArray Record(int index) {
    QByteArray record;
    record.append(static_cast<char>(26));                       // year
    record.append(static_cast<char>(1 + (index / 40320) % 12)); // month
    record.append(static_cast<char>(1 + (index / 1440) % 28));  // day
    record.append(static_cast<char>((index / 60) % 24));        // hour
    record.append(static_cast<char>(index % 60));               // minute
    record.append(static_cast<char>(0));                        // second
    record.append(static_cast<char>(20 + index % 5));           // T1 +20.x to +24.x
    record.append(static_cast<char>(index % 10));
    record.append(static_cast<char>(0x80 | (index % 3))); // T2 -0.x to -2.x
    record.append(static_cast<char>((index * 3) % 10));
    return record;
}

// Appends `lines` records and returns the microseconds per line of each slice of 1,000.
std::vector<double> AppendLines(int lines, bool shown, const QString& prefix, BenchOutput& output) {
    BenchDesktop desktop;
    TMain window(desktop);
    if (shown) {
        window.show();
        QCoreApplication::processEvents();
    }
    std::vector<double> slices;
    const std::int64_t startNs = NowNs();
    std::int64_t sliceStartNs = startNs;
    for (int line = 1; line <= lines; ++line) {
        Inside(window).ExtractFrame(BuildResponseFrame(Cmd::HistoryRecord, Record(line)));
        if (line % Slice != 0)
            continue;
        const std::int64_t now = NowNs();
        slices.push_back(static_cast<double>(now - sliceStartNs) / 1e3 / Slice);
        sliceStartNs = now;
        if (std::find(Marks.begin(), Marks.end(), line) == Marks.end())
            continue;
        const double totalMs = static_cast<double>(now - startNs) / 1e6;
        const QString key = prefix + QString::number(line);
        output.Figure(key + QStringLiteral(".total_ms"), totalMs);
        output.Figure(key + QStringLiteral(".us_per_line"), totalMs * 1e3 / line);
        output.Figure(key + QStringLiteral(".last_slice_us_per_line"), slices.back());
    }
    if (window.trm->blockCount() != lines)
        throw std::runtime_error("the text box does not hold every line");
    return slices;
}

double MedianOfRuns(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    return RunBench(argc, argv, [](const BenchOptions& options, BenchOutput& output) {
        const int lines = Marks.back(); // also when quick: the figure needs every mark
        // Microseconds per line of each slice, by run: shown, then hidden.
        std::vector<std::vector<double>> shownSlices(lines / Slice);
        std::vector<std::vector<double>> hiddenSlices(lines / Slice);
        for (int run = 0; run < options.Runs; ++run) {
            const auto shown = AppendLines(lines, true, QStringLiteral("textbox."), output);
            const auto hidden =
                AppendLines(lines, false, QStringLiteral("textbox.hidden."), output);
            for (std::size_t slice = 0; slice < shown.size(); ++slice) {
                shownSlices[slice].push_back(shown[slice]);
                hiddenSlices[slice].push_back(hidden[slice]);
            }
        }
        const auto file = output.DataFile(QStringLiteral("text_box.dat"));
        QTextStream data(file.get());
        data << "# lines_in_box shown_us_per_line hidden_us_per_line "
                "(slices of 1000 lines, median of the runs)\n";
        for (std::size_t slice = 0; slice < shownSlices.size(); ++slice)
            data << (slice + 1) * Slice << ' ' << MedianOfRuns(shownSlices[slice]) << ' '
                 << MedianOfRuns(hiddenSlices[slice]) << '\n';
    });
}
