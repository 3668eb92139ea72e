#pragma once

#include "monitor/LineTrace.h"
#include "ui/Desktop.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <deque>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class QTimer;

// The entries the monitor keeps (the newest `capacity`) and the rows it shows of them: all,
// or all but the status poll. Rows are added in batches, at the end; the oldest go first.
class TLineTraceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Direction, What, Hex, Text, Meaning, ColumnCount };

    explicit TLineTraceModel(std::size_t capacity, QObject* parent = nullptr);

    void Append(std::vector<TTraceEntry> batch);
    void SetHideStatusPoll(bool hide);
    void Clear();
    const TTraceEntry& EntryAt(int row) const { return *shown_[static_cast<std::size_t>(row)]; }
    std::size_t Kept() const { return kept_.size(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool Shows(const TTraceEntry& entry) const { return !hidePoll_ || !IsStatusPoll(entry); }

    const std::size_t capacity_;
    bool hidePoll_ = false;
    // A deque keeps its elements in place as it grows and shrinks at its ends, so the shown
    // rows may point at them.
    std::deque<TTraceEntry> kept_;
    std::deque<const TTraceEntry*> shown_;
};

// "Narzędzia" → "Monitor łącza…": every frame on the line with its time, direction, bytes
// and meaning, as the session traces it while the window is open. Not modal. It keeps up with
// the fastest download by taking entries into a list and showing them in batches.
class TLineMonitor : public QDialog, public TLineTraceSink {
    Q_OBJECT
public:
    static constexpr std::size_t Capacity = 200000;

    TLineMonitor(Desktop& desktop, QWidget* owner);

    void Traced(TTraceEntry entry) override;
    // Shows what has been traced so far at once (the window does so every 100 ms).
    void ShowTraced();

    QTableView* Table = nullptr;
    TLineTraceModel* Model = nullptr;
    QCheckBox* HideStatusPoll = nullptr;
    QPushButton* ButtonPause = nullptr; // checkable: while down, nothing new is shown
    QPushButton* ButtonClear = nullptr;
    QPushButton* ButtonCopy = nullptr;
    QPushButton* ButtonSave = nullptr;
    QLabel* Count = nullptr;
    FileDialog SaveDialog;

signals:
    // The window was closed: the owner stops the trace.
    void Closed();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void CopySelected();
    void Save();
    void ShowCount();

    Desktop& desktop_;
    std::vector<TTraceEntry> pending_; // traced, not yet shown
    QTimer* batch_ = nullptr;
};
