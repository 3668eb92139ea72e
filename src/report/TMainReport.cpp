// The main window's report: the history box's readings, the editor's header texts and
// limits, and the chart window's delay, as a PDF file.
#include "ui/TMain.h"

#include "config/WholeFile.h"
#include "core/Guarded.h"
#include "operations/HistoryReadings.h"
#include "operations/THistoryChart.h"
#include "protocol/TRecorderSession.h"
#include "report/HistoryReport.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QSpinBox>

void TMain::ConnectReportHandlers() {
    connect(RaportPdf1, &QAction::triggered, this, Guarded(this, &TMain::RaportPdf1Click));
    connect(DrukujRaport1, &QAction::triggered, this, Guarded(this, &TMain::DrukujRaport1Click));
    ReportDialog.Filter = QStringLiteral("Dokument PDF|*.pdf");
    ReportDialog.DefaultExt = QStringLiteral("pdf");
    ReportDialog.InitialDir = QDir::homePath();
}

std::optional<THistoryReportInput> TMain::HistoryBoxReport() {
    THistoryReportInput input;
    input.Readings = ParseHistory(HistoryText()).Readings;
    if (input.Readings.empty()) {
        desk().ShowMessage(MessageKind::Error,
                           QStringLiteral("Brak odczytów temperatury do raportu"));
        return std::nullopt;
    }
    const ConfigRecord& config = CurrentConfig();
    input.Header = config;
    input.Limits = LimitsOfBytes(config.TempMin, config.TempMax);
    // The episodes as the chart window counts them, when it is open.
    if (HistoryChart != nullptr && HistoryChart->isVisible())
        input.DelayMinutes = HistoryChart->Delay->value();
    input.Firmware = Session->State().FirmwareVersion;
    input.ReportDate = desk().Now();
    return input;
}

void TMain::RaportPdf1Click() {
    const std::optional<THistoryReportInput> input = HistoryBoxReport();
    if (!input || !desk().ExecuteSaveDialog(ReportDialog))
        return;
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    if (WriteHistoryReportPdf(*input, pdf) && WriteWholeFile(ReportDialog.FileName, pdf.data()))
        desk().ShowMessage(MessageKind::Information, QStringLiteral("Zapisano raport PDF"));
    else
        desk().ShowMessage(MessageKind::Error, QStringLiteral("Błąd zapisu"));
}

void TMain::DrukujRaport1Click() {
    const std::optional<THistoryReportInput> input = HistoryBoxReport();
    if (!input)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QStringLiteral("Raport temperatur"));
    if (!desk().ExecutePrintDialog(printer))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        desk().ShowMessage(MessageKind::Error, QStringLiteral("Błąd drukowania"));
        return;
    }
    // The same pages as the PDF, laid out for the printer's paper.
    PaintHistoryReport(*input, painter, printer);
    painter.end();
}
