// The main window's report: the history box's readings, the editor's header texts and
// limits, and the chart window's delay, as a PDF file.
#include "ui/TMain.h"

#include "core/Guarded.h"
#include "operations/HistoryReadings.h"
#include "operations/THistoryChart.h"
#include "protocol/TRecorderSession.h"
#include "report/HistoryReport.h"
#include "report/ReportOutput.h"

#include <QAction>
#include <QSpinBox>

void TMain::ConnectReportHandlers() {
    connect(RaportPdf1, &QAction::triggered, this, Guarded(this, &TMain::RaportPdf1Click));
    connect(DrukujRaport1, &QAction::triggered, this, Guarded(this, &TMain::DrukujRaport1Click));
    PrepareReportDialog(ReportDialog);
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
    input.IncludeReadings = TabelaOdczytow1->isChecked();
    // Only a download says where and when the readings came from; a file does not.
    if (BoxDownload) {
        input.Downloaded = BoxDownload->Started;
        input.Port = BoxDownload->Port;
        input.Firmware = BoxDownload->FirmwareVersion;
    }
    input.ReportDate = desk().Now();
    return input;
}

void TMain::RaportPdf1Click() {
    const std::optional<THistoryReportInput> input = HistoryBoxReport();
    if (input && desk().ExecuteSaveDialog(ReportDialog))
        SaveHistoryReportPdf(desk(), ReportDialog.FileName, *input);
}

void TMain::DrukujRaport1Click() {
    if (const std::optional<THistoryReportInput> input = HistoryBoxReport())
        PrintHistoryReport(desk(), *input);
}
