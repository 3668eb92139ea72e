#pragma once

#include "operations/HistoryFigures.h"
#include "operations/HistoryReadings.h"
#include "ui/Desktop.h"

#include <QChartView>
#include <QColor>
#include <QDialog>
#include <array>

class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;
class QValueAxis;

// The chart's view: the wheel zooms around the pointer, a dragged rectangle zooms into it,
// and the time and temperature under the pointer are reported as it moves.
class THistoryChartView : public QChartView {
    Q_OBJECT
public:
    using QChartView::QChartView;

    // Time spans (msecs, as the time axis counts) shaded across the plot, each in its colour.
    struct TSpan {
        double From = 0;
        double To = 0;
        QColor Color;
    };
    void SetSpans(QList<TSpan> spans);
    const QList<TSpan>& Spans() const { return spans_; }

signals:
    void PointerMoved(QPointF value, bool insidePlot);

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QList<TSpan> spans_;
};

// The temperature history as a chart: T1 and T2 over time against the band of TempMin and
// TempMax, the readings outside it marked, the figures of each sensor below. Not modal; the
// main window gives it the readings and the band whenever they change.
class THistoryChart : public QDialog {
    Q_OBJECT
public:
    THistoryChart(Desktop& desktop, QWidget* owner);
    ~THistoryChart() override;

    // The readings of the history box, lines of other forms counted in history.SkippedLines.
    void ShowHistory(const ParsedHistory& history, TemperatureLimits limits);

    QStackedWidget* Pages = nullptr; // the message, or the chart with its figures
    QLabel* Message = nullptr;       // why there is no chart
    THistoryChartView* ChartView = nullptr;
    QLineSeries* T1Series = nullptr;
    QLineSeries* T2Series = nullptr;
    QLineSeries* MinLine = nullptr;
    QLineSeries* MaxLine = nullptr;
    QLineSeries* T1OutsideMarks = nullptr; // points only
    QLineSeries* T2OutsideMarks = nullptr;
    QDateTimeAxis* TimeAxis = nullptr;
    QValueAxis* TemperatureAxis = nullptr;
    QTableWidget* Figures = nullptr;
    QSpinBox* Delay = nullptr;        // minutes an episode must last to count
    QTableWidget* Episodes = nullptr; // the episodes of both sensors and the gaps, by time
    QLabel* Notes = nullptr;          // interval, skipped lines, readings without a real date
    QLabel* PointerValue = nullptr;   // the time and temperature under the pointer
    QPushButton* ButtonReset = nullptr;
    QPushButton* ButtonSaveImage = nullptr;
    // The report of what the chart shows, with the delay of the field; the owner writes it,
    // as it knows the header the readings came with.
    QPushButton* ButtonReportPdf = nullptr;
    QPushButton* ButtonPrintReport = nullptr;
    FileDialog ImageDialog;

signals:
    void ReportPdfRequested();
    void PrintReportRequested();

private:
    void BuildChart();
    void ShowFigures(const std::vector<HistoryReading>& readings, const HistoryFigures& figures);
    void ShowPointer(QPointF value, bool insidePlot);
    void SaveImage();
    void DrawVisiblePoints();
    // The episodes outside the band with the delay of the field: the table and the spans.
    void ShowEpisodes();
    void ZoomToEpisode(int row);

    // Every dated reading of each sensor as (msecs, degrees), and those outside the band by
    // sensor and side (T1 below, T1 above, T2 below, T2 above), so that a column keeps the
    // extremes of each.
    QList<QPointF> t1Points_;
    QList<QPointF> t2Points_;
    std::array<QList<QPointF>, 4> outsidePoints_;
    // What the episodes are found in: the readings, the band, and each reading's place on
    // the time axis (NaN for one without a real date).
    std::vector<HistoryReading> readings_;
    TemperatureLimits limits_;
    std::vector<double> readingX_;
    // Each episode row's span on the time axis.
    QList<std::pair<double, double>> rowSpans_;

    Desktop& desktop_;
};
