#include "archive/TArchiveWindow.h"

#include "archive/CompanyLink.h"

#include "config/WholeFile.h"
#include "core/Guarded.h"
#include "operations/ArchivedHistory.h"
#include "operations/HistoryCsv.h"
#include "operations/HistoryFile.h"
#include "operations/HistoryReadings.h"
#include "report/ReportOutput.h"
#include "ui/ControlBuilders.h"
#include "ui/WindowFont.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString AllRecorders = QStringLiteral("wszystkie");
const QString ThisPc = QStringLiteral("ten komputer");
const QString Company = QStringLiteral("archiwum firmy");
const QString UnknownRecorder = RecorderLabel({}, false);
// Room on either side of a column's widest text.
constexpr int ColumnPadding = 14;

QString LabelOf(const TDownloadSummary& download) {
    return RecorderLabel(download.Start.Config, download.Start.ConfigFromRecorder);
}

// "2026-12-07 01:30:05" as a Polish reader writes it, "07.12.2026 01:30". The text is
// rearranged rather than parsed: a record may carry a date that does not exist.
QString ReadingTimeShown(const QString& time) {
    if (time.size() < 16)
        return QStringLiteral("–");
    return QStringLiteral("%1.%2.%3 %4")
        .arg(time.mid(8, 2), time.mid(5, 2), time.left(4), time.mid(11, 5));
}

QStandardItem* Cell(const QString& text, const QString& hint = {}) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    item->setToolTip(hint);
    return item;
}

// The download of a selection whose header and facts stand for it: the newest.
const TDownloadSummary& NewestOf(const QList<TDownloadSummary>& chosen) {
    return *std::max_element(chosen.begin(), chosen.end(),
                             [](const TDownloadSummary& a, const TDownloadSummary& b) {
                                 return a.Start.Started < b.Start.Started;
                             });
}

} // namespace

TArchiveWindow::TArchiveWindow(Desktop& desktop, QString archivePath, QWidget* owner)
    : QDialog(owner, Qt::Window), desktop_(desktop), path_(std::move(archivePath)) {
    setObjectName(QStringLiteral("ArchiveWindow"));
    setWindowTitle(QStringLiteral("Archiwum pobrań"));
    setFont(WindowFont());
    resize(880, 400);

    // In a box of their own, so that hidden they leave no gap in the row.
    auto* sourceBox = new QWidget(this);
    auto* sourceLabel = named(new QLabel(QStringLiteral("Archiwum:"), sourceBox),
                              QStringLiteral("LabelSourceChoice"));
    SourceChoice = named(new QComboBox(sourceBox), QStringLiteral("SourceChoice"));
    SourceChoice->addItems({ThisPc, Company});
    SourceChoice->setToolTip(QStringLiteral(
        "Pobrania z tego komputera albo z archiwum firmy, do którego wysyłają wszystkie"));
    labelField(sourceLabel, SourceChoice);
    auto* recorderLabel = named(new QLabel(QStringLiteral("Rejestrator:"), this),
                                QStringLiteral("LabelRecorderFilter"));
    RecorderFilter = named(new QComboBox(this), QStringLiteral("RecorderFilter"));
    RecorderFilter->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    RecorderFilter->setMinimumContentsLength(24);
    RecorderFilter->setToolTip(QStringLiteral("Pokaż pobrania jednego rejestratora"));
    labelField(recorderLabel, RecorderFilter);
    PeriodFilter = named(new QCheckBox(QStringLiteral("Okres odczytów"), this),
                         QStringLiteral("PeriodFilter"));
    PeriodFilter->setAccessibleName(PeriodFilter->text());
    PeriodFilter->setToolTip(
        QStringLiteral("Pokaż tylko pobrania z odczytami z tego okresu (od i do włącznie)"));
    const QDate today = desktop_.Now().date();
    const auto dateField = [this](const QString& name, const QString& caption, const QString& heard,
                                  const QDate& date) {
        auto* label = named(new QLabel(caption, this), QStringLiteral("Label") + name);
        auto* field = named(new QDateEdit(date, this), name);
        field->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        field->setCalendarPopup(true);
        field->setEnabled(false);
        field->setMinimumWidth(
            field->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000")) + 44);
        labelField(label, field);
        field->setAccessibleName(heard);
        return std::pair{label, field};
    };
    const auto [fromLabel, from] = dateField(QStringLiteral("FromDate"), QStringLiteral("od:"),
                                             QStringLiteral("Okres od"), today.addMonths(-1));
    const auto [toLabel, to] = dateField(QStringLiteral("ToDate"), QStringLiteral("do:"),
                                         QStringLiteral("Okres do"), today);
    FromDate = from;
    ToDate = to;

    Pages = named(new QStackedWidget(this), QStringLiteral("Pages"));
    Message = named(new QLabel(Pages), QStringLiteral("Message"));
    Message->setAlignment(Qt::AlignCenter);
    Message->setWordWrap(true);
    Pages->addWidget(Message);
    Model = new QStandardItemModel(0, ColumnCount, this);
    Model->setObjectName(QStringLiteral("Model"));
    Model->setHorizontalHeaderLabels({QStringLiteral("Pobrano"), QStringLiteral("Rejestrator"),
                                      QStringLiteral("Pierwszy odczyt"),
                                      QStringLiteral("Ostatni odczyt"), QStringLiteral("Odczytów"),
                                      QStringLiteral("Zakończenie"), QStringLiteral("Port"),
                                      QStringLiteral("Komputer")});
    Table = named(new QTableView(Pages), QStringLiteral("Table"));
    Table->setModel(Model);
    Table->setAccessibleName(QStringLiteral("Pobrania w archiwum"));
    Table->setAccessibleDescription(QStringLiteral(
        "Enter otwiera zaznaczone pobrania w oknie historii, Delete usuwa je z archiwum"));
    Table->setToolTip(QStringLiteral("Dwukrotne kliknięcie lub Enter otwiera pobranie, Delete "
                                     "usuwa; Ctrl i Shift zaznaczają kilka pobrań"));
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setAlternatingRowColors(true);
    Table->setWordWrap(false);
    Table->setTabKeyNavigation(false);
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 8);
    // The recorder's label is the one text of any length; it takes what width is left, the
    // others fit their contents (FillTable).
    Table->horizontalHeader()->setSectionResizeMode(Recorder, QHeaderView::Stretch);
    Table->horizontalHeader()->setHighlightSections(false);
    Table->installEventFilter(this);
    Table->setColumnHidden(Host, true);
    Pages->addWidget(Table);
    Count = named(new QLabel(this), QStringLiteral("Count"));

    ButtonOpen =
        addButton(this, QStringLiteral("ButtonOpen"), QStringLiteral("Otwórz"), {}, false,
                  QStringLiteral("Wczytaj zaznaczone pobranie do okna historii; kilka pobrań "
                                 "jednego rejestratora jako jedna historia"));
    ButtonExportTxt =
        addButton(this, QStringLiteral("ButtonExportTxt"), QStringLiteral("Eksport TXT…"), {},
                  false, QStringLiteral("Zapisz zaznaczone pobranie jako plik historii"));
    ButtonExportCsv =
        addButton(this, QStringLiteral("ButtonExportCsv"), QStringLiteral("Eksport CSV…"), {},
                  false, QStringLiteral("Zapisz odczyty zaznaczonego pobrania jako arkusz CSV"));
    ButtonReportPdf =
        addButton(this, QStringLiteral("ButtonReportPdf"), QStringLiteral("Raport PDF…"), {}, false,
                  QStringLiteral("Zapisz raport temperatur zaznaczonego pobrania jako PDF"));
    ButtonPrintReport =
        addButton(this, QStringLiteral("ButtonPrintReport"), QStringLiteral("Drukuj raport…"), {},
                  false, QStringLiteral("Wydrukuj raport temperatur zaznaczonego pobrania"));
    ReportReadings = named(new QCheckBox(QStringLiteral("z tabelą odczytów"), this),
                           QStringLiteral("ReportReadings"));
    ReportReadings->setToolTip(QStringLiteral("Dołącz do raportu tabelę wszystkich odczytów"));
    ButtonDelete = addButton(this, QStringLiteral("ButtonDelete"), QStringLiteral("Usuń"), {},
                             false, QStringLiteral("Usuń zaznaczone pobrania z archiwum"));
    ButtonRefresh = addButton(this, QStringLiteral("ButtonRefresh"), QStringLiteral("Odśwież"), {},
                              true, QStringLiteral("Wczytaj listę pobrań z archiwum od nowa"));
    ButtonSend = addButton(this, QStringLiteral("ButtonSend"),
                           QStringLiteral("Wyślij do archiwum firmy"), {}, true,
                           QStringLiteral("Wyślij do archiwum firmy każde pobranie z tego "
                                          "komputera, którego tam jeszcze nie ma"));
    SendState = named(new QLabel(this), QStringLiteral("SendState"));
    companyControls_ = {sourceBox, ButtonSend, SendState};
    for (QWidget* company : companyControls_)
        company->setVisible(false);

    auto* filterRow = new QHBoxLayout;
    auto* sourceRow = new QHBoxLayout(sourceBox);
    sourceRow->setContentsMargins(0, 0, 16, 0);
    sourceRow->addWidget(sourceLabel);
    sourceRow->addWidget(SourceChoice);
    filterRow->addWidget(sourceBox);
    filterRow->addWidget(recorderLabel);
    filterRow->addWidget(RecorderFilter);
    filterRow->addSpacing(16);
    filterRow->addWidget(PeriodFilter);
    filterRow->addWidget(fromLabel);
    filterRow->addWidget(FromDate);
    filterRow->addWidget(toLabel);
    filterRow->addWidget(ToDate);
    filterRow->addStretch(1);
    // Captions with room around them, and the row's buttons alike.
    int buttonWidth = 0;
    const QList<QPushButton*> selectionButtons{ButtonOpen,      ButtonExportTxt,   ButtonExportCsv,
                                               ButtonReportPdf, ButtonPrintReport, ButtonDelete};
    for (QPushButton* button : selectionButtons + QList<QPushButton*>{ButtonRefresh})
        buttonWidth =
            std::max(buttonWidth, button->fontMetrics().horizontalAdvance(button->text()) + 28);
    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* button : selectionButtons) {
        button->setMinimumWidth(buttonWidth);
        buttonRow->addWidget(button);
    }
    ButtonRefresh->setMinimumWidth(buttonWidth);
    buttonRow->addStretch(1);
    buttonRow->addWidget(ButtonRefresh);
    auto* window = new QVBoxLayout(this);
    window->addLayout(filterRow);
    window->addWidget(Pages, 1);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(Count, 1);
    countRow->addWidget(ReportReadings);
    window->addLayout(countRow);
    window->addLayout(buttonRow);
    auto* sendRow = new QHBoxLayout;
    sendRow->addWidget(SendState, 1);
    sendRow->addWidget(ButtonSend);
    window->addLayout(sendRow);
    QList<QWidget*> tabOrder{SourceChoice, RecorderFilter, PeriodFilter, FromDate, ToDate, Table};
    tabOrder << QList<QWidget*>(selectionButtons.begin(), selectionButtons.end()) << ButtonRefresh
             << ReportReadings << ButtonSend;
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    TxtDialog.Filter = QStringLiteral("Historia TC-8|*.txt");
    TxtDialog.DefaultExt = QStringLiteral("txt");
    TxtDialog.InitialDir = QDir::homePath();
    CsvDialog.Filter = QStringLiteral("Arkusz CSV|*.csv");
    CsvDialog.DefaultExt = QStringLiteral("csv");
    CsvDialog.InitialDir = QDir::homePath();
    PrepareReportDialog(ReportDialog);

    const auto reload = Guarded(this, &TArchiveWindow::Reload);
    // The numbers of one archive's downloads mean nothing in the other's list.
    connect(SourceChoice, &QComboBox::currentIndexChanged, this, [this, reload] {
        Table->clearSelection();
        reload();
    });
    connect(ButtonSend, &QPushButton::clicked, this, Guarded(this, &TArchiveWindow::SendToCompany));
    connect(RecorderFilter, &QComboBox::currentIndexChanged, this, reload);
    connect(PeriodFilter, &QCheckBox::toggled, this, [this, reload](bool on) {
        FromDate->setEnabled(on);
        ToDate->setEnabled(on);
        reload();
    });
    connect(FromDate, &QDateEdit::dateChanged, this, reload);
    connect(ToDate, &QDateEdit::dateChanged, this, reload);
    connect(Table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TArchiveWindow::SelectionChanged);
    connect(Table, &QTableView::doubleClicked, this, Guarded(this, &TArchiveWindow::OpenSelected));
    connect(ButtonOpen, &QPushButton::clicked, this, Guarded(this, &TArchiveWindow::OpenSelected));
    connect(ButtonExportTxt, &QPushButton::clicked, this,
            Guarded(this, &TArchiveWindow::ExportTxt));
    connect(ButtonExportCsv, &QPushButton::clicked, this,
            Guarded(this, &TArchiveWindow::ExportCsv));
    connect(ButtonReportPdf, &QPushButton::clicked, this,
            Guarded(this, &TArchiveWindow::ReportPdf));
    connect(ButtonPrintReport, &QPushButton::clicked, this,
            Guarded(this, &TArchiveWindow::PrintReport));
    connect(ButtonDelete, &QPushButton::clicked, this,
            Guarded(this, &TArchiveWindow::DeleteSelected));
    connect(ButtonRefresh, &QPushButton::clicked, this, reload);
}

TArchiveWindow::~TArchiveWindow() {
    // The table's selection goes after this object's own members; nothing it signals on the
    // way may reach them.
    disconnect(Table->selectionModel(), nullptr, this, nullptr);
}

bool TArchiveWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            RunGuarded([this] { OpenSelected(); });
            return true;
        }
        if (key == Qt::Key_Delete) {
            RunGuarded([this] { DeleteSelected(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

TArchiveFilter TArchiveWindow::Filter() const {
    TArchiveFilter filter;
    if (RecorderFilter->currentIndex() > 0)
        filter.Recorder = RecorderFilter->currentText();
    if (PeriodFilter->isChecked()) {
        filter.From = QDateTime(FromDate->date(), QTime(0, 0));
        filter.To = QDateTime(ToDate->date(), QTime(23, 59, 59));
    }
    return filter;
}

void TArchiveWindow::Reload() {
    if (CompanyShown()) {
        ReloadCompany();
        return;
    }
    Table->setColumnHidden(Host, true);
    // Opened afresh each time: what the last attempt found wrong may have been put right, and
    // Problem() then tells only of this one.
    archive_ = std::make_unique<THistoryArchive>(path_);
    const auto unavailable = [this] {
        ShowProblem(QStringLiteral("Archiwum pobrań nie jest dostępne: %1.\n\n%2")
                        .arg(archive_->Problem(), QDir::toNativeSeparators(path_)));
    };
    if (!archive_->Open()) {
        unavailable();
        return;
    }
    const QString aside = archive_->TakeSetAside();
    if (!aside.isEmpty())
        desktop_.ShowMessage(MessageKind::Warning,
                             QStringLiteral("Archiwum pobrań było uszkodzone: odłożono je jako "
                                            "%1 i zaczęto nowe.")
                                 .arg(aside));
    const QList<TDownloadSummary> all = archive_->Downloads();
    if (!archive_->Problem().isEmpty()) {
        unavailable();
        return;
    }
    const TArchiveFilter filter = Filter();
    const bool filtered = !filter.Recorder.isEmpty() || filter.From.isValid();
    QList<TDownloadSummary> shown = filtered ? archive_->Downloads(filter) : all;
    if (!archive_->Problem().isEmpty()) {
        unavailable();
        return;
    }
    ShowList(all, std::move(shown));
}

void TArchiveWindow::ShowList(const QList<TDownloadSummary>& all, QList<TDownloadSummary> shown) {
    QSet<qint64> keep;
    for (const TDownloadSummary& download : Selected())
        keep.insert(download.Id);
    const bool filtered = RecorderFilter->currentIndex() > 0 || PeriodFilter->isChecked();
    FillRecorders(all);
    shown_ = std::move(shown);
    FillTable();
    for (int row = 0; row < shown_.size(); ++row)
        if (keep.contains(shown_[row].Id))
            Table->selectionModel()->select(Model->index(row, 0), QItemSelectionModel::Select |
                                                                      QItemSelectionModel::Rows);
    QString count = QStringLiteral("%1: %2").arg(CompanyShown() ? QStringLiteral("W archiwum firmy")
                                                                : QStringLiteral("W archiwum"),
                                                 DownloadsText(all.size()));
    if (filtered)
        count += QStringLiteral(", pokazano %1").arg(shown_.size());
    Count->setText(count);
    Pages->setCurrentWidget(Table);
    RecorderFilter->setEnabled(true);
    PeriodFilter->setEnabled(true);
    SelectionChanged();
}

void TArchiveWindow::ShowProblem(const QString& text) {
    Message->setText(text);
    Pages->setCurrentWidget(Message);
    shown_.clear();
    Model->removeRows(0, Model->rowCount());
    Count->clear();
    RecorderFilter->setEnabled(false);
    PeriodFilter->setEnabled(false);
    SelectionChanged();
}

bool TArchiveWindow::CompanyShown() const {
    return sender_ != nullptr && SourceChoice->currentIndex() == 1;
}

void TArchiveWindow::SetCompanyLink(TCompanyLink* sender) {
    const bool companyWasShown = CompanyShown();
    sender_ = sender;
    reader_.reset();
    pendingUse_ = nullptr;
    for (QWidget* company : companyControls_)
        company->setVisible(sender != nullptr);
    if (sender == nullptr) {
        const QSignalBlocker quiet(SourceChoice);
        SourceChoice->setCurrentIndex(0);
        if (companyWasShown)
            Reload();
        return;
    }
    reader_ = std::make_unique<TCompanyLink>(sender->Target(), path_);
    connect(reader_.get(), &TCompanyLink::Browsed, this,
            Guarded(this, &TArchiveWindow::CompanyBrowsed));
    connect(reader_.get(), &TCompanyLink::LinesRead, this,
            Guarded(this, &TArchiveWindow::LinesCame));
    connect(sender, &TCompanyLink::PushProgress, this, [this](int done, int total) {
        SendState->setText(
            QStringLiteral("Wysyłanie do archiwum firmy: %1 z %2").arg(done).arg(total));
    });
    connect(sender, &TCompanyLink::PushFinished, this, Guarded([this] {
                ShowSendState();
                if (CompanyShown() && sender_->LastPush()->Problem.isEmpty())
                    Reload();
            }));
    ShowSendState();
}

void TArchiveWindow::ReloadCompany() {
    Table->setColumnHidden(Host, false);
    ShowProblem(QStringLiteral("Wczytywanie z archiwum firmy…"));
    reader_->Browse(Filter());
}

void TArchiveWindow::CompanyBrowsed(const QList<TDownloadSummary>& all,
                                    const QList<TDownloadSummary>& shown, const QString& problem) {
    // A list asked for before the window turned back to this PC's archive.
    if (!CompanyShown())
        return;
    if (!problem.isEmpty())
        ShowProblem(QStringLiteral("Archiwum firmy nie jest dostępne: %1.\n\n%2")
                        .arg(problem, sender_->Target()));
    else
        ShowList(all, shown);
}

void TArchiveWindow::SendToCompany() {
    sender_->Push();
    ShowSendState();
}

void TArchiveWindow::ShowSendState() {
    ButtonSend->setEnabled(!sender_->Pushing());
    const std::optional<TCompanyLink::PushOutcome>& last = sender_->LastPush();
    if (sender_->Pushing())
        SendState->setText(QStringLiteral("Wysyłanie do archiwum firmy…"));
    else if (!last)
        SendState->clear();
    else if (!last->Problem.isEmpty())
        SendState->setText(
            QStringLiteral("Nie wysłano do archiwum firmy (%1): %2. Pobrania czekają na "
                           "następne wysłanie.")
                .arg(last->At.toString(QStringLiteral("HH:mm")), last->Problem));
    else
        SendState->setText(
            QStringLiteral("Wysłano do archiwum firmy: %1 (%2)")
                .arg(DownloadsText(last->Stored), last->At.toString(QStringLiteral("HH:mm"))));
}

void TArchiveWindow::FillRecorders(const QList<TDownloadSummary>& all) {
    QStringList labels;
    for (const TDownloadSummary& download : all)
        labels << LabelOf(download);
    labels.removeDuplicates();
    std::sort(labels.begin(), labels.end(), [](const QString& a, const QString& b) {
        return QString::localeAwareCompare(a, b) < 0;
    });
    labels.prepend(AllRecorders);
    // A recorder chosen before stays chosen while the archive still has its downloads.
    const QString chosen = RecorderFilter->currentText();
    const QSignalBlocker quiet(RecorderFilter);
    RecorderFilter->clear();
    RecorderFilter->addItems(labels);
    RecorderFilter->setCurrentIndex(std::max(0, static_cast<int>(labels.indexOf(chosen))));
}

void TArchiveWindow::FillTable() {
    Model->removeRows(0, Model->rowCount());
    for (const TDownloadSummary& download : shown_) {
        QList<QStandardItem*> row(ColumnCount);
        row[Started] = Cell(download.Start.Started.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
        row[Recorder] = Cell(LabelOf(download), download.Start.FirmwareVersion);
        row[FirstReading] = Cell(ReadingTimeShown(download.FirstReading));
        row[LastReading] = Cell(ReadingTimeShown(download.LastReading));
        row[Records] = Cell(QString::number(download.Records));
        row[Records]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // A download still being written has no end yet; the archive alone cannot tell it
        // from one the program never finished.
        row[End] =
            Cell(IsRunning(download) ? QStringLiteral("trwa") : DownloadEndText(download.End));
        row[Port] = Cell(download.Start.Port, download.Start.Device);
        row[Host] = Cell(download.Host, download.Installation.toString(QUuid::WithoutBraces));
        Model->appendRow(row);
    }
    Table->resizeColumnsToContents();
    for (int column = 0; column < ColumnCount; ++column)
        if (column != Recorder)
            Table->setColumnWidth(column, Table->columnWidth(column) + ColumnPadding);
}

QList<TDownloadSummary> TArchiveWindow::Selected() const {
    // Newest first, as listed, whatever order they were picked in.
    QList<int> rows;
    for (const QModelIndex& index : Table->selectionModel()->selectedRows())
        if (index.row() < shown_.size())
            rows << index.row();
    std::sort(rows.begin(), rows.end());
    QList<TDownloadSummary> chosen;
    for (const int row : rows)
        chosen << shown_[row];
    return chosen;
}

void TArchiveWindow::SelectionChanged() {
    // Nothing else is asked while lines are on their way from the company archive.
    const bool any = Table->selectionModel()->hasSelection() && !shown_.isEmpty() && !pendingUse_;
    for (QPushButton* button :
         {ButtonOpen, ButtonExportTxt, ButtonExportCsv, ButtonReportPdf, ButtonPrintReport})
        button->setEnabled(any);
    // The company archive keeps every PC's downloads for audits: no one PC deletes there.
    ButtonDelete->setEnabled(any && !CompanyShown());
}

void TArchiveWindow::WithSelectedLines(LinesUse use) {
    const QList<TDownloadSummary> chosen = Selected();
    if (chosen.isEmpty() || pendingUse_)
        return;
    if (chosen.size() > 1) {
        const QString label = LabelOf(chosen.front());
        for (const TDownloadSummary& download : chosen) {
            if (LabelOf(download) == UnknownRecorder) {
                desktop_.ShowMessage(
                    MessageKind::Error,
                    QStringLiteral("Pobrania z nieznanego rejestratora nie można łączyć z "
                                   "innymi: nie wiadomo, skąd pochodzą jego odczyty."),
                    QStringLiteral("Zaznacz je samo."));
                return;
            }
            if (LabelOf(download) != label) {
                desktop_.ShowMessage(
                    MessageKind::Error,
                    QStringLiteral("Nie można połączyć pobrań z różnych rejestratorów."),
                    QStringLiteral("Zaznacz pobrania jednego rejestratora."));
                return;
            }
        }
    }
    if (CompanyShown()) {
        pendingUse_ = std::move(use);
        SelectionChanged();
        reader_->ReadLines(chosen);
        return;
    }
    pendingUse_ = std::move(use);
    LinesCame(chosen, ArchivedLines(*archive_, chosen), archive_->Problem());
}

void TArchiveWindow::LinesCame(const QList<TDownloadSummary>& chosen,
                               const std::optional<QStringList>& lines, const QString& problem) {
    const LinesUse use = std::exchange(pendingUse_, nullptr);
    SelectionChanged();
    if (!use)
        return;
    if (!lines) {
        desktop_.ShowMessage(MessageKind::Error,
                             QStringLiteral("Nie można odczytać pobrania z archiwum"), problem);
        return;
    }
    if (ParseHistory(lines->join(u'\n')).Readings.empty()) {
        desktop_.ShowMessage(MessageKind::Error,
                             QStringLiteral("W zaznaczonym pobraniu nie ma odczytów temperatury"));
        return;
    }
    use(chosen, *lines);
}

void TArchiveWindow::OpenSelected() {
    WithSelectedLines([this](const QList<TDownloadSummary>& chosen, const QStringList& lines) {
        emit HistoryChosen(lines, NewestOf(chosen).Start);
    });
}

bool TArchiveWindow::ChooseFile(const QList<TDownloadSummary>& chosen, FileDialog& dialog,
                                const QString& prefix, const QString& extension) {
    QString last;
    for (const TDownloadSummary& download : chosen)
        last = std::max(last, download.LastReading);
    const QString name = last.isEmpty() ? prefix : prefix + u'-' + last.left(10);
    dialog.FileName = QDir(dialog.InitialDir).filePath(name + u'.' + extension);
    return desktop_.ExecuteSaveDialog(dialog);
}

void TArchiveWindow::ExportTxt() {
    WithSelectedLines([this](const QList<TDownloadSummary>& chosen, const QStringList& lines) {
        if (!ChooseFile(chosen, TxtDialog, QStringLiteral("historia"), QStringLiteral("txt")))
            return;
        // The bytes "Zapisz do pliku" writes after the same download.
        if (WriteWholeFile(TxtDialog.FileName,
                           HistoryFileBytes(lines.join(u'\n'), HistoryTextEnd::LineOfDownload)))
            desktop_.ShowMessage(MessageKind::Information,
                                 QStringLiteral("Zapisano plik historii"));
        else
            desktop_.ShowMessage(MessageKind::Error, QStringLiteral("Błąd zapisu"));
    });
}

void TArchiveWindow::ExportCsv() {
    WithSelectedLines([this](const QList<TDownloadSummary>& chosen, const QStringList& lines) {
        if (!ChooseFile(chosen, CsvDialog, QStringLiteral("historia"), QStringLiteral("csv")))
            return;
        if (WriteWholeFile(CsvDialog.FileName,
                           HistoryCsvBytes(ParseHistory(lines.join(u'\n')).Readings)))
            desktop_.ShowMessage(MessageKind::Information, QStringLiteral("Zapisano plik CSV"));
        else
            desktop_.ShowMessage(MessageKind::Error, QStringLiteral("Błąd zapisu"));
    });
}

THistoryReportInput TArchiveWindow::ReportOf(const QList<TDownloadSummary>& chosen,
                                             const QStringList& lines) {
    THistoryReportInput input = DownloadReportInput(NewestOf(chosen).Start, lines);
    input.Incomplete = IncompleteEndText(chosen);
    input.IncludeReadings = ReportReadings->isChecked();
    input.ReportDate = desktop_.Now();
    return input;
}

void TArchiveWindow::ReportPdf() {
    WithSelectedLines([this](const QList<TDownloadSummary>& chosen, const QStringList& lines) {
        const THistoryReportInput input = ReportOf(chosen, lines);
        if (ChooseFile(chosen, ReportDialog, QStringLiteral("raport"), QStringLiteral("pdf")))
            SaveHistoryReportPdf(desktop_, ReportDialog.FileName, input);
    });
}

void TArchiveWindow::PrintReport() {
    WithSelectedLines([this](const QList<TDownloadSummary>& chosen, const QStringList& lines) {
        PrintHistoryReport(desktop_, ReportOf(chosen, lines));
    });
}

void TArchiveWindow::DeleteSelected() {
    const QList<TDownloadSummary> chosen = Selected();
    if (chosen.isEmpty() || CompanyShown())
        return;
    for (const TDownloadSummary& download : chosen)
        if (IsRunning(download)) {
            desktop_.ShowMessage(
                MessageKind::Error, QStringLiteral("Trwającego pobrania nie można usunąć"),
                QStringLiteral("Poczekaj na „Koniec historii” albo naciśnij STOP."));
            return;
        }
    if (!desktop_.AskQuestion(QStringLiteral("Usunąć z archiwum %1? Tego nie da się cofnąć.")
                                  .arg(DownloadsText(chosen.size()))))
        return;
    for (const TDownloadSummary& download : chosen)
        if (!archive_->Delete(download.Id)) {
            desktop_.ShowMessage(MessageKind::Error, QStringLiteral("Nie usunięto z archiwum"),
                                 archive_->Problem());
            break;
        }
    Table->clearSelection();
    Reload();
}
