#include "report/ReportOutput.h"

#include "config/WholeFile.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPrinter>

void SaveHistoryReportPdf(Desktop& desktop, const QString& path, const THistoryReportInput& input) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    if (WriteHistoryReportPdf(input, pdf) && WriteWholeFile(path, pdf.data()))
        desktop.ShowMessage(MessageKind::Information, QStringLiteral("Zapisano raport PDF"));
    else
        desktop.ShowMessage(MessageKind::Error, QStringLiteral("Błąd zapisu"));
}

void PrintHistoryReport(Desktop& desktop, const THistoryReportInput& input) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QStringLiteral("Raport temperatur"));
    if (!desktop.ExecutePrintDialog(printer))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        desktop.ShowMessage(MessageKind::Error, QStringLiteral("Błąd drukowania"));
        return;
    }
    PaintHistoryReport(input, painter, printer);
    painter.end();
}

void PrepareReportDialog(FileDialog& dialog) {
    dialog.Filter = QStringLiteral("Dokument PDF|*.pdf");
    dialog.DefaultExt = QStringLiteral("pdf");
    dialog.InitialDir = QDir::homePath();
}
