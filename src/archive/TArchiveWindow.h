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
class TCompanyLink;
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
// session that writes it. With a company archive set up it also lists every PC's downloads
// there (read on a thread of their own, so a slow server holds up nothing), and sends this
// PC's.
class TArchiveWindow : public QDialog {
    Q_OBJECT
public:
    TArchiveWindow(Desktop& desktop, QString archivePath, QWidget* owner);
    ~TArchiveWindow() override;

    // Lists the downloads anew as the filter says, keeping the selection where it can.
    void Reload();
    // The download the session is writing now: listed as running and not deleted.
    void SetRunningDownload(std::function<std::optional<QUuid>()> running) {
        running_ = std::move(running);
    }
    // The link that sends this PC's downloads to the company archive; null when none is set
    // up. The window reads that archive through a link of its own to the same address.
    void SetCompanyLink(TCompanyLink* sender);

    QComboBox* SourceChoice = nullptr;   // "ten komputer", "archiwum firmy"
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
    QPushButton* ButtonSend = nullptr; // "Wyślij do archiwum firmy"
    QLabel* SendState = nullptr;       // what the last sending did
    FileDialog TxtDialog;
    FileDialog CsvDialog;
    FileDialog ReportDialog;

    // The table's columns.
    enum Column {
        Started,
        Recorder,
        FirstReading,
        LastReading,
        Records,
        End,
        Port,
        Host, // the PC that made it: shown for the company archive
        ColumnCount
    };

signals:
    // The lines of the chosen download(s), for the history box, and what was known of the
    // (newest) download when it started.
    void HistoryChosen(const QStringList& lines, const TDownloadStart& start);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using LinesUse =
        std::function<void(const QList<TDownloadSummary>& chosen, const QStringList& lines)>;
    void OpenSelected();
    void ExportTxt();
    void ExportCsv();
    void ReportPdf();
    void PrintReport();
    // The report of downloads, with the header the newest of them was downloaded with.
    THistoryReportInput ReportOf(const QList<TDownloadSummary>& chosen, const QStringList& lines);
    void DeleteSelected();
    bool CompanyShown() const;
    void ReloadCompany();
    void CompanyBrowsed(const QList<TDownloadSummary>& all, const QList<TDownloadSummary>& shown,
                        const QString& problem);
    void SendToCompany();
    // What the last push did, or that one is under way.
    void ShowSendState();
    void ShowList(const QList<TDownloadSummary>& all, QList<TDownloadSummary> shown);
    void SelectionChanged();
    void ShowProblem(const QString& text);
    void FillRecorders(const QList<TDownloadSummary>& all);
    void FillTable();
    TArchiveFilter Filter() const;
    QList<TDownloadSummary> Selected() const;
    // Gives `use` the history lines of the selection: one download as it came, several of
    // one recorder merged without an end line; at once from this PC's archive, when they
    // have come from the company's. Says why not, and gives nothing, when they cannot be.
    void WithSelectedLines(LinesUse use);
    void LinesCame(const QList<TDownloadSummary>& chosen, const std::optional<QStringList>& lines,
                   const QString& problem);
    // Asks for a file to save downloads to, suggesting a name by their last reading.
    bool ChooseFile(const QList<TDownloadSummary>& chosen, FileDialog& dialog,
                    const QString& prefix, const QString& extension);

    Desktop& desktop_;
    const QString path_;
    std::unique_ptr<THistoryArchive> archive_;
    QList<QWidget*> companyControls_; // shown while a company archive is set up
    TCompanyLink* sender_ = nullptr;
    std::unique_ptr<TCompanyLink> reader_;
    LinesUse pendingUse_;           // waiting for lines from the company archive
    QList<TDownloadSummary> shown_; // the table's rows, in order
    std::function<std::optional<QUuid>()> running_;
    bool IsRunning(const TDownloadSummary& download) const {
        // By identity: in the company archive the numbers are the company's.
        return running_ && running_() == download.Uuid;
    }
};
