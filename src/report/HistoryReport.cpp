#include "report/HistoryReport.h"

#include "operations/ChartPoints.h"
#include "operations/HistoryExcursions.h"
#include "operations/TemperatureReading.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPolygonF>
#include <QTimeZone>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The footer's band at the bottom of every page.
constexpr qreal FooterMm = 9;
// Gaps between the report's blocks.
constexpr qreal BlockGapMm = 4;
constexpr qreal ChartMm = 76;

QFont ReportFont(qreal points, bool bold = false) {
    // DejaVu Sans has every Polish letter, so the PDF's text stays text. Without shaping
    // there are no ligatures: "fi" drawn as one glyph would not be found by a search.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

const QFont& BodyFont() {
    static const QFont font = ReportFont(9);
    return font;
}

const QFont& TableFont() {
    static const QFont font = ReportFont(8);
    return font;
}

const QFont& TableHeaderFont() {
    static const QFont font = ReportFont(8, true);
    return font;
}

QColor SensorColor(Sensor sensor) {
    return sensor == Sensor::T1 ? QColor(200, 30, 30) : QColor(30, 70, 200);
}

QString DateText(const HistoryReading& r) {
    return QStringLiteral("%1.%2.%3").arg(TwoDigits(r.Day), TwoDigits(r.Month)).arg(r.Year);
}

QString ClockText(const HistoryReading& r) {
    return QStringLiteral("%1:%2:%3")
        .arg(TwoDigits(r.Hour), TwoDigits(r.Minute), TwoDigits(r.Second));
}

// Degrees without " °C", where a header or an axis says it.
QString NumberText(int tenths) {
    return DegreesText(tenths).chopped(3);
}

// The recorder's clock has no time zone: its seconds are shown as they are.
QDateTime ClockMoment(qint64 seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
}

QString FigureText(const std::vector<HistoryReading>& readings, const SensorFigures& f,
                   Sensor sensor, qint64 interval, int row) {
    if (row == 0)
        return QString::number(f.Count);
    if (f.Count == 0)
        return QString();
    switch (row) {
    case 1:
        return ReadingTimeText(readings[*f.First]);
    case 2:
        return ReadingTimeText(readings[*f.Last]);
    case 3:
        return ValueAtTimeText(TenthsOf(readings[*f.Lowest], sensor), readings[*f.Lowest]);
    case 4:
        return ValueAtTimeText(TenthsOf(readings[*f.Highest], sensor), readings[*f.Highest]);
    case 5:
        return DegreesText(static_cast<int>(std::lround(f.MeanTenths)));
    case 6:
        if (const std::optional<double> kinetic = MeanKineticTemperature(readings, sensor))
            return DegreesText(static_cast<int>(std::lround(*kinetic * 10)));
        return QString();
    case 7:
        return TimeOutsideText(f.SecondsAbove, f.ReadingsAbove, interval);
    default:
        return TimeOutsideText(f.SecondsBelow, f.ReadingsBelow, interval);
    }
}

// Each column as wide as its longest text; what is left goes to the last column, what is
// missing is taken from every column in proportion.
std::vector<qreal> ColumnWidths(const QStringList& headers, const std::vector<QStringList>& rows,
                                const QFontMetricsF& body, const QFontMetricsF& bold, qreal padding,
                                qreal total) {
    std::vector<qreal> widths;
    for (const QString& header : headers)
        widths.push_back(bold.horizontalAdvance(header) + 2 * padding);
    for (const QStringList& row : rows)
        for (qsizetype column = 0; column < row.size() && column < headers.size(); ++column)
            widths[column] =
                std::max(widths[column], body.horizontalAdvance(row[column]) + 2 * padding);
    qreal sum = 0;
    for (const qreal w : widths)
        sum += w;
    if (sum <= total)
        widths.back() += total - sum;
    else
        for (qreal& w : widths)
            w *= total / sum;
    return widths;
}

// A step for about `most` ticks over `span`, from the given ones (the last one when none
// gives so few).
double StepFor(double span, int most, std::initializer_list<double> steps) {
    for (const double step : steps)
        if (span / step <= most)
            return step;
    double step = *(steps.end() - 1);
    while (span / step > most)
        step *= 2;
    return step;
}

} // namespace

// Lays the report out into drawing steps page by page; the painting itself happens later,
// so that the page count is known for every footer.
struct THistoryReport::TLayout {
    THistoryReport& Report;
    const QPaintDevice& Device;
    qreal Y = 0;

    qreal Mm(qreal mm) const { return mm * Report.dotsPerMm_; }
    qreal Width() const { return Report.width_; }
    qreal Bottom() const { return Report.height_ - Mm(FooterMm); }
    QFontMetricsF Metrics(const QFont& font) const { return QFontMetricsF(font, &Device); }

    void NewPage() {
        Report.pages_.emplace_back();
        Y = 0;
    }
    // A new page when `height` does not fit below what is on this one.
    void Reserve(qreal height) {
        if (Y > 0 && Y + height > Bottom())
            NewPage();
    }
    void Add(TDraw draw) { Report.pages_.back().push_back(std::move(draw)); }

    void Line(const QString& text, const QFont& font, qreal heightMm) {
        const qreal height = Mm(heightMm);
        Reserve(height);
        const QRectF box(0, Y, Width(), height);
        const QString shown = Metrics(font).elidedText(text, Qt::ElideRight, Width());
        Add([box, shown, font](QPainter& p) {
            p.setFont(font);
            p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, shown);
        });
        Y += height;
    }

    // A heading kept on one page with the first `followingMm` of what follows it.
    void Heading(const QString& text, qreal followingMm) {
        Reserve(Mm(BlockGapMm + 7 + followingMm));
        if (Y > 0)
            Y += Mm(BlockGapMm);
        Line(text, ReportFont(11, true), 7);
    }

    void Facts(const std::vector<std::pair<QString, QString>>& facts) {
        const QFont bold = ReportFont(9, true);
        qreal labelWidth = 0;
        for (const auto& fact : facts)
            labelWidth = std::max(labelWidth, Metrics(bold).horizontalAdvance(fact.first));
        labelWidth += Mm(4);
        const qreal height = Mm(4.8);
        for (const auto& [label, value] : facts) {
            Reserve(height);
            const QRectF labelBox(0, Y, labelWidth, height);
            const QRectF valueBox(labelWidth, Y, Width() - labelWidth, height);
            Add([labelBox, valueBox, label, value, bold](QPainter& p) {
                p.setFont(bold);
                p.drawText(labelBox, Qt::AlignLeft | Qt::AlignVCenter, label);
                p.setFont(BodyFont());
                p.drawText(valueBox, Qt::AlignLeft | Qt::AlignVCenter, value);
            });
            Y += height;
        }
    }

    // A table whose header row comes again on each page it runs on to.
    void Table(const QStringList& headers, const std::vector<QStringList>& rows) {
        const QFontMetricsF body = Metrics(TableFont());
        const qreal padding = Mm(1.2);
        const qreal height = Mm(4.6);
        const std::vector<qreal> widths =
            ColumnWidths(headers, rows, body, Metrics(TableHeaderFont()), padding, Width());
        const auto cells = [&](const QStringList& texts, const QFont& font, bool shaded) {
            std::vector<std::pair<QRectF, QString>> placed;
            qreal x = 0;
            for (size_t column = 0; column < widths.size(); ++column) {
                const QRectF box(x + padding, Y, widths[column] - 2 * padding, height);
                const QString text = texts.value(static_cast<qsizetype>(column));
                placed.emplace_back(box,
                                    Metrics(font).elidedText(text, Qt::ElideRight, box.width()));
                x += widths[column];
            }
            const QRectF row(0, Y, Width(), height);
            const qreal line = Mm(0.15);
            Add([placed, font, row, shaded, line](QPainter& p) {
                if (shaded)
                    p.fillRect(row, QColor(225, 225, 225));
                p.setPen(QPen(QColor(150, 150, 150), line));
                p.drawLine(row.bottomLeft(), row.bottomRight());
                p.setPen(Qt::black);
                p.setFont(font);
                for (const auto& [box, text] : placed)
                    p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
            });
            Y += height;
        };
        Reserve(2 * height);
        cells(headers, TableHeaderFont(), true);
        for (const QStringList& row : rows) {
            if (Y + height > Bottom()) {
                NewPage();
                cells(headers, TableHeaderFont(), true);
            }
            cells(row, TableFont(), false);
        }
    }

    void Chart(const std::vector<HistoryReading>& readings, TemperatureLimits limits,
               const HistoryExcursions& found);
    void Readings(const std::vector<HistoryReading>& readings);
    void Signature();
};

void THistoryReport::TLayout::Chart(const std::vector<HistoryReading>& readings,
                                    TemperatureLimits limits, const HistoryExcursions& found) {
    const qreal height = Mm(ChartMm);
    Reserve(height);
    const QRectF area(0, Y, Width(), height);
    Y += height;
    const QRectF plot = area.adjusted(Mm(13), Mm(7), -Mm(4), -Mm(10));

    std::vector<std::optional<qint64>> seconds;
    QList<QPointF> points[2];
    double low = std::min(limits.Min, limits.Max);
    double high = std::max(limits.Min, limits.Max);
    double from = 0;
    double to = 0;
    for (const HistoryReading& reading : readings) {
        seconds.push_back(reading.Seconds());
        if (!seconds.back())
            continue;
        const double x = static_cast<double>(*seconds.back());
        if (points[0].isEmpty() || x < from)
            from = x;
        if (points[0].isEmpty() || x > to)
            to = x;
        for (const Sensor sensor : {Sensor::T1, Sensor::T2}) {
            const double degrees = TenthsOf(reading, sensor) / 10.0;
            low = std::min(low, degrees);
            high = std::max(high, degrees);
            points[static_cast<int>(sensor)].append(QPointF(x, degrees));
        }
    }
    if (points[0].isEmpty()) {
        Add([plot](QPainter& p) {
            p.setFont(BodyFont());
            p.drawText(plot, Qt::AlignCenter, QStringLiteral("Brak odczytów z datą"));
        });
        return;
    }
    if (to - from < 60) {
        from -= 1800;
        to += 1800;
    }
    const double degreeStep = StepFor(high - low + 2, 8, {0.5, 1, 2, 2.5, 5, 10, 20, 25, 50});
    low = std::floor((low - 1) / degreeStep) * degreeStep;
    high = std::ceil((high + 1) / degreeStep) * degreeStep;
    const auto atX = [&](double x) {
        return plot.left() + (x - from) / (to - from) * plot.width();
    };
    const auto atY = [&](double degrees) {
        return plot.bottom() - (degrees - low) / (high - low) * plot.height();
    };

    // Episodes and gaps shaded behind the lines.
    const double interval = static_cast<double>(found.IntervalSeconds);
    std::vector<std::pair<QRectF, QColor>> shades;
    const auto shade = [&](double start, double end, QColor color) {
        const qreal left = std::max(plot.left(), atX(start));
        const qreal right = std::min(plot.right(), std::max(atX(end), left + Mm(0.3)));
        shades.emplace_back(QRectF(left, plot.top(), right - left, plot.height()), color);
    };
    for (const Sensor sensor : {Sensor::T1, Sensor::T2}) {
        QColor color = SensorColor(sensor);
        color.setAlpha(45);
        for (const Excursion& e : (sensor == Sensor::T1 ? found.T1 : found.T2).Episodes)
            shade(static_cast<double>(*seconds[e.First]),
                  static_cast<double>(*seconds[e.Last]) + interval, color);
    }
    for (const ReadingGap& gap : found.Gaps)
        shade(static_cast<double>(*seconds[gap.Before]), static_cast<double>(*seconds[gap.After]),
              QColor(128, 128, 128, 60));

    // Far more readings than the page has columns: each column's extremes look the same.
    const int columns = std::max(100, static_cast<int>(plot.width() / Mm(0.25)));
    QPolygonF lines[2];
    for (int sensor = 0; sensor < 2; ++sensor)
        for (const QPointF& point : PointsToDraw(points[sensor], from, to, columns))
            lines[sensor].append(QPointF(atX(point.x()), atY(point.y())));

    std::vector<std::pair<qreal, QString>> degreeTicks;
    for (double degrees = low; degrees <= high + degreeStep / 2; degrees += degreeStep)
        degreeTicks.emplace_back(atY(degrees),
                                 NumberText(static_cast<int>(std::lround(degrees * 10))));
    const double timeStep = StepFor(to - from, 6,
                                    {60, 120, 300, 600, 900, 1800, 3600, 7200, 10800, 21600, 43200,
                                     86400, 172800, 345600, 604800, 1209600, 2592000});
    std::vector<std::pair<qreal, QString>> timeTicks;
    for (double t = std::ceil(from / timeStep) * timeStep; t <= to; t += timeStep) {
        const QDateTime moment = ClockMoment(static_cast<qint64>(t));
        timeTicks.emplace_back(atX(t), timeStep < 86400
                                           ? moment.toString(QStringLiteral("dd.MM\nhh:mm"))
                                           : moment.toString(QStringLiteral("dd.MM.yyyy")));
    }
    const qreal limitLines[2] = {atY(limits.Min), atY(limits.Max)};
    const qreal mm = Mm(1);

    Add([=](QPainter& p) {
        p.save();
        const QFont small = ReportFont(7);
        p.setFont(small);
        // The legend above the plot.
        qreal x = plot.left();
        const qreal legendY = area.top() + 2.5 * mm;
        const auto legend = [&](const QPen& pen, const QString& text) {
            p.setPen(pen);
            p.drawLine(QPointF(x, legendY), QPointF(x + 6 * mm, legendY));
            p.setPen(Qt::black);
            const QRectF box(x + 7.5 * mm, legendY - 2 * mm, 40 * mm, 4 * mm);
            QRectF used;
            p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text, &used);
            x = used.right() + 5 * mm;
        };
        legend(QPen(SensorColor(Sensor::T1), 0.4 * mm), QStringLiteral("T1"));
        legend(QPen(SensorColor(Sensor::T2), 0.4 * mm), QStringLiteral("T2"));
        legend(QPen(Qt::darkGreen, 0.3 * mm, Qt::DashLine), QStringLiteral("Min / Max"));
        p.fillRect(QRectF(x, legendY - 1.5 * mm, 6 * mm, 3 * mm), QColor(200, 30, 30, 45));
        p.drawText(QRectF(x + 7.5 * mm, legendY - 2 * mm, 40 * mm, 4 * mm),
                   Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("poza zakresem"));

        for (const auto& [box, color] : shades)
            p.fillRect(box, color);
        // Grid and axis labels.
        p.setPen(QPen(QColor(215, 215, 215), 0.15 * mm));
        for (const auto& [y, text] : degreeTicks)
            p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        for (const auto& [tx, text] : timeTicks)
            p.drawLine(QPointF(tx, plot.top()), QPointF(tx, plot.bottom()));
        p.setPen(Qt::black);
        for (const auto& [y, text] : degreeTicks)
            p.drawText(
                QRectF(area.left(), y - 2 * mm, plot.left() - area.left() - 1.5 * mm, 4 * mm),
                Qt::AlignRight | Qt::AlignVCenter, text);
        p.drawText(QRectF(area.left(), area.top(), plot.left() - area.left() - 1.5 * mm, 5 * mm),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("°C"));
        for (const auto& [tx, text] : timeTicks) {
            p.drawLine(QPointF(tx, plot.bottom()), QPointF(tx, plot.bottom() + mm));
            p.drawText(QRectF(tx - 12 * mm, plot.bottom() + 1.3 * mm, 24 * mm, 8 * mm),
                       Qt::AlignHCenter | Qt::AlignTop, text);
        }
        p.setPen(QPen(Qt::darkGreen, 0.3 * mm, Qt::DashLine));
        for (const qreal y : limitLines)
            p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setClipRect(plot);
        p.setRenderHint(QPainter::Antialiasing);
        for (const Sensor sensor : {Sensor::T1, Sensor::T2}) {
            p.setPen(
                QPen(SensorColor(sensor), 0.3 * mm, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(lines[static_cast<int>(sensor)]);
        }
        p.setClipping(false);
        p.setPen(QPen(Qt::black, 0.2 * mm));
        p.drawRect(plot);
        p.restore();
    });
}

void THistoryReport::TLayout::Readings(const std::vector<HistoryReading>& readings) {
    const QFont font = ReportFont(7.5);
    const QFont bold = ReportFont(7.5, true);
    const qreal padding = Mm(1.5);
    const qreal height = Mm(3.9);
    const QStringList headers = {QStringLiteral("Data"), QStringLiteral("Czas"),
                                 QStringLiteral("T1"), QStringLiteral("T2")};
    // A column is as wide as its widest text: a temperature takes up to three digits and a
    // sign.
    const QString widest[] = {QStringLiteral("00.00.0000"), QStringLiteral("00:00:00"),
                              QStringLiteral("-000,0"), QStringLiteral("-000,0")};
    std::array<qreal, 4> widths{};
    qreal groupWidth = 0;
    for (int column = 0; column < 4; ++column) {
        widths[column] = std::max(Metrics(font).horizontalAdvance(widest[column]),
                                  Metrics(bold).horizontalAdvance(headers[column])) +
                         2 * padding;
        groupWidth += widths[column];
    }
    // Side by side groups of columns, each read from top to bottom.
    const qreal groupGap = Mm(5);
    const int groups =
        std::max(1, static_cast<int>((Width() + groupGap) / (groupWidth + groupGap)));
    const qreal groupStep = (Width() + groupGap) / groups;

    size_t next = 0;
    while (next < readings.size()) {
        Reserve(3 * height);
        const int perGroup = std::max(1, static_cast<int>((Bottom() - Y) / height) - 1);
        size_t used = 0;
        for (int group = 0; group < groups && next < readings.size(); ++group) {
            const size_t count = std::min(static_cast<size_t>(perGroup), readings.size() - next);
            const QPointF at(group * groupStep, Y);
            Add([&readings, widths, headers, at, next, count, height, padding, font, bold,
                 groupWidth](QPainter& p) {
                p.fillRect(QRectF(at.x(), at.y(), groupWidth, height), QColor(225, 225, 225));
                const auto row = [&](qreal y, const QStringList& texts) {
                    qreal x = at.x();
                    for (int column = 0; column < 4; ++column) {
                        p.drawText(QRectF(x + padding, y, widths[column] - 2 * padding, height),
                                   (column < 2 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                                   texts[column]);
                        x += widths[column];
                    }
                };
                p.setFont(bold);
                row(at.y(), headers);
                p.setFont(font);
                for (size_t i = 0; i < count; ++i) {
                    const HistoryReading& r = readings[next + i];
                    row(at.y() + static_cast<qreal>(i + 1) * height,
                        {DateText(r), ClockText(r), NumberText(r.T1.Tenths()),
                         NumberText(r.T2.Tenths())});
                }
            });
            next += count;
            used = std::max(used, count);
        }
        Y += static_cast<qreal>(used + 1) * height;
        if (next < readings.size())
            NewPage();
    }
}

void THistoryReport::TLayout::Signature() {
    const qreal height = Mm(6);
    Reserve(Mm(BlockGapMm + 6) + height);
    Y += Mm(BlockGapMm + 6);
    // Side by side, each half of the width filled with dots.
    const QString dots(28, QChar(0x2026));
    const QRectF left(0, Y, Width() / 2 - Mm(4), height);
    const QRectF right(Width() / 2 + Mm(4), Y, Width() / 2 - Mm(4), height);
    Add([left, right, dots](QPainter& p) {
        p.setFont(BodyFont());
        p.drawText(left, Qt::AlignLeft | Qt::AlignBottom,
                   QStringLiteral("Imię i nazwisko: ") + dots);
        p.drawText(right, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Podpis: ") + dots);
    });
    Y += height;
}

THistoryReport::THistoryReport(THistoryReportInput input, const QPaintDevice& device)
    : input_(std::move(input)), dotsPerMm_(device.logicalDpiY() / 25.4), width_(device.width()),
      height_(device.height()) {
    TLayout layout{*this, device};
    layout.NewPage();
    const std::vector<HistoryReading>& readings = input_.Readings;
    const HistoryFigures figures = FiguresOf(readings, input_.Limits);
    const HistoryExcursions found = ExcursionsOf(readings, input_.Limits, input_.DelayMinutes);

    layout.Line(QStringLiteral("Raport temperatur"), ReportFont(18, true), 11);
    const ConfigRecord& header = input_.Header;
    const QFont name = ReportFont(11, true);
    for (const QString& text : {header.TC8Nazwa, header.TC8Nazwa2, header.TC8Nazwa3})
        if (!text.trimmed().isEmpty())
            layout.Line(text, text == header.TC8Nazwa ? name : BodyFont(), 5.5);
    QStringList recorder;
    for (const QString& text : {header.TC8Typ, header.TC8name})
        if (!text.trimmed().isEmpty())
            recorder << text;
    if (!recorder.isEmpty())
        layout.Line(recorder.join(QStringLiteral(" : ")), BodyFont(), 5.5);
    if (!input_.HeaderFromRecorder)
        layout.Line(QStringLiteral("Nagłówek i zakres z ustawień programu w chwili pobrania, "
                                   "nie odczytane z rejestratora"),
                    ReportFont(8), 4.5);
    if (!input_.Incomplete.isEmpty())
        layout.Line(QStringLiteral("Pobieranie niepełne (%1): w raporcie tylko odczyty, które "
                                   "nadeszły")
                        .arg(input_.Incomplete),
                    ReportFont(9, true), 5);
    layout.Y += layout.Mm(2);

    std::vector<std::pair<QString, QString>> facts;
    if (figures.T1.Count > 0)
        facts.emplace_back(QStringLiteral("Okres:"),
                           QStringLiteral("od %1 do %2")
                               .arg(ReadingTimeText(readings[*figures.T1.First]),
                                    ReadingTimeText(readings[*figures.T1.Last])));
    QString count = QString::number(readings.size());
    if (figures.UndatedReadings > 0)
        count += QStringLiteral(" (z nieistniejącą datą: %1)").arg(figures.UndatedReadings);
    facts.emplace_back(QStringLiteral("Liczba odczytów:"), count);
    if (figures.IntervalSeconds > 0)
        facts.emplace_back(QStringLiteral("Interwał zapisu:"),
                           DurationText(figures.IntervalSeconds));
    if (input_.Downloaded.isValid())
        facts.emplace_back(QStringLiteral("Pobrano:"),
                           input_.Downloaded.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
    if (!input_.Port.isEmpty())
        facts.emplace_back(QStringLiteral("Port:"), input_.Port);
    if (!input_.Firmware.isEmpty())
        facts.emplace_back(QStringLiteral("Oprogramowanie rejestratora:"), input_.Firmware);
    facts.emplace_back(QStringLiteral("Zakres:"), QStringLiteral("Min %1, Max %2")
                                                      .arg(DegreesText(input_.Limits.Min * 10),
                                                           DegreesText(input_.Limits.Max * 10)));
    facts.emplace_back(QStringLiteral("Opóźnienie:"),
                       QStringLiteral("%1 min").arg(input_.DelayMinutes));
    layout.Facts(facts);

    layout.Heading(QStringLiteral("Przebieg temperatur"), ChartMm);
    layout.Chart(readings, input_.Limits, found);

    layout.Heading(QStringLiteral("Podsumowanie"), 14);
    const QStringList rowNames = {QStringLiteral("Liczba odczytów"),
                                  QStringLiteral("Pierwszy odczyt"),
                                  QStringLiteral("Ostatni odczyt"),
                                  QStringLiteral("Minimum"),
                                  QStringLiteral("Maksimum"),
                                  QStringLiteral("Średnia"),
                                  QStringLiteral("Średnia kinetyczna (MKT)"),
                                  QStringLiteral("Powyżej Max"),
                                  QStringLiteral("Poniżej Min")};
    std::vector<QStringList> figureRows;
    for (int row = 0; row < rowNames.size(); ++row)
        figureRows.push_back(
            {rowNames[row],
             FigureText(readings, figures.T1, Sensor::T1, figures.IntervalSeconds, row),
             FigureText(readings, figures.T2, Sensor::T2, figures.IntervalSeconds, row)});
    layout.Table({QString(), QStringLiteral("T1"), QStringLiteral("T2")}, figureRows);

    layout.Heading(QStringLiteral("Epizody poza zakresem"), 14);
    struct TRow {
        size_t From;
        QStringList Texts;
    };
    std::vector<TRow> rows;
    for (const Sensor sensor : {Sensor::T1, Sensor::T2})
        for (const Excursion& e : (sensor == Sensor::T1 ? found.T1 : found.T2).Episodes) {
            const HistoryReading& extreme = readings[e.Extreme];
            rows.push_back({e.First,
                            {sensor == Sensor::T1 ? QStringLiteral("T1") : QStringLiteral("T2"),
                             e.Side == ExcursionSide::Above ? QStringLiteral("powyżej Max")
                                                            : QStringLiteral("poniżej Min"),
                             ReadingTimeText(readings[e.First]), ReadingTimeText(readings[e.Last]),
                             DurationText(e.DurationSeconds),
                             ValueAtTimeText(TenthsOf(extreme, e.Of), extreme)}});
        }
    for (const ReadingGap& gap : found.Gaps)
        rows.push_back(
            {gap.Before,
             {QString(), QStringLiteral("przerwa w odczytach"),
              ReadingTimeText(readings[gap.Before]), ReadingTimeText(readings[gap.After]),
              DurationText(gap.Seconds), QString()}});
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TRow& a, const TRow& b) { return a.From < b.From; });
    if (found.T1.Episodes.empty() && found.T2.Episodes.empty())
        layout.Line(QStringLiteral("Brak epizodów poza zakresem"), BodyFont(), 5.5);
    if (!rows.empty()) {
        std::vector<QStringList> texts;
        for (TRow& row : rows)
            texts.push_back(std::move(row.Texts));
        layout.Table({QStringLiteral("Czujnik"), QStringLiteral("Poza zakresem"),
                      QStringLiteral("Od"), QStringLiteral("Do"), QStringLiteral("Czas"),
                      QStringLiteral("Najdalej")},
                     texts);
    }

    if (input_.IncludeReadings && !readings.empty()) {
        layout.Heading(QStringLiteral("Wszystkie odczyty (T1, T2 w °C)"), 12);
        layout.Readings(readings);
    }
    layout.Signature();
}

THistoryReport::~THistoryReport() = default;

void THistoryReport::PaintPage(QPainter& painter, int page) const {
    if (page < 0 || page >= PageCount())
        return;
    painter.save();
    painter.setPen(Qt::black);
    for (const TDraw& draw : pages_[static_cast<size_t>(page)])
        draw(painter);

    const qreal mm = dotsPerMm_;
    const qreal top = height_ - (FooterMm - 3) * mm;
    painter.setPen(QPen(QColor(120, 120, 120), 0.2 * mm));
    painter.drawLine(QPointF(0, top - mm), QPointF(width_, top - mm));
    painter.setPen(Qt::black);
    painter.setFont(ReportFont(7.5));
    const QRectF band(0, top, width_, (FooterMm - 3) * mm);
    painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Raport z %1")
                         .arg(input_.ReportDate.toString(QStringLiteral("dd.MM.yyyy hh:mm"))));
    painter.drawText(band, Qt::AlignHCenter | Qt::AlignVCenter,
                     QStringLiteral("Strona %1 z %2").arg(page + 1).arg(PageCount()));
    painter.drawText(band, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("%1 %2").arg(input_.ProgramName, input_.ProgramVersion));
    painter.restore();
}

THistoryReportInput DownloadReportInput(const TDownloadStart& start, const QStringList& lines) {
    THistoryReportInput input;
    input.Readings = ParseHistory(lines.join(u'\n')).Readings;
    input.Header = start.Config;
    input.HeaderFromRecorder = start.ConfigFromRecorder;
    input.Limits = LimitsOfBytes(start.Config.TempMin, start.Config.TempMax);
    input.Downloaded = start.Started.toLocalTime();
    input.Port = start.Port;
    input.Firmware = start.FirmwareVersion;
    return input;
}

void PaintHistoryReport(const THistoryReportInput& input, QPainter& painter,
                        QPagedPaintDevice& device) {
    const THistoryReport report(input, device);
    for (int page = 0; page < report.PageCount(); ++page) {
        if (page > 0)
            device.newPage();
        report.PaintPage(painter, page);
    }
}

bool WriteHistoryReportPdf(const THistoryReportInput& input, QIODevice& out) {
    QPdfWriter writer(&out);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 15, 15, 12), QPageLayout::Millimeter));
    writer.setTitle(QStringLiteral("Raport temperatur"));
    writer.setCreator(QStringLiteral("%1 %2").arg(input.ProgramName, input.ProgramVersion));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    PaintHistoryReport(input, painter, writer);
    return painter.end();
}
