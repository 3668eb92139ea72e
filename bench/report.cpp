// Writes docs/PERFORMANCE.md: the template's prose with its placeholders filled from the
// measured results.
//   bench_report RESULTS TEMPLATE MACHINE OUTPUT
// RESULTS holds lines "<key> <TAB> <value>" (one per figure and run, as the benchmark programs
// print them); MACHINE holds lines "<name> <TAB> <text>". Placeholders in the template:
//   {{table:figures}} {{table:receive}} {{table:textbox}}   the tables below
//   {{median:KEY:DECIMALS}}                                 the median of a figure's runs
//   {{min:KEY:DECIMALS}} {{max:KEY:DECIMALS}}               its smallest and largest run
//   {{machine:NAME}}                                        a line of MACHINE
// Every number in the output comes from RESULTS; a figure that is missing stops the report.
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

class Results {
public:
    explicit Results(const QString& path) {
        for (const QString& line : ReadLines(path)) {
            const QStringList fields = line.split(u'\t');
            if (fields.size() != 2)
                continue;
            bool ok = false;
            const double value = fields[1].toDouble(&ok);
            if (ok)
                values_[fields[0]].push_back(value);
        }
    }

    const std::vector<double>& Runs(const QString& key) const {
        const auto it = values_.find(key);
        if (it == values_.end() || it->empty())
            throw std::runtime_error("no result for " + key.toStdString());
        return *it;
    }
    double Median(const QString& key) const {
        std::vector<double> runs = Runs(key);
        std::sort(runs.begin(), runs.end());
        const std::size_t middle = runs.size() / 2;
        return runs.size() % 2 == 1 ? runs[middle] : (runs[middle - 1] + runs[middle]) / 2;
    }
    double Min(const QString& key) const {
        const auto& runs = Runs(key);
        return *std::min_element(runs.begin(), runs.end());
    }
    double Max(const QString& key) const {
        const auto& runs = Runs(key);
        return *std::max_element(runs.begin(), runs.end());
    }
    int Count(const QString& key) const { return static_cast<int>(Runs(key).size()); }

    static QStringList ReadLines(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            throw std::runtime_error("cannot read " + path.toStdString());
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    QMap<QString, std::vector<double>> values_;
};

QString Number(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    // Thousands separated by a thin space, as in 20 000.
    const qsizetype point = text.indexOf(u'.');
    qsizetype position = (point < 0 ? text.size() : point) - 3;
    const qsizetype firstDigit = text.startsWith(u'-') ? 1 : 0;
    while (position > firstDigit) {
        text.insert(position, QChar(0x202F));
        position -= 3;
    }
    return text;
}

// "median (min–max, n runs)" of a figure.
QString Measured(const Results& results, const QString& key, int decimals, const QString& unit) {
    const QString suffix =
        unit.isEmpty() || unit.startsWith(u'/') ? unit : QStringLiteral(" ") + unit;
    if (results.Count(key) == 1)
        return Number(results.Median(key), decimals) + suffix + QStringLiteral(" (1 run)");
    return QStringLiteral("**%1%2** (%3–%4, %5 runs)")
        .arg(Number(results.Median(key), decimals), suffix, Number(results.Min(key), decimals),
             Number(results.Max(key), decimals), QString::number(results.Count(key)));
}

QString Verdict(bool met) {
    return met ? QStringLiteral("met") : QStringLiteral("**missed**");
}

struct Row {
    QString Figure;
    QString Target;
    QString MeasuredText;
    QString Peer;
    QString Ratio;
    QString VerdictText;
};

QString Table(const QStringList& header, const std::vector<QStringList>& rows) {
    QString text =
        QStringLiteral("| ") + header.join(QStringLiteral(" | ")) + QStringLiteral(" |\n|");
    for (qsizetype i = 0; i < header.size(); ++i)
        text += QStringLiteral("---|");
    text += u'\n';
    for (const QStringList& row : rows)
        text += QStringLiteral("| ") + row.join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
    return text;
}

QString FiguresTable(const Results& r) {
    std::vector<QStringList> rows;
    auto add = [&](const Row& row) {
        rows.push_back(
            {row.Figure, row.Target, row.MeasuredText, row.Peer, row.Ratio, row.VerdictText});
    };
    auto ratio = [](double value, int decimals = 2) { return Number(value, decimals); };

    // A figure with a limit and no peer: met when its median stays below the limit.
    auto addBelow = [&](const QString& label, const QString& target, const QString& key,
                        int decimals, const QString& unit, double limit) {
        add({label, target, Measured(r, key, decimals, unit), QStringLiteral("—"),
             QStringLiteral("—"), Verdict(r.Median(key) < limit)});
    };

    addBelow(QStringLiteral("Idle CPU, logged on and polling (60 s)"), QStringLiteral("< 0.3 %"),
             QStringLiteral("idle.polling.cpu_percent"), 3, QStringLiteral("%"), 0.3);
    addBelow(QStringLiteral("Idle CPU, unanswered wait (30 s)"), QStringLiteral("< 0.5 %"),
             QStringLiteral("idle.unanswered.cpu_percent"), 3, QStringLiteral("%"), 0.5);

    // The receive path against QSerialPort on the same pseudo-terminal, in the same run:
    // a ratio limit per figure (none for the 99th percentile, which is only reported).
    struct Receive {
        QString Label;
        QString Suffix;
        int Decimals;
        QString Unit;
        double Limit; // 0: no limit
    };
    for (const Receive& figure :
         {Receive{QStringLiteral("Receive latency, median"), QStringLiteral("median_us"), 0,
                  QStringLiteral("µs"), 1.0},
          Receive{QStringLiteral("Receive latency, 99th percentile"), QStringLiteral("p99_us"), 0,
                  QStringLiteral("µs"), 0},
          Receive{QStringLiteral("Receive CPU per frame"), QStringLiteral("cpu_us_per_frame"), 1,
                  QStringLiteral("µs"), 0.9}}) {
        const QString ours = QStringLiteral("receive.window.") + figure.Suffix;
        const QString peer = QStringLiteral("receive.qserialport.") + figure.Suffix;
        const double value = r.Median(ours) / r.Median(peer);
        const bool limited = figure.Limit > 0;
        add({figure.Label + QStringLiteral(" (window, to `DispatchResponse`)"),
             limited ? QStringLiteral("≤ %1 × QSerialPort").arg(Number(figure.Limit, 2))
                     : QStringLiteral("reported"),
             Measured(r, ours, figure.Decimals, figure.Unit),
             QStringLiteral("QSerialPort ") + Number(r.Median(peer), figure.Decimals) +
                 QStringLiteral(" ") + figure.Unit,
             ratio(value), limited ? Verdict(value <= figure.Limit) : QStringLiteral("—")});
    }
    const QString switches = QStringLiteral("receive.window.switches_per_frame");
    add({QStringLiteral("Receive: context switches per frame (window)"), QStringLiteral("≤ 1.3"),
         Measured(r, switches, 2, QString()),
         QStringLiteral("QSerialPort ") +
             Number(r.Median(QStringLiteral("receive.qserialport.switches_per_frame")), 2),
         QStringLiteral("—"), Verdict(r.Median(switches) <= 1.3)});
    double receiveLost = 0;
    for (const QString& receiver :
         {QStringLiteral("window"), QStringLiteral("trscomm"), QStringLiteral("qserialport")})
        receiveLost += r.Max(QStringLiteral("receive.%1.lost").arg(receiver));
    add({QStringLiteral("Receive: frames lost (every receiver, worst run)"), QStringLiteral("0"),
         Number(receiveLost, 0), QStringLiteral("—"), QStringLiteral("—"),
         Verdict(receiveLost == 0)});

    const double paced = r.Median(QStringLiteral("history.paced.ratio"));
    add({QStringLiteral(
             "History download, 2,047 records at 4800 bit/s, archive on: wall / wire time"),
         QStringLiteral("≤ 1.02"),
         Measured(r, QStringLiteral("history.paced.wall_s"), 2, QStringLiteral("s")),
         QStringLiteral("wire time ") +
             Number(r.Median(QStringLiteral("history.paced.wire_s")), 2) + QStringLiteral(" s"),
         ratio(paced, 4), Verdict(paced <= 1.02)});
    const double pacedLost = r.Max(QStringLiteral("history.paced.lost"));
    add({QStringLiteral("History download at 4800 bit/s: records lost (worst run)"),
         QStringLiteral("0"), Number(pacedLost, 0), QStringLiteral("—"), QStringLiteral("—"),
         Verdict(pacedLost == 0)});
    const double rate = r.Median(QStringLiteral("history.unpaced.records_per_s"));
    const double lineRate = 4800.0 / 10.0 / 14.0;
    add({QStringLiteral("History download, unpaced, archive on: records per second"),
         QStringLiteral("≥ 50 000/s"),
         Measured(r, QStringLiteral("history.unpaced.records_per_s"), 0, QStringLiteral("/s")),
         QStringLiteral("4800 bit/s line: ") + Number(lineRate, 1) + QStringLiteral("/s"),
         ratio(rate / lineRate) + QStringLiteral(" × the line"), Verdict(rate >= 50000)});
    const double unpacedLost = std::max(r.Max(QStringLiteral("history.unpaced.lost")),
                                        r.Max(QStringLiteral("history.unpaced_no_archive.lost")));
    add({QStringLiteral("History download, unpaced: records lost (worst run, archive on and off)"),
         QStringLiteral("0"), Number(unpacedLost, 0), QStringLiteral("—"), QStringLiteral("—"),
         Verdict(unpacedLost == 0)});
    const double unarchived = std::max(r.Max(QStringLiteral("history.paced.unarchived")),
                                       r.Max(QStringLiteral("history.unpaced.unarchived")));
    add({QStringLiteral("History download, paced and unpaced: records missing from the archive "
                        "or out of order (worst run)"),
         QStringLiteral("0"), Number(unarchived, 0), QStringLiteral("—"), QStringLiteral("—"),
         Verdict(unarchived == 0)});
    // The archive's cost: the same unpaced download with the archive off, in its own session.
    const QString cpuOn = QStringLiteral("history.unpaced.ui_cpu_us_per_record");
    const QString cpuOff = QStringLiteral("history.unpaced_no_archive.ui_cpu_us_per_record");
    const double cost = r.Median(cpuOn) - r.Median(cpuOff);
    add({QStringLiteral("History download, unpaced: user-interface CPU per record, archive on "
                        "(archive off)"),
         QStringLiteral("reported"), Measured(r, cpuOn, 2, QStringLiteral("µs")),
         QStringLiteral("archive off ") + Number(r.Median(cpuOff), 2) + QStringLiteral(" µs, ") +
             Number(r.Median(QStringLiteral("history.unpaced_no_archive.records_per_s")), 0) +
             QStringLiteral("/s"),
         (cost >= 0 ? QStringLiteral("+") : QString()) + Number(cost, 2) +
             QStringLiteral(" µs (×") + ratio(r.Median(cpuOn) / r.Median(cpuOff)) +
             QStringLiteral(")"),
         QStringLiteral("—")});

    // The line monitor open: every frame traced and shown while the history comes.
    const double monitorPaced = r.Median(QStringLiteral("history.paced_monitor.ratio"));
    add({QStringLiteral("History download at 4800 bit/s with the line monitor open: wall / wire "
                        "time"),
         QStringLiteral("≤ 1.02"), ratio(monitorPaced, 4),
         QStringLiteral("monitor closed ") + ratio(paced, 4), QStringLiteral("—"),
         Verdict(monitorPaced <= 1.02)});
    const double monitorRate = r.Median(QStringLiteral("history.unpaced_monitor.records_per_s"));
    const double monitorLost = std::max(r.Max(QStringLiteral("history.paced_monitor.lost")),
                                        r.Max(QStringLiteral("history.unpaced_monitor.lost")));
    add({QStringLiteral("History download, unpaced, with the line monitor open: records per "
                        "second (records lost)"),
         QStringLiteral("≥ 50 000/s"),
         Measured(r, QStringLiteral("history.unpaced_monitor.records_per_s"), 0,
                  QStringLiteral("/s")),
         QStringLiteral("monitor closed ") + Number(rate, 0) + QStringLiteral("/s; lost ") +
             Number(monitorLost, 0),
         ratio(monitorRate / rate) + QStringLiteral(" × closed"),
         Verdict(monitorRate >= 50000 && monitorLost == 0)});

    const double firmware = r.Median(QStringLiteral("firmware.ratio"));
    add({QStringLiteral("Firmware update, 16,380 bytes: wall / (wire time + fixed sleeps)"),
         QStringLiteral("≤ 1.03"),
         Measured(r, QStringLiteral("firmware.wall_s"), 2, QStringLiteral("s")),
         QStringLiteral("ideal ") + Number(r.Median(QStringLiteral("firmware.ideal_s")), 2) +
             QStringLiteral(" s"),
         ratio(firmware, 4), Verdict(firmware <= 1.03)});

    // The first 1,000 lines also pay for the window's first paint and the font caches, so
    // flatness is judged on the lines before 10,000 and before 100,000.
    const QString at10k = QStringLiteral("textbox.10000.last_slice_us_per_line");
    const QString at100k = QStringLiteral("textbox.100000.last_slice_us_per_line");
    const double flat = r.Median(at100k) / r.Median(at10k);
    add({QStringLiteral("History text box: µs per line, lines 99,001–100,000 / 9,001–10,000"),
         QStringLiteral("flat (≤ 1.5)"),
         Number(r.Median(at100k), 0) + QStringLiteral(" µs / ") + Number(r.Median(at10k), 0) +
             QStringLiteral(" µs"),
         QStringLiteral("—"), ratio(flat), Verdict(flat <= 1.5)});

    addBelow(QStringLiteral("History chart, 32,752 readings: from the menu to the window drawn"),
             QStringLiteral("< 300 ms"), QStringLiteral("chart.open_ms"), 0, QStringLiteral("ms"),
             300);
    addBelow(QStringLiteral("History CSV export, 100,000 lines: from the menu to the file"),
             QStringLiteral("< 1 s"), QStringLiteral("csv.export_ms"), 0, QStringLiteral("ms"),
             1000);
    addBelow(QStringLiteral("History report PDF, 32,752 readings, without the readings table"),
             QStringLiteral("< 1 s"), QStringLiteral("report.pdf_ms"), 0, QStringLiteral("ms"),
             1000);
    addBelow(QStringLiteral("History report PDF, 32,752 readings, with the readings table"),
             QStringLiteral("< 10 s"), QStringLiteral("report.table_pdf_ms"), 0,
             QStringLiteral("ms"), 10000);
    addBelow(QStringLiteral("Episodes outside the band and MKT, both sensors, 32,752 readings"),
             QStringLiteral("< 20 ms"), QStringLiteral("report.excursions_ms"), 2,
             QStringLiteral("ms"), 20);

    addBelow(QStringLiteral("Company archive: push of 100 downloads of 2,047 records to an empty "
                            "archive"),
             QStringLiteral("< 10 s"), QStringLiteral("company.push_s"), 2, QStringLiteral("s"),
             10);
    addBelow(QStringLiteral("Company archive: a recorder's year a reading a minute, listed and "
                            "merged into one series"),
             QStringLiteral("< 1 s"), QStringLiteral("company.year_read_ms"), 0,
             QStringLiteral("ms"), 1000);

    addBelow(QStringLiteral("Start-up to the main window shown (offscreen)"),
             QStringLiteral("< 300 ms"), QStringLiteral("startup.shown_ms"), 0,
             QStringLiteral("ms"), 300);
    addBelow(QStringLiteral("Start-up peak memory (resident)"), QStringLiteral("< 80 MB"),
             QStringLiteral("startup.peak_mb"), 1, QStringLiteral("MiB"), 80);

    return Table({QStringLiteral("Figure"), QStringLiteral("Target"),
                  QStringLiteral("Measured: median (min–max, runs)"),
                  QStringLiteral("Peer or limit"), QStringLiteral("Ratio"),
                  QStringLiteral("Verdict")},
                 rows);
}

QString ReceiveTable(const Results& r) {
    std::vector<QStringList> rows;
    const std::vector<std::pair<QString, QString>> receivers{
        {QStringLiteral("window"),
         QStringLiteral("Main window: TRsComm → `RsCommRxChar` → `DispatchResponse`")},
        {QStringLiteral("trscomm"), QStringLiteral("TRsComm alone: `OnRxChar` → `ReadText`")},
        {QStringLiteral("qserialport"), QStringLiteral("QSerialPort: `readyRead` → `readAll`")}};
    auto key = [](const QString& receiver, const QString& figure) {
        return QStringLiteral("receive.%1.%2").arg(receiver, figure);
    };
    for (const auto& [receiver, label] : receivers) {
        QStringList row{label};
        for (const auto& [figure, decimals] :
             std::vector<std::pair<QString, int>>{{QStringLiteral("median_us"), 0},
                                                  {QStringLiteral("p99_us"), 0},
                                                  {QStringLiteral("cpu_us_per_frame"), 1}}) {
            const double value = r.Median(key(receiver, figure));
            const double peer = r.Median(key(QStringLiteral("qserialport"), figure));
            row << Number(value, decimals) + QStringLiteral(" (×") + Number(value / peer, 2) +
                       QStringLiteral(")");
        }
        row << Number(r.Median(key(receiver, QStringLiteral("main_cpu_us_per_frame"))), 1);
        row << Number(r.Median(key(receiver, QStringLiteral("other_cpu_us_per_frame"))), 1);
        row << Number(r.Median(key(receiver, QStringLiteral("switches_per_frame"))), 2);
        row << Number(r.Max(key(receiver, QStringLiteral("lost"))), 0);
        rows.push_back(row);
    }
    return Table({QStringLiteral("Receiver (each followed by the same frame assembly)"),
                  QStringLiteral("Median µs (× QSerialPort)"),
                  QStringLiteral("99th percentile µs (×)"), QStringLiteral("CPU µs per frame (×)"),
                  QStringLiteral("of it: user-interface thread µs"),
                  QStringLiteral("other threads µs"), QStringLiteral("Context switches per frame"),
                  QStringLiteral("Frames lost (worst run)")},
                 rows);
}

QString TextBoxTable(const Results& r) {
    std::vector<QStringList> rows;
    for (const int lines : {1000, 10000, 100000}) {
        const QString shown = QStringLiteral("textbox.%1.").arg(lines);
        const QString hidden = QStringLiteral("textbox.hidden.%1.").arg(lines);
        rows.push_back({Number(lines, 0), Number(r.Median(shown + QStringLiteral("total_ms")), 0),
                        Number(r.Median(shown + QStringLiteral("us_per_line")), 0),
                        Number(r.Median(shown + QStringLiteral("last_slice_us_per_line")), 0),
                        Number(r.Median(hidden + QStringLiteral("us_per_line")), 0),
                        Number(r.Median(hidden + QStringLiteral("last_slice_us_per_line")), 0)});
    }
    return Table({QStringLiteral("Lines"), QStringLiteral("Time to append, ms"),
                  QStringLiteral("µs per line"), QStringLiteral("µs per line, last 1,000"),
                  QStringLiteral("Hidden window: µs per line"),
                  QStringLiteral("Hidden: µs per line, last 1,000")},
                 rows);
}

QString Fill(const QString& text, const Results& results, const QMap<QString, QString>& machine) {
    static const QRegularExpression placeholder(QStringLiteral(R"(\{\{([a-z]+):([^}]*)\}\})"));
    QString out;
    qsizetype last = 0;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text)) {
        out += text.mid(last, match.capturedStart() - last);
        last = match.capturedEnd();
        const QString kind = match.captured(1);
        const QString argument = match.captured(2);
        if (kind == QStringLiteral("table") && argument == QStringLiteral("figures")) {
            out += FiguresTable(results);
        } else if (kind == QStringLiteral("table") && argument == QStringLiteral("receive")) {
            out += ReceiveTable(results);
        } else if (kind == QStringLiteral("table") && argument == QStringLiteral("textbox")) {
            out += TextBoxTable(results);
        } else if (kind == QStringLiteral("median") || kind == QStringLiteral("min") ||
                   kind == QStringLiteral("max")) {
            const QStringList parts = argument.split(u':');
            const double value = kind == QStringLiteral("min")   ? results.Min(parts[0])
                                 : kind == QStringLiteral("max") ? results.Max(parts[0])
                                                                 : results.Median(parts[0]);
            out += Number(value, parts.size() > 1 ? parts[1].toInt() : 2);
        } else if (kind == QStringLiteral("machine") && machine.contains(argument)) {
            out += machine.value(argument);
        } else {
            throw std::runtime_error("unknown placeholder " + match.captured(0).toStdString());
        }
    }
    return out + text.mid(last);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench_report RESULTS TEMPLATE MACHINE OUTPUT\n");
        return 2;
    }
    try {
        const Results results(QString::fromLocal8Bit(argv[1]));
        QFile templateFile(QString::fromLocal8Bit(argv[2]));
        if (!templateFile.open(QIODevice::ReadOnly | QIODevice::Text))
            throw std::runtime_error("cannot read the template");
        QMap<QString, QString> machine;
        for (const QString& line : Results::ReadLines(QString::fromLocal8Bit(argv[3]))) {
            const qsizetype tab = line.indexOf(u'\t');
            if (tab > 0)
                machine.insert(line.left(tab), line.mid(tab + 1));
        }
        const QString report = Fill(QString::fromUtf8(templateFile.readAll()), results, machine);
        QFile output(QString::fromLocal8Bit(argv[4]));
        if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            throw std::runtime_error("cannot write the report");
        output.write(report.toUtf8());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_report: %s\n", error.what());
        return 1;
    }
}
