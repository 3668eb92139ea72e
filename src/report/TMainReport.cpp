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
#include <QSpinBox>

void TMain::ConnectReportHandlers() {
    connect(RaportPdf1, &QAction::triggered, this, Guarded(this, &TMain::RaportPdf1Click));
    ReportDialog.Filter = QStringLiteral("Dokument PDF|*.pdf");
    ReportDialog.DefaultExt = QStringLiteral("pdf");
    ReportDialog.InitialDir = QDir::homePath();
}

void TMain::RaportPdf1Click() {
    THistoryReportInput input;
    input.Readings = ParseHistory(HistoryText()).Readings;
    if (input.Readings.empty()) {
        desk().ShowMessage(MessageKind::Error,
                           QStringLiteral("Brak odczytów temperatury do raportu"));
        return;
    }
    const ConfigRecord& config = CurrentConfig();
    input.Header = config;
    input.Limits = LimitsOfBytes(config.TempMin, config.TempMax);
    // The episodes as the chart window counts them, when it is open.
    if (HistoryChart != nullptr && HistoryChart->isVisible())
        input.DelayMinutes = HistoryChart->Delay->value();
    input.Firmware = Session->State().FirmwareVersion;
    input.ReportDate = desk().Now();
    if (!desk().ExecuteSaveDialog(ReportDialog))
        return;
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    if (WriteHistoryReportPdf(input, pdf) && WriteWholeFile(ReportDialog.FileName, pdf.data()))
        desk().ShowMessage(MessageKind::Information, QStringLiteral("Zapisano raport PDF"));
    else
        desk().ShowMessage(MessageKind::Error, QStringLiteral("Błąd zapisu"));
}
