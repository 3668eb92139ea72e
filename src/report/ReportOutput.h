#pragma once

#include "report/HistoryReport.h"
#include "ui/Desktop.h"

// The report's two ways out of a window, the same from every window that offers it.

// Writes the report as a PDF file, whole or not at all, and says how it went.
void SaveHistoryReportPdf(Desktop& desktop, const QString& path, const THistoryReportInput& input);

// Prints the report through the print dialog, laid out for the paper chosen there.
void PrintHistoryReport(Desktop& desktop, const THistoryReportInput& input);

// The save dialog's settings for a report.
void PrepareReportDialog(FileDialog& dialog);
