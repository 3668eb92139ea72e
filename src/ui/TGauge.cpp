#include "ui/TGauge.h"

#include <algorithm>

TGauge::TGauge(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
    refresh();
}

void TGauge::SetPosition(int position) {
    position_ = std::clamp(position, 0, max_);
    refresh();
}

void TGauge::SetMax(int max) {
    max_ = std::max(max, 0);
    position_ = std::min(position_, max_);
    refresh();
}

int TGauge::Percent() const {
    if (max_ == 0)
        return 0;
    return static_cast<int>(static_cast<long long>(position_) * 100 / max_);
}

QString TGauge::text() const {
    return QStringLiteral("%1%").arg(Percent());
}

void TGauge::refresh() {
    // An empty range would put QProgressBar into its busy animation; show an empty bar.
    if (max_ == 0) {
        setRange(0, 1);
        setValue(0);
    } else {
        setRange(0, max_);
        setValue(position_);
    }
    // QProgressBar repaints itself when its range changes or the bar moves by a pixel; the
    // percentage text is ours, so only a change of it needs a repaint of its own. (A repaint
    // on every step would redraw the gauge and what lies behind it for each history record.)
    if (Percent() != shownPercent_) {
        shownPercent_ = Percent();
        update();
    }
}
