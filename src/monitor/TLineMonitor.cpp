#include "monitor/TLineMonitor.h"

#include "config/WholeFile.h"
#include "core/Guarded.h"
#include "ui/ControlBuilders.h"
#include "ui/WindowFont.h"

#include <QCheckBox>
#include <QColor>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int BatchMs = 100;

QColor ColourOf(const TTraceEntry& entry) {
    if (entry.Event == TraceEvent::Discarded)
        return QColor(170, 0, 0);
    return IsSent(entry) ? QColor(0, 60, 170) : QColor(0, 110, 40);
}

} // namespace

TLineTraceModel::TLineTraceModel(std::size_t capacity, QObject* parent)
    : QAbstractTableModel(parent), capacity_(capacity) {
}

void TLineTraceModel::Append(std::vector<TTraceEntry> batch) {
    if (batch.empty())
        return;
    // Only the newest entries of a batch larger than the whole list are kept.
    const std::size_t skipped = batch.size() > capacity_ ? batch.size() - capacity_ : 0;
    const std::size_t total = kept_.size() + batch.size() - skipped;
    const std::size_t overflow = total > capacity_ ? total - capacity_ : 0;
    if (overflow > 0) {
        // The rows of the entries that go; they lead the shown rows, in order.
        std::size_t rows = 0;
        for (std::size_t i = 0; i < overflow && rows < shown_.size(); ++i)
            if (shown_[rows] == &kept_[i])
                ++rows;
        if (rows > 0) {
            beginRemoveRows({}, 0, static_cast<int>(rows) - 1);
            shown_.erase(shown_.begin(), shown_.begin() + static_cast<std::ptrdiff_t>(rows));
            endRemoveRows();
        }
        kept_.erase(kept_.begin(), kept_.begin() + static_cast<std::ptrdiff_t>(overflow));
    }
    const std::size_t firstNew = kept_.size();
    std::move(batch.begin() + static_cast<std::ptrdiff_t>(skipped), batch.end(),
              std::back_inserter(kept_));
    std::vector<const TTraceEntry*> added;
    for (std::size_t i = firstNew; i < kept_.size(); ++i)
        if (Shows(kept_[i]))
            added.push_back(&kept_[i]);
    if (added.empty())
        return;
    const int first = static_cast<int>(shown_.size());
    beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
    shown_.insert(shown_.end(), added.begin(), added.end());
    endInsertRows();
}

void TLineTraceModel::SetHideStatusPoll(bool hide) {
    beginResetModel();
    hidePoll_ = hide;
    shown_.clear();
    for (const TTraceEntry& entry : kept_)
        if (Shows(entry))
            shown_.push_back(&entry);
    endResetModel();
}

void TLineTraceModel::Clear() {
    beginResetModel();
    shown_.clear();
    kept_.clear();
    endResetModel();
}

int TLineTraceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int TLineTraceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TLineTraceModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const TTraceEntry& entry = EntryAt(index.row());
    const bool sent = IsSent(entry);
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Time:
            return TraceTime(entry);
        case Direction:
            return TraceArrow(entry);
        case What:
            return TraceWhat(entry);
        case Hex:
            return TraceHex(entry);
        case Text:
            return TraceText(entry);
        case Meaning:
            return TraceMeaning(entry);
        default:
            return {};
        }
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        // The arrow alone says nothing to a screen reader.
        if (index.column() == Direction)
            return sent ? QStringLiteral("wysłane") : QStringLiteral("odebrane");
        return {};
    case Qt::ForegroundRole:
        return ColourOf(entry);
    case Qt::FontRole:
        if (index.column() == Hex || index.column() == Text || index.column() == Time)
            return QFontDatabase::systemFont(QFontDatabase::FixedFont);
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == Time)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant TLineTraceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Time:
        return QStringLiteral("Czas [ms]");
    case Direction:
        return QStringLiteral("Kierunek");
    case What:
        return QStringLiteral("Ramka");
    case Hex:
        return QStringLiteral("Bajty (hex)");
    case Text:
        return QStringLiteral("Tekst");
    case Meaning:
        return QStringLiteral("Znaczenie");
    default:
        return {};
    }
}

TLineMonitor::TLineMonitor(Desktop& desktop, QWidget* owner)
    : QDialog(owner, Qt::Window), desktop_(desktop) {
    setObjectName(QStringLiteral("LineMonitor"));
    setWindowTitle(QStringLiteral("Monitor łącza"));
    setFont(WindowFont());
    resize(980, 520);

    Model = new TLineTraceModel(Capacity, this);
    Table = named(new QTableView(this), QStringLiteral("Table"));
    Table->setAccessibleName(QStringLiteral("Ramki na łączu"));
    Table->setModel(Model);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setWordWrap(false);
    Table->verticalHeader()->hide();
    // Rows of one height, which a table of 200,000 rows needs to scroll and grow quickly.
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 4);
    Table->horizontalHeader()->setStretchLastSection(true);
    const QFontMetrics fixed(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Table->setColumnWidth(TLineTraceModel::Time,
                          fixed.horizontalAdvance(QStringLiteral("00000000.000")) + 12);
    Table->setColumnWidth(TLineTraceModel::Direction, 70);
    Table->setColumnWidth(TLineTraceModel::What, 230);
    Table->setColumnWidth(TLineTraceModel::Hex, fixed.horizontalAdvance(QString(30, u'0')));
    Table->setColumnWidth(TLineTraceModel::Text, fixed.horizontalAdvance(QString(12, u'0')));

    HideStatusPoll = named(new QCheckBox(QStringLiteral("Ukryj odpytywanie stanu"), this),
                           QStringLiteral("HideStatusPoll"));
    HideStatusPoll->setAccessibleName(HideStatusPoll->text());
    HideStatusPoll->setToolTip(QStringLiteral("Nie pokazuj ramek „50 Stan”, którymi program "
                                              "co chwilę odświeża bieżące odczyty"));
    ButtonPause = addButton(this, QStringLiteral("ButtonPause"), QStringLiteral("Wstrzymaj"), {},
                            true, QStringLiteral("Zatrzymaj przewijanie; ramki są zbierane dalej"));
    ButtonPause->setCheckable(true);
    ButtonClear = addButton(this, QStringLiteral("ButtonClear"), QStringLiteral("Wyczyść"), {},
                            true, QStringLiteral("Usuń wszystkie ramki z monitora"));
    ButtonCopy = addButton(this, QStringLiteral("ButtonCopy"), QStringLiteral("Kopiuj"), {}, true,
                           QStringLiteral("Skopiuj zaznaczone wiersze do schowka"));
    ButtonSave = addButton(this, QStringLiteral("ButtonSave"), QStringLiteral("Zapisz…"), {}, true,
                           QStringLiteral("Zapisz pokazane ramki do pliku tekstowego"));
    Count = named(new QLabel(this), QStringLiteral("Count"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(HideStatusPoll);
    buttons->addSpacing(16);
    buttons->addWidget(Count, 1);
    for (QPushButton* button : {ButtonPause, ButtonClear, ButtonCopy, ButtonSave})
        buttons->addWidget(button);
    auto* window = new QVBoxLayout(this);
    window->addWidget(Table, 1);
    window->addLayout(buttons);

    SaveDialog.Filter = QStringLiteral("Plik tekstowy|*.txt");
    SaveDialog.DefaultExt = QStringLiteral("txt");
    SaveDialog.InitialDir = QDir::homePath();
    SaveDialog.FileName = QDir(SaveDialog.InitialDir).filePath(QStringLiteral("monitor-lacza.txt"));

    batch_ = new QTimer(this);
    batch_->setInterval(BatchMs);
    connect(batch_, &QTimer::timeout, this, Guarded(this, &TLineMonitor::ShowTraced));
    batch_->start();
    connect(HideStatusPoll, &QCheckBox::toggled, this, [this](bool hide) {
        Model->SetHideStatusPoll(hide);
        Table->scrollToBottom();
        ShowCount();
    });
    connect(ButtonPause, &QPushButton::toggled, this, [this](bool paused) {
        ButtonPause->setText(paused ? QStringLiteral("Wznów") : QStringLiteral("Wstrzymaj"));
        if (!paused)
            ShowTraced();
    });
    connect(ButtonClear, &QPushButton::clicked, this, [this] {
        pending_.clear();
        Model->Clear();
        ShowCount();
    });
    connect(ButtonCopy, &QPushButton::clicked, this, Guarded(this, &TLineMonitor::CopySelected));
    connect(ButtonSave, &QPushButton::clicked, this, Guarded(this, &TLineMonitor::Save));
    ShowCount();
}

void TLineMonitor::Traced(TTraceEntry entry) {
    pending_.push_back(std::move(entry));
    // Paused for long, only what the list can keep is kept.
    if (pending_.size() >= 2 * Capacity)
        pending_.erase(pending_.begin(),
                       pending_.begin() + static_cast<std::ptrdiff_t>(pending_.size() - Capacity));
}

void TLineMonitor::ShowTraced() {
    if (ButtonPause->isChecked() || pending_.empty())
        return;
    const QScrollBar* bar = Table->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    Model->Append(std::exchange(pending_, {}));
    if (following)
        Table->scrollToBottom();
    ShowCount();
}

void TLineMonitor::ShowCount() {
    Count->setText(
        QStringLiteral("Ramek: %1, pokazano %2").arg(Model->Kept()).arg(Model->rowCount()));
}

void TLineMonitor::CopySelected() {
    QList<int> rows;
    for (const QModelIndex& index : Table->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QStringList lines;
    for (const int row : rows)
        lines << TraceLine(Model->EntryAt(row));
    if (!lines.isEmpty())
        desktop_.CopyToClipboard(lines.join(u'\n') + u'\n');
}

void TLineMonitor::Save() {
    ShowTraced();
    if (!desktop_.ExecuteSaveDialog(SaveDialog))
        return;
    QString text;
    for (int row = 0; row < Model->rowCount(); ++row)
        text += TraceLine(Model->EntryAt(row)) + u'\n';
    if (WriteWholeFile(SaveDialog.FileName, text.toUtf8()))
        desktop_.ShowMessage(MessageKind::Information, QStringLiteral("Zapisano plik monitora"));
    else
        desktop_.ShowMessage(MessageKind::Error, QStringLiteral("Błąd zapisu"));
}

void TLineMonitor::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    emit Closed();
}
