#pragma once

#include "config/ConfigRecord.h"
#include "operations/ArchivedHistory.h"
#include "operations/HistoryFigures.h"
#include "operations/HistoryReadings.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

class QIODevice;
class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

// What a printed report of a download is made of. The report's date is given, not taken
// from the clock, so that the same input gives the same pages.
struct THistoryReportInput {
    std::vector<HistoryReading> Readings;
    TemperatureLimits Limits;
    int DelayMinutes = 0;
    ConfigRecord Header; // TC8Nazwa, TC8Nazwa2, TC8Nazwa3, TC8Typ and TC8name
    // False when the header and the band are the program's, not known to be the recorder's
    // (an archived download whose configuration was not read from it): the report says so.
    bool HeaderFromRecorder = true;
    // The download's facts, each left out of the report when empty.
    QDateTime Downloaded;
    QString Port;
    QString Firmware;
    // How a download that did not come whole ended ("zatrzymane"): the report says it holds
    // only what arrived. Empty for a whole one, or when not known.
    QString Incomplete;
    bool IncludeReadings = false;
    QDateTime ReportDate;
    QString ProgramName = QStringLiteral("Konfigurator TC-8");
    QString ProgramVersion = QStringLiteral(TC8_VERSION);
};

// The report laid out on the pages of one device: its page count is known before the first
// page is painted, which the footer's "Strona N z M" needs. The device gives the page's
// paintable area (inside its margins) and its resolution; the painter may be any painter on
// a device of the same size, so a preview and a printer show the same pages.
class THistoryReport {
public:
    THistoryReport(THistoryReportInput input, const QPaintDevice& device);
    THistoryReport(const THistoryReport&) = delete;
    THistoryReport& operator=(const THistoryReport&) = delete;
    ~THistoryReport();

    int PageCount() const { return static_cast<int>(pages_.size()); }
    // Paints page `page` (from 0) with its footer.
    void PaintPage(QPainter& painter, int page) const;

private:
    using TDraw = std::function<void(QPainter&)>;
    struct TLayout;

    THistoryReportInput input_;
    qreal dotsPerMm_ = 1;
    qreal width_ = 0;
    qreal height_ = 0;
    std::vector<std::vector<TDraw>> pages_;
};

// The report of a download's lines (or of several of one recorder merged) with the header,
// band and facts recorded when it started.
THistoryReportInput DownloadReportInput(const TDownloadStart& start, const QStringList& lines);

// Paints every page of the report with `painter`, which is active on `device`, turning the
// device's pages between them.
void PaintHistoryReport(const THistoryReportInput& input, QPainter& painter,
                        QPagedPaintDevice& device);

// The report as an A4 PDF document written to `out`, which is open for writing. False when
// the document could not be written.
bool WriteHistoryReportPdf(const THistoryReportInput& input, QIODevice& out);
