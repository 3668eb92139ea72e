#include "operations/THistoryChart.h"

#include "config/WholeFile.h"
#include "core/Guarded.h"
#include "operations/ChartPoints.h"
#include "operations/HistoryExcursions.h"
#include "ui/ControlBuilders.h"
#include "ui/WindowFont.h"

#include <QBuffer>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double WheelZoomStep = 1.25;
const QString TimeFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");

// The rows of the figures table, in the order they are shown.
enum EpisodeColumn {
    EpisodeSensor,
    EpisodeSide,
    EpisodeFrom,
    EpisodeTo,
    EpisodeDuration,
    EpisodeExtreme,
    EpisodeColumnCount
};

enum FigureRow { Count, First, Last, Lowest, Highest, Mean, MeanKinetic, Above, Below, RowCount };

// The time axis shows its values in the desktop's time zone: a reading goes to the instant
// whose local time is the recorder's clock time. The offset changes only on the hour, so it
// is looked up once an hour of readings, not for each (that would cost more than the chart).
class DesktopZoneOffsets {
public:
    qint64 SecondsAt(const HistoryReading& reading) {
        const qint64 hour = *reading.Seconds() / 3600;
        if (hour != hour_) {
            hour_ = hour;
            offset_ =
                QDateTime(QDate(reading.Year, reading.Month, reading.Day), QTime(reading.Hour, 0))
                    .offsetFromUtc();
        }
        return offset_;
    }

private:
    qint64 hour_ = std::numeric_limits<qint64>::min();
    qint64 offset_ = 0;
};

// T1's marks are discs, T2's squares, each in its line's colour: where both sensors are
// outside at once, each is still told apart, also in a black-and-white print.
QImage MarkPicture(const QColor& color, int size, bool square) {
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(color);
    const QRectF area(0.5, 0.5, size - 1, size - 1);
    if (square)
        painter.drawRect(area);
    else
        painter.drawEllipse(area);
    return picture;
}

constexpr int MarkSize = 7;

double Degrees(int tenths) {
    return tenths / 10.0;
}

// Without an interval (a single reading, or all at one time) the time is not known.
} // namespace

void THistoryChartView::SetSpans(QList<TSpan> spans) {
    spans_ = std::move(spans);
    scene()->update();
}

void THistoryChartView::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    if (spans_.isEmpty())
        return;
    // Over the lines, translucent: the readings under a span stay visible.
    const QRectF plot = chart()->plotArea();
    const double y = chart()->mapToValue(plot.center()).y();
    // Spans of one colour that meet on the screen are filled as one: a long history has
    // thousands of short episodes, and a translucent fill costs by the area it covers.
    QHash<QRgb, std::vector<std::pair<double, double>>> columns;
    for (const TSpan& span : spans_) {
        const double left = chart()->mapToPosition({span.From, y}).x();
        const double right = chart()->mapToPosition({span.To, y}).x();
        if (right < plot.left() || left > plot.right())
            continue;
        columns[span.Color.rgba()].emplace_back(
            std::floor(std::max(left, plot.left())),
            std::ceil(std::min(std::max(right, left + 1), plot.right())));
    }
    painter->save();
    painter->setClipRect(chart()->mapRectToScene(plot));
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        std::vector<std::pair<double, double>>& runs = it.value();
        std::sort(runs.begin(), runs.end());
        const QColor color = QColor::fromRgba(it.key());
        const auto fill = [&](double left, double right) {
            painter->fillRect(chart()->mapRectToScene(
                                  QRectF(QPointF(left, plot.top()), QPointF(right, plot.bottom()))),
                              color);
        };
        auto [left, right] = runs.front();
        for (const auto& [from, to] : runs) {
            if (from > right) {
                fill(left, right);
                left = from;
            }
            right = std::max(right, to);
        }
        fill(left, right);
    }
    painter->restore();
}

void THistoryChartView::wheelEvent(QWheelEvent* event) {
    const QRectF plot = chart()->plotArea();
    const QPointF at = event->position();
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0 || !plot.contains(at)) {
        event->ignore();
        return;
    }
    // The point under the pointer stays where it is.
    const double scale = std::pow(WheelZoomStep, -steps);
    const QRectF zoomed(at.x() - (at.x() - plot.left()) * scale,
                        at.y() - (at.y() - plot.top()) * scale, plot.width() * scale,
                        plot.height() * scale);
    chart()->zoomIn(zoomed);
    event->accept();
}

void THistoryChartView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    emit PointerMoved(chart()->mapToValue(at), chart()->plotArea().contains(at));
    QChartView::mouseMoveEvent(event);
}

void THistoryChartView::leaveEvent(QEvent* event) {
    emit PointerMoved({}, false);
    QChartView::leaveEvent(event);
}

THistoryChart::THistoryChart(Desktop& desktop, QWidget* owner)
    : QDialog(owner, Qt::Window), desktop_(desktop) {
    setObjectName(QStringLiteral("HistoryChart"));
    setWindowTitle(QStringLiteral("Wykres temperatur"));
    setFont(WindowFont());
    resize(860, 760);

    Pages = named(new QStackedWidget(this), QStringLiteral("Pages"));
    Message = named(new QLabel(Pages), QStringLiteral("Message"));
    Message->setAlignment(Qt::AlignCenter);
    Message->setWordWrap(true);
    Pages->addWidget(Message);

    auto* chartPage = named(new QWidget(Pages), QStringLiteral("ChartPage"));
    Pages->addWidget(chartPage);
    BuildChart();
    ChartView->setParent(chartPage);
    PointerValue = named(new QLabel(chartPage), QStringLiteral("PointerValue"));
    PointerValue->setMinimumWidth(280);
    ButtonReset = addButton(chartPage, QStringLiteral("ButtonReset"), QStringLiteral("Cały wykres"),
                            {}, true, QStringLiteral("Pokaż całą historię, bez powiększenia"));
    ButtonSaveImage =
        addButton(chartPage, QStringLiteral("ButtonSaveImage"), QStringLiteral("Zapisz obraz…"), {},
                  true, QStringLiteral("Zapisz wykres jako obraz PNG"));
    Figures = named(new QTableWidget(RowCount, 2, chartPage), QStringLiteral("Figures"));
    Figures->setAccessibleName(QStringLiteral("Dane statystyczne"));
    Figures->setHorizontalHeaderLabels({QStringLiteral("T1"), QStringLiteral("T2")});
    Figures->setVerticalHeaderLabels(
        {QStringLiteral("Liczba odczytów"), QStringLiteral("Pierwszy odczyt"),
         QStringLiteral("Ostatni odczyt"), QStringLiteral("Minimum"), QStringLiteral("Maksimum"),
         QStringLiteral("Średnia"), QStringLiteral("Średnia kinetyczna (MKT)"),
         QStringLiteral("Powyżej Max"), QStringLiteral("Poniżej Min")});
    Figures->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Figures->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Figures->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Figures->verticalHeader()->setDefaultSectionSize(Figures->fontMetrics().height() + 6);
    Figures->setWordWrap(false);
    Figures->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Figures->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Every row shows; the chart takes what height is left.
    Figures->setFixedHeight(Figures->horizontalHeader()->sizeHint().height() +
                            RowCount * Figures->verticalHeader()->defaultSectionSize() +
                            2 * Figures->frameWidth());
    Notes = named(new QLabel(chartPage), QStringLiteral("Notes"));
    Delay = named(new QSpinBox(chartPage), QStringLiteral("Delay"));
    Delay->setRange(0, 7 * 24 * 60);
    Delay->setSuffix(QStringLiteral(" min"));
    Delay->setToolTip(QStringLiteral("Epizod krótszy niż ten czas nie jest liczony"));
    auto* delayLabel = new QLabel(QStringLiteral("Dopuszczalne opóźnienie:"), chartPage);
    delayLabel->setBuddy(Delay);
    Delay->setAccessibleName(QStringLiteral("Dopuszczalne opóźnienie"));
    Episodes =
        named(new QTableWidget(0, EpisodeColumnCount, chartPage), QStringLiteral("Episodes"));
    Episodes->setAccessibleName(QStringLiteral("Epizody poza zakresem"));
    Episodes->setHorizontalHeaderLabels({QStringLiteral("Czujnik"), QStringLiteral("Poza zakresem"),
                                         QStringLiteral("Od"), QStringLiteral("Do"),
                                         QStringLiteral("Czas"), QStringLiteral("Najdalej")});
    Episodes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Episodes->setSelectionBehavior(QAbstractItemView::SelectRows);
    Episodes->setSelectionMode(QAbstractItemView::SingleSelection);
    Episodes->verticalHeader()->hide();
    Episodes->horizontalHeader()->setStretchLastSection(true);
    Episodes->setToolTip(QStringLiteral("Kliknij wiersz, aby powiększyć wykres do epizodu"));
    // A few rows show; more scroll, and the chart keeps its room.
    Episodes->setMaximumHeight(Episodes->horizontalHeader()->sizeHint().height() +
                               4 * (Episodes->fontMetrics().height() + 8));
    ButtonReportPdf =
        addButton(chartPage, QStringLiteral("ButtonReportPdf"), QStringLiteral("Raport PDF…"), {},
                  true, QStringLiteral("Zapisz raport temperatur jako dokument PDF"));
    ButtonPrintReport =
        addButton(chartPage, QStringLiteral("ButtonPrintReport"), QStringLiteral("Drukuj raport…"),
                  {}, true, QStringLiteral("Wydrukuj raport temperatur"));
    auto* delayRow = new QHBoxLayout;
    delayRow->addWidget(delayLabel);
    delayRow->addWidget(Delay);
    delayRow->addStretch(1);
    delayRow->addWidget(ButtonReportPdf);
    delayRow->addWidget(ButtonPrintReport);

    auto* pointerRow = new QHBoxLayout;
    pointerRow->addWidget(PointerValue, 1);
    pointerRow->addWidget(ButtonReset);
    pointerRow->addWidget(ButtonSaveImage);
    auto* chartColumn = new QVBoxLayout(chartPage);
    chartColumn->setContentsMargins(0, 0, 0, 0);
    chartColumn->addWidget(ChartView, 1);
    chartColumn->addLayout(pointerRow);
    chartColumn->addWidget(Figures);
    chartColumn->addLayout(delayRow);
    chartColumn->addWidget(Episodes);
    chartColumn->addWidget(Notes);
    auto* window = new QVBoxLayout(this);
    window->addWidget(Pages);

    ImageDialog.Filter = QStringLiteral("Obraz PNG|*.png");
    ImageDialog.DefaultExt = QStringLiteral("png");

    connect(ButtonReset, &QPushButton::clicked, this, [this] { ChartView->chart()->zoomReset(); });
    connect(ButtonSaveImage, &QPushButton::clicked, this, Guarded(this, &THistoryChart::SaveImage));
    connect(ButtonReportPdf, &QPushButton::clicked, this, &THistoryChart::ReportPdfRequested);
    connect(ButtonPrintReport, &QPushButton::clicked, this, &THistoryChart::PrintReportRequested);
    connect(ChartView, &THistoryChartView::PointerMoved, this, &THistoryChart::ShowPointer);
    connect(Delay, &QSpinBox::valueChanged, this, &THistoryChart::ShowEpisodes);
    connect(Episodes, &QTableWidget::cellClicked, this,
            [this](int row, int) { ZoomToEpisode(row); });
    // Zooming and resizing draw the readings of the new view.
    connect(TimeAxis, &QDateTimeAxis::rangeChanged, this, &THistoryChart::DrawVisiblePoints);
    connect(ChartView->chart(), &QChart::plotAreaChanged, this, &THistoryChart::DrawVisiblePoints);
}

THistoryChart::~THistoryChart() {
    // The chart and its axes go after this object's own members; nothing they signal on the
    // way may reach it.
    disconnect(TimeAxis, nullptr, this, nullptr);
    disconnect(ChartView->chart(), nullptr, this, nullptr);
    disconnect(ChartView, nullptr, this, nullptr);
}

void THistoryChart::BuildChart() {
    auto* chart = new QChart;
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale(QLocale::Polish, QLocale::Poland));
    chart->legend()->setAlignment(Qt::AlignTop);

    const auto addLine = [chart](const QString& name, const QPen& pen) {
        auto* series = new QLineSeries(chart);
        series->setName(name);
        series->setPen(pen);
        chart->addSeries(series);
        return series;
    };
    const QColor t1Color(200, 40, 30);
    const QColor t2Color(30, 90, 200);
    T1Series = addLine(QStringLiteral("T1"), QPen(t1Color, 1.5));
    T2Series = addLine(QStringLiteral("T2"), QPen(t2Color, 1.5));
    MinLine = addLine(QStringLiteral("Min"), QPen(QColor(0, 140, 120), 1.5, Qt::DashLine));
    MaxLine = addLine(QStringLiteral("Max"), QPen(QColor(220, 120, 20), 1.5, Qt::DashLine));
    // Drawn as one picture per mark: a history can have tens of thousands of them, and the
    // series' own markers are a graphics item each.
    const auto addMarks = [chart](const QString& name, const QColor& color, bool square) {
        auto* marks = new QLineSeries(chart);
        marks->setName(name);
        marks->setPen(QPen(color, 0, Qt::NoPen));
        marks->setColor(color);
        marks->setMarkerSize(MarkSize);
        marks->setLightMarker(MarkPicture(color, MarkSize, square));
        marks->setPointsVisible(true);
        chart->addSeries(marks);
        return marks;
    };
    T1OutsideMarks = addMarks(QStringLiteral("T1 poza zakresem"), t1Color, false);
    T2OutsideMarks = addMarks(QStringLiteral("T2 poza zakresem"), t2Color, true);

    TimeAxis = new QDateTimeAxis(chart);
    TimeAxis->setFormat(QStringLiteral("dd.MM HH:mm"));
    TimeAxis->setTickCount(7);
    TemperatureAxis = new QValueAxis(chart);
    TemperatureAxis->setLabelFormat(QStringLiteral("%.1f"));
    TemperatureAxis->setTitleText(QStringLiteral("°C"));
    chart->addAxis(TimeAxis, Qt::AlignBottom);
    chart->addAxis(TemperatureAxis, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(TimeAxis);
        series->attachAxis(TemperatureAxis);
    }

    ChartView = named(new THistoryChartView(chart, this), QStringLiteral("ChartView"));
    ChartView->setAccessibleName(QStringLiteral("Wykres temperatur"));
    ChartView->setRenderHint(QPainter::Antialiasing);
    ChartView->setRubberBand(QChartView::RectangleRubberBand);
    ChartView->setMouseTracking(true);
    ChartView->setToolTip(QStringLiteral(
        "Kółko myszy powiększa, przeciągnięcie zaznacza obszar do powiększenia, prawy przycisk "
        "oddala"));
}

void THistoryChart::ShowHistory(const ParsedHistory& history, TemperatureLimits limits) {
    const std::vector<HistoryReading>& readings = history.Readings;
    if (readings.empty()) {
        Message->setText(history.SkippedLines == 0
                             ? QStringLiteral("Historia jest pusta. Pobierz ją z rejestratora "
                                              "(START) albo otwórz zapisany plik historii.")
                             : QStringLiteral("Żadna z linii historii (%1) nie jest odczytem "
                                              "temperatury: nie ma czego pokazać.")
                                   .arg(history.SkippedLines));
        Pages->setCurrentWidget(Message);
        return;
    }

    QList<QPointF> t1, t2;
    std::array<QList<QPointF>, 4> outside;
    t1.reserve(static_cast<qsizetype>(readings.size()));
    t2.reserve(static_cast<qsizetype>(readings.size()));
    int lowest = std::min(limits.Min, limits.Max) * 10;
    int highest = std::max(limits.Min, limits.Max) * 10;
    qint64 first = std::numeric_limits<qint64>::max();
    qint64 last = std::numeric_limits<qint64>::min();
    DesktopZoneOffsets zone;
    std::vector<double> readingX(readings.size(), std::nan(""));
    for (size_t i = 0; i < readings.size(); ++i) {
        const HistoryReading& reading = readings[i];
        const std::optional<qint64> seconds = reading.Seconds();
        if (!seconds)
            continue;
        const qint64 msecs = (*seconds - zone.SecondsAt(reading)) * 1000;
        const auto x = static_cast<double>(msecs);
        readingX[i] = x;
        first = std::min(first, msecs);
        last = std::max(last, msecs);
        for (const Sensor sensor : {Sensor::T1, Sensor::T2}) {
            const int tenths = TenthsOf(reading, sensor);
            (sensor == Sensor::T1 ? t1 : t2).append({x, Degrees(tenths)});
            const size_t group = (sensor == Sensor::T1 ? 0 : 2) + (tenths > limits.Max * 10);
            if (tenths > limits.Max * 10 || tenths < limits.Min * 10)
                outside[group].append({x, Degrees(tenths)});
            lowest = std::min(lowest, tenths);
            highest = std::max(highest, tenths);
        }
    }
    t1Points_ = std::move(t1);
    t2Points_ = std::move(t2);
    outsidePoints_ = std::move(outside);
    readings_ = readings;
    limits_ = limits;
    readingX_ = std::move(readingX);
    if (first > last) { // no reading with a real date: the band alone, around now
        first = QDateTime::currentMSecsSinceEpoch();
        last = first;
    }
    if (first == last) {
        first -= 30 * 60 * 1000;
        last += 30 * 60 * 1000;
    }
    MinLine->replace({{double(first), double(limits.Min)}, {double(last), double(limits.Min)}});
    MaxLine->replace({{double(first), double(limits.Max)}, {double(last), double(limits.Max)}});
    MinLine->setName(QStringLiteral("Min %1").arg(DegreesText(limits.Min * 10)));
    MaxLine->setName(QStringLiteral("Max %1").arg(DegreesText(limits.Max * 10)));
    ChartView->chart()->zoomReset();
    TimeAxis->setRange(QDateTime::fromMSecsSinceEpoch(first), QDateTime::fromMSecsSinceEpoch(last));
    DrawVisiblePoints();
    const double margin = std::max(1.0, Degrees(highest - lowest) * 0.05);
    TemperatureAxis->setRange(Degrees(lowest) - margin, Degrees(highest) + margin);
    TemperatureAxis->applyNiceNumbers();

    const HistoryFigures figures = FiguresOf(readings, limits);
    ShowFigures(readings, figures);
    ShowEpisodes();
    QStringList notes;
    notes << QStringLiteral("Odstęp zapisu: %1")
                 .arg(figures.IntervalSeconds > 0 ? DurationText(figures.IntervalSeconds)
                                                  : QStringLiteral("nieznany"));
    if (history.SkippedLines > 0)
        notes << QStringLiteral("pominięte linie: %1").arg(history.SkippedLines);
    if (figures.UndatedReadings > 0)
        notes << QStringLiteral("odczyty z nieistniejącą datą (pominięte): %1")
                     .arg(figures.UndatedReadings);
    Notes->setText(notes.join(QStringLiteral("; ")));
    Pages->setCurrentWidget(ChartView->parentWidget());
}

void THistoryChart::DrawVisiblePoints() {
    // A full history has far more readings than the plot has pixel columns; drawing each
    // column's extremes looks the same and costs a fraction.
    const double from = static_cast<double>(TimeAxis->min().toMSecsSinceEpoch());
    const double to = static_cast<double>(TimeAxis->max().toMSecsSinceEpoch());
    const int columns = std::max(100, static_cast<int>(ChartView->chart()->plotArea().width()));
    T1Series->replace(PointsToDraw(t1Points_, from, to, columns));
    T2Series->replace(PointsToDraw(t2Points_, from, to, columns));
    // Groups: T1 below, T1 above, T2 below, T2 above.
    T1OutsideMarks->replace(PointsToDraw(outsidePoints_[0], from, to, columns) +
                            PointsToDraw(outsidePoints_[1], from, to, columns));
    T2OutsideMarks->replace(PointsToDraw(outsidePoints_[2], from, to, columns) +
                            PointsToDraw(outsidePoints_[3], from, to, columns));
}

void THistoryChart::ShowFigures(const std::vector<HistoryReading>& readings,
                                const HistoryFigures& figures) {
    const std::pair<Sensor, const SensorFigures*> columns[] = {{Sensor::T1, &figures.T1},
                                                               {Sensor::T2, &figures.T2}};
    for (int column = 0; column < 2; ++column) {
        const auto& [sensor, f] = columns[column];
        QString texts[RowCount];
        texts[Count] = QString::number(f->Count);
        if (f->Count > 0) {
            texts[First] = ReadingTimeText(readings[*f->First]);
            texts[Last] = ReadingTimeText(readings[*f->Last]);
            texts[Lowest] =
                ValueAtTimeText(TenthsOf(readings[*f->Lowest], sensor), readings[*f->Lowest]);
            texts[Highest] =
                ValueAtTimeText(TenthsOf(readings[*f->Highest], sensor), readings[*f->Highest]);
            texts[Mean] = DegreesText(static_cast<int>(std::lround(f->MeanTenths)));
            if (const std::optional<double> kinetic = MeanKineticTemperature(readings, sensor))
                texts[MeanKinetic] = DegreesText(static_cast<int>(std::lround(*kinetic * 10)));
            texts[Above] =
                TimeOutsideText(f->SecondsAbove, f->ReadingsAbove, figures.IntervalSeconds);
            texts[Below] =
                TimeOutsideText(f->SecondsBelow, f->ReadingsBelow, figures.IntervalSeconds);
        }
        for (int row = 0; row < RowCount; ++row)
            Figures->setItem(row, column, new QTableWidgetItem(texts[row]));
    }
}

void THistoryChart::ShowEpisodes() {
    const HistoryExcursions found = ExcursionsOf(readings_, limits_, Delay->value());
    const double interval = static_cast<double>(found.IntervalSeconds) * 1000;
    struct Row {
        double From, To;
        QStringList Texts;
        QColor Shade;
    };
    QList<Row> rows;
    const auto addEpisodes = [&](const SensorExcursions& sensor, const QString& name,
                                 const QColor& shade) {
        for (const Excursion& e : sensor.Episodes) {
            const HistoryReading& extreme = readings_[e.Extreme];
            rows.append({readingX_[e.First],
                         readingX_[e.Last] + interval,
                         {name,
                          e.Side == ExcursionSide::Above ? QStringLiteral("powyżej Max")
                                                         : QStringLiteral("poniżej Min"),
                          ReadingTimeText(readings_[e.First]), ReadingTimeText(readings_[e.Last]),
                          DurationText(e.DurationSeconds),
                          ValueAtTimeText(TenthsOf(extreme, e.Of), extreme)},
                         shade});
        }
    };
    addEpisodes(found.T1, QStringLiteral("T1"), QColor(200, 40, 30, 40));
    addEpisodes(found.T2, QStringLiteral("T2"), QColor(30, 90, 200, 40));
    for (const ReadingGap& gap : found.Gaps)
        rows.append({readingX_[gap.Before],
                     readingX_[gap.After],
                     {QString(), QStringLiteral("przerwa w odczytach"),
                      ReadingTimeText(readings_[gap.Before]), ReadingTimeText(readings_[gap.After]),
                      DurationText(gap.Seconds), QString()},
                     QColor(128, 128, 128, 50)});
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.From < b.From; });

    Episodes->setRowCount(static_cast<int>(rows.size()));
    rowSpans_.clear();
    QList<THistoryChartView::TSpan> spans;
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < EpisodeColumnCount; ++column)
            Episodes->setItem(row, column, new QTableWidgetItem(rows[row].Texts.value(column)));
        rowSpans_.append({rows[row].From, rows[row].To});
        spans.append({rows[row].From, rows[row].To, rows[row].Shade});
    }
    Episodes->resizeColumnsToContents();
    ChartView->SetSpans(spans);
}

void THistoryChart::ZoomToEpisode(int row) {
    if (row < 0 || row >= rowSpans_.size())
        return;
    // A little of the band on either side shows where the episode began and ended.
    const auto [from, to] = rowSpans_[row];
    const double margin = std::max((to - from) * 0.25, 60'000.0);
    TimeAxis->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(from - margin)),
                       QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(to + margin)));
}

void THistoryChart::ShowPointer(QPointF value, bool insidePlot) {
    if (!insidePlot || T1Series->count() == 0) {
        PointerValue->clear();
        return;
    }
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(value.x()));
    PointerValue->setText(QStringLiteral("%1   %2").arg(
        time.toString(TimeFormat), DegreesText(static_cast<int>(std::lround(value.y() * 10)))));
}

void THistoryChart::SaveImage() {
    if (!desktop_.ExecuteSaveDialog(ImageDialog))
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const bool drawn = ChartView->grab().save(&buffer, "PNG");
    if (drawn && WriteWholeFile(ImageDialog.FileName, png))
        desktop_.ShowMessage(MessageKind::Information, QStringLiteral("Zapisano obraz wykresu"));
    else
        desktop_.ShowMessage(MessageKind::Error, QStringLiteral("Błąd zapisu"));
}
