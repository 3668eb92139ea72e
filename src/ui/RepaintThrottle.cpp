#include "ui/RepaintThrottle.h"

#include <QTimer>
#include <QWidget>

RepaintThrottle::RepaintThrottle(QWidget* widget, std::chrono::milliseconds interval)
    : QObject(widget), widget_(widget), interval_(interval), release_(new QTimer(this)) {
    release_->setSingleShot(true);
    connect(release_, &QTimer::timeout, this, &RepaintThrottle::Release);
}

void RepaintThrottle::BeforeChange() {
    if (release_->isActive())
        return; // held: this change is painted with the others when the interval is over
    const std::chrono::milliseconds since(sinceShown_.isValid() ? sinceShown_.elapsed()
                                                                : interval_.count());
    if (since >= interval_) {
        sinceShown_.start();
        return;
    }
    // Updates asked for while disabled are dropped; enabling them again repaints the whole
    // widget and its children.
    widget_->setUpdatesEnabled(false);
    release_->start(interval_ - since);
}

void RepaintThrottle::Release() {
    widget_->setUpdatesEnabled(true);
    sinceShown_.start();
}
