// The main window's history as readings: the chart window that follows the history box,
// the CSV export and saved histories opened again. The text box and its file stay as the
// download and "Zapisz do pliku" make them.
#include "ui/TMain.h"

#include "config/WholeFile.h"
#include "core/Guarded.h"
#include "operations/HistoryCsv.h"
#include "operations/HistoryFigures.h"
#include "operations/HistoryFile.h"
#include "operations/HistoryReadings.h"
#include "operations/THistoryChart.h"
#include "protocol/TRecorderSession.h"
#include "ui/TEdit.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>

namespace {
// Fast enough to watch a download fill the chart, slow enough to leave it time.
constexpr int ChartRefreshMs = 300;
} // namespace

void TMain::ConnectHistoryChartHandlers() {
    connect(WykresTemperatur1, &QAction::triggered, this,
            Guarded(this, &TMain::WykresTemperatur1Click));
    connect(EksportCsv1, &QAction::triggered, this, Guarded(this, &TMain::EksportCsv1Click));
    connect(OtworzHistorie1, &QAction::triggered, this,
            Guarded(this, &TMain::OtworzHistorie1Click));
    trm->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(trm, &QPlainTextEdit::customContextMenuRequested, this,
            Guarded(this, &TMain::ShowHistoryContextMenu));

    HistoryChartRefresh = new QTimer(this);
    HistoryChartRefresh->setObjectName(QStringLiteral("HistoryChartRefresh"));
    HistoryChartRefresh->setSingleShot(true);
    HistoryChartRefresh->setInterval(ChartRefreshMs);
    connect(HistoryChartRefresh, &QTimer::timeout, this,
            Guarded(this, &TMain::RefreshHistoryChart));
    connect(trm, &QPlainTextEdit::textChanged, this, &TMain::HistoryChartDue);
    for (TEdit* limit : {TempMin, TempMax})
        connect(limit, &QLineEdit::textChanged, this, &TMain::HistoryChartDue);

    CsvDialog.Filter = QStringLiteral("Arkusz CSV|*.csv");
    CsvDialog.DefaultExt = QStringLiteral("csv");
    CsvDialog.InitialDir = QDir::homePath();
    HistoryOpenDialog.Filter = QStringLiteral("Historia TC-8|*.txt");
    HistoryOpenDialog.DefaultExt = QStringLiteral("txt");
    HistoryOpenDialog.InitialDir = QDir::homePath();
}

void TMain::HistoryChartDue() {
    // A change that comes while a refresh is due joins it rather than putting it off.
    if (HistoryChart != nullptr && HistoryChart->isVisible() && !HistoryChartRefresh->isActive())
        HistoryChartRefresh->start();
}

void TMain::RefreshHistoryChart() {
    if (HistoryChart == nullptr)
        return;
    HistoryChart->ShowHistory(ParseHistory(HistoryText()),
                              LimitsOfBytes(CurrentConfig().TempMin, CurrentConfig().TempMax));
}

void TMain::WykresTemperatur1Click() {
    if (HistoryChart == nullptr) {
        HistoryChart = new THistoryChart(desk(), this);
        connect(HistoryChart, &THistoryChart::ReportPdfRequested, this,
                Guarded(this, &TMain::RaportPdf1Click));
        connect(HistoryChart, &THistoryChart::PrintReportRequested, this,
                Guarded(this, &TMain::DrukujRaport1Click));
    }
    HistoryChartRefresh->stop();
    RefreshHistoryChart();
    HistoryChart->show();
    HistoryChart->raise();
    HistoryChart->activateWindow();
}

void TMain::EksportCsv1Click() {
    const ParsedHistory history = ParseHistory(HistoryText());
    if (history.Readings.empty()) {
        desk().ShowMessage(MessageKind::Error,
                           QStringLiteral("Brak odczytów temperatury do eksportu"));
        return;
    }
    if (!desk().ExecuteSaveDialog(CsvDialog))
        return;
    if (WriteWholeFile(CsvDialog.FileName, HistoryCsvBytes(history.Readings)))
        desk().ShowMessage(MessageKind::Information, QStringLiteral("Zapisano plik CSV"));
    else
        desk().ShowMessage(MessageKind::Error, QStringLiteral("Błąd zapisu"));
}

void TMain::OtworzHistorie1Click() {
    // The records still coming would follow the file's lines.
    if (Session->HistoryDownloadRunning()) {
        desk().ShowMessage(MessageKind::Error,
                           QStringLiteral("Najpierw zakończ pobieranie historii (STOP)"));
        return;
    }
    if (!desk().ExecuteOpenDialog(HistoryOpenDialog))
        return;
    const OpenedHistoryFile opened = OpenHistoryFile(HistoryOpenDialog.FileName);
    if (!opened.Problem.isEmpty()) {
        desk().ShowMessage(MessageKind::Error, opened.Problem, opened.Detail);
        return;
    }
    trm->setPlainText(opened.Text);
    // Saved again, the file keeps the line end of its last line.
    HistoryEndsWithDownloadedLine = opened.EndsWithLineEnd;
    BoxDownload.reset();
    desk().ShowMessage(MessageKind::Information, QStringLiteral("Odczytano plik historii"));
}

void TMain::ShowHistoryContextMenu(const QPoint& at) {
    QMenu* menu = trm->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("HistoryContextMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    menu->addActions({WykresTemperatur1, EksportCsv1, RaportPdf1, DrukujRaport1, TabelaOdczytow1,
                      OtworzHistorie1, ArchiwumPobran1});
    menu->popup(trm->viewport()->mapToGlobal(at));
}
