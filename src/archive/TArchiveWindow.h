#pragma once

#include "archive/HistoryArchive.h"
#include "report/HistoryReport.h"
#include "ui/Desktop.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QStackedWidget;
class QStandardItemModel;
class QTableView;

// The archive of history downloads as a list: which recorder, when, what came and how it
// ended, filtered by recorder and by the period of the readings. A chosen download (or
// several of one recorder, merged) goes into the main window's history box, or into a text
// or CSV file; downloads can be deleted. Not modal; it reads the archive itself, beside the
// session that writes it.
class TArchiveWindow : public QDialog {
    Q_OBJECT
public:
    TArchiveWindow(Desktop& desktop, QString archivePath, QWidget* owner);
    ~TArchiveWindow() override;

    // Lists the downloads anew as the filter says, keeping the selection where it can.
    void Reload();
    // The download the session is writing now: listed as running and not deleted.
    void SetRunningDownload(std::function<std::optional<qint64>()> running) {
        running_ = std::move(running);
    }

    QComboBox* RecorderFilter = nullptr; // "wszystkie", then each recorder's label
    QCheckBox* PeriodFilter = nullptr;   // off: readings of any time
    QDateEdit* FromDate = nullptr;
    QDateEdit* ToDate = nullptr;
    QStackedWidget* Pages = nullptr; // the list, or why there is none
    QLabel* Message = nullptr;
    QTableView* Table = nullptr;
    QStandardItemModel* Model = nullptr;
    QLabel* Count = nullptr;
    QPushButton* ButtonOpen = nullptr;
    QPushButton* ButtonExportTxt = nullptr;
    QPushButton* ButtonExportCsv = nullptr;
    QPushButton* ButtonReportPdf = nullptr;
    QPushButton* ButtonPrintReport = nullptr;
    QCheckBox* ReportReadings = nullptr; // the report with the table of every reading
    QPushButton* ButtonDelete = nullptr;
    QPushButton* ButtonRefresh = nullptr;
    FileDialog TxtDialog;
    FileDialog CsvDialog;
    FileDialog ReportDialog;

    // The table's columns.
    enum Column { Started, Recorder, FirstReading, LastReading, Records, End, Port, ColumnCount };

signals:
    // The lines of the chosen download(s), for the history box, and what was known of the
    // (newest) download when it started.
    void HistoryChosen(const QStringList& lines, const TDownloadStart& start);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OpenSelected();
    void ExportTxt();
    void ExportCsv();
    void ReportPdf();
    void PrintReport();
    // The report of the selection, with the header the newest of it was downloaded with.
    std::optional<THistoryReportInput> SelectedReport();
    void DeleteSelected();
    void SelectionChanged();
    void ShowProblem();
    void FillRecorders(const QList<TDownloadSummary>& all);
    void FillTable();
    TArchiveFilter Filter() const;
    QList<TDownloadSummary> Selected() const;
    // The history lines of the selection: one download as it came, several of one recorder
    // merged without an end line. Says why not, and gives nothing, when they cannot be.
    std::optional<QStringList> SelectedLines();
    // Asks for a file to save the selection to, suggesting a name by its last reading.
    bool ChooseFile(FileDialog& dialog, const QString& prefix, const QString& extension);

    Desktop& desktop_;
    const QString path_;
    std::unique_ptr<THistoryArchive> archive_;
    QList<TDownloadSummary> shown_; // the table's rows, in order
    std::function<std::optional<qint64>()> running_;
    bool IsRunning(const TDownloadSummary& download) const {
        return running_ && running_() == download.Id;
    }
};
