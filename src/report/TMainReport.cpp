// The main window's report: the history box's readings, the editor's header texts and
// limits, and the chart window's delay, as a PDF file.
#include "ui/TMain.h"

#include "core/Guarded.h"
#include "operations/THistoryChart.h"
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
    // Only a download says where and when the readings came from; a file does not. The
    // header and the band are those the editor holds now, said as they are.
    TDownloadStart start = BoxDownload.value_or(TDownloadStart{});
    start.Config = CurrentConfig();
    start.ConfigFromRecorder = true;
    THistoryReportInput input = DownloadReportInput(start, HistoryText().split(u'\n'));
    if (input.Readings.empty()) {
        desk().ShowMessage(MessageKind::Error,
                           QStringLiteral("Brak odczytów temperatury do raportu"));
        return std::nullopt;
    }
    // The episodes as the chart window counts them, when it is open.
    if (HistoryChart != nullptr && HistoryChart->isVisible())
        input.DelayMinutes = HistoryChart->Delay->value();
    input.IncludeReadings = TabelaOdczytow1->isChecked();
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
