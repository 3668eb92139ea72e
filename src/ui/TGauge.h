#pragma once

#include <QProgressBar>

// A progress gauge with the semantics the program relies on: setting the position clamps
// it into [Min, Max]; lowering Max below the position lowers the position; the text shows
// Position * 100 / Max truncated, and 0 when Max is 0.
class TGauge : public QProgressBar {
    Q_OBJECT
public:
    explicit TGauge(QWidget* parent = nullptr);

    int Position() const { return position_; }
    void SetPosition(int position);
    int Max() const { return max_; }
    void SetMax(int max);
    int Percent() const;
    QString text() const override;

private:
    void refresh();
    int position_ = 0;
    int max_ = 100;
    int shownPercent_ = -1;
};
